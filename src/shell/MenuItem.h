#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/Control.h"

namespace tessaline::shell {

// A menu item of the window's menu editor: a top menu, a popup menu or a command. A caption of "-" makes
// a separator line.
class MenuItem : public Observable {
public:
    MenuItem(std::string name, std::string caption, bool visible = true);

    const std::string& Name() const { return name_; }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Checked() const { return checked_; }
    void SetChecked(bool checked);
    bool isSeparator() const { return caption_ == "-"; }
    // The key that runs the item from anywhere in the window, in the portable text form ("Ctrl+Z"); "" for
    // none.
    const std::string& Shortcut() const { return shortcut_; }
    MenuItem& SetShortcut(std::string shortcut);

    MenuItem& add(std::string name, std::string caption, bool visible = true);
    const std::vector<std::unique_ptr<MenuItem>>& children() const { return children_; }
    // This item or one below it by name; nullptr when there is none.
    MenuItem* find(const std::string& name);
    // The names of the visible children, in order (what a popup of this menu shows).
    std::vector<std::string> visibleItems() const;

    // Runs the registered Click handler; an item without one does nothing.
    void click();
    std::function<void()> onClick;

private:
    std::string name_;
    std::string caption_;
    bool visible_;
    bool enabled_ = true;
    bool checked_ = false;
    std::string shortcut_;
    std::vector<std::unique_ptr<MenuItem>> children_;
};

}  // namespace tessaline::shell
