#pragma once

#include <functional>
#include <map>
#include <string>

namespace tessaline::shell {

// The mouse arguments of a MouseDown event: VB's button (1 left, 2 right, 4 middle), shift state and the
// position in twips relative to the control.
struct MouseEvent {
    int button = 1;
    int shift = 0;
    float x = 0;
    float y = 0;
};

namespace vbbutton {
constexpr int Left = 1;
constexpr int Right = 2;
constexpr int Middle = 4;
}  // namespace vbbutton

// Something the view draws: it subscribes once and redraws whenever the model says it changed.
class Observable {
public:
    Observable() = default;
    Observable(const Observable&) = delete;
    Observable& operator=(const Observable&) = delete;
    virtual ~Observable() = default;

    // The listener runs after every change of the model; the returned cookie unsubscribes it.
    int subscribe(std::function<void()> listener);
    void unsubscribe(int cookie);

protected:
    void changed();

private:
    std::map<int, std::function<void()>> listeners_;
    int nextCookie_ = 1;
};

// What every window control has in VB: a name, a place in twips and a few flags. The event slots are
// filled by whoever handles the control's events; the form's dispatcher is the only caller.
class Control : public Observable {
public:
    explicit Control(std::string name, int left = 0, int top = 0, int width = 0, int height = 0);

    const std::string& Name() const { return name_; }
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    void Move(int left, int top, int width, int height);

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::string& ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const std::string& text);

    // The control that holds this one (a frame), or nullptr for the form itself.
    Control* Container() const { return container_; }
    void SetContainer(Control* container) { container_ = container; }

    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void(const MouseEvent&)> onMouseDown;
    std::function<void(int& keyCode, int shift)> onKeyDown;
    std::function<void(int& keyAscii)> onKeyPress;

protected:
    // Runs the Click handler, as VB does when code changes a check box's or option button's value.
    void raiseClick();

private:
    std::string name_;
    int left_;
    int top_;
    int width_;
    int height_;
    bool visible_ = true;
    bool enabled_ = true;
    std::string toolTipText_;
    Control* container_ = nullptr;
};

}  // namespace tessaline::shell
