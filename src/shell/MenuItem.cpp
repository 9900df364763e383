#include "shell/MenuItem.h"

#include <utility>

namespace tessaline::shell {

MenuItem::MenuItem(std::string name, std::string caption, bool visible)
    : name_(std::move(name)), caption_(std::move(caption)), visible_(visible) {}

void MenuItem::SetCaption(const std::string& caption) {
    caption_ = caption;
    changed();
}

void MenuItem::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

void MenuItem::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void MenuItem::SetChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    changed();
}

MenuItem& MenuItem::SetShortcut(std::string shortcut) {
    shortcut_ = std::move(shortcut);
    changed();
    return *this;
}

MenuItem& MenuItem::add(std::string name, std::string caption, bool visible) {
    children_.push_back(std::make_unique<MenuItem>(std::move(name), std::move(caption), visible));
    return *children_.back();
}

MenuItem* MenuItem::find(const std::string& name) {
    if (name_ == name) return this;
    for (const auto& child : children_) {
        if (MenuItem* found = child->find(name)) return found;
    }
    return nullptr;
}

std::vector<std::string> MenuItem::visibleItems() const {
    std::vector<std::string> names;
    for (const auto& child : children_) {
        if (child->Visible()) names.push_back(child->Name());
    }
    return names;
}

void MenuItem::click() {
    if (onClick) onClick();
}

}  // namespace tessaline::shell
