#include "shell/CheckBox.h"

#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::shell {

CheckBox::CheckBox(std::string name, std::string caption, int left, int top, int width, int height, int value)
    : Control(std::move(name), left, top, width, height), caption_(std::move(caption)), value_(value) {}

void CheckBox::SetValue(int value) {
    if (value < vbcheck::Unchecked || value > vbcheck::Grayed) {
        throw automation::AutomationError(380, "Invalid property value");
    }
    if (value == value_) return;
    value_ = value;
    changed();
    raiseClick();
}

void CheckBox::toggle() { SetValue(value_ == vbcheck::Checked ? vbcheck::Unchecked : vbcheck::Checked); }

}  // namespace tessaline::shell
