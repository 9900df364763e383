#include "shell/OptionButton.h"

#include <algorithm>
#include <utility>

namespace tessaline::shell {

OptionButton::OptionButton(std::string name, std::string caption, int left, int top, int width, int height)
    : Control(std::move(name), left, top, width, height), caption_(std::move(caption)) {}

void OptionButton::addSibling(OptionButton& other) {
    if (&other == this) return;
    if (std::find(siblings_.begin(), siblings_.end(), &other) == siblings_.end()) siblings_.push_back(&other);
    if (std::find(other.siblings_.begin(), other.siblings_.end(), this) == other.siblings_.end()) {
        other.siblings_.push_back(this);
    }
}

void OptionButton::selectSilently() {
    for (OptionButton* sibling : siblings_) {
        if (sibling->value_ && sibling->Container() == Container()) {
            sibling->value_ = false;
            sibling->changed();
        }
    }
    if (!value_) {
        value_ = true;
        changed();
    }
}

void OptionButton::SetValue(bool value) {
    if (!value) {
        if (value_) {
            value_ = false;
            changed();
        }
        return;
    }
    const bool wasSelected = value_;
    selectSilently();
    if (!wasSelected) raiseClick();
}

void OptionButton::select() {
    selectSilently();
    raiseClick();
}

}  // namespace tessaline::shell
