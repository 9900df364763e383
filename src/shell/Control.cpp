#include "shell/Control.h"

#include <utility>
#include <vector>

namespace tessaline::shell {

int Observable::subscribe(std::function<void()> listener) {
    const int cookie = nextCookie_++;
    listeners_.emplace(cookie, std::move(listener));
    return cookie;
}

void Observable::unsubscribe(int cookie) { listeners_.erase(cookie); }

void Observable::changed() {
    // A listener may subscribe or unsubscribe while being told; work on a copy.
    std::vector<std::function<void()>> listeners;
    listeners.reserve(listeners_.size());
    for (const auto& entry : listeners_) listeners.push_back(entry.second);
    for (const auto& listener : listeners) {
        if (listener) listener();
    }
}

Control::Control(std::string name, int left, int top, int width, int height)
    : name_(std::move(name)), left_(left), top_(top), width_(width), height_(height) {}

void Control::Move(int left, int top, int width, int height) {
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    changed();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    changed();
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    changed();
}

void Control::SetToolTipText(const std::string& text) {
    if (toolTipText_ == text) return;
    toolTipText_ = text;
    changed();
}

void Control::raiseClick() {
    if (onClick) onClick();
}

}  // namespace tessaline::shell
