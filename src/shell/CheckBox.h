#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::shell {

namespace vbcheck {
constexpr int Unchecked = 0;
constexpr int Checked = 1;
constexpr int Grayed = 2;
}  // namespace vbcheck

// A check box. As in VB, changing Value (by code or by the user) runs the Click handler.
class CheckBox : public Control {
public:
    CheckBox(std::string name, std::string caption, int left, int top, int width, int height, int value = 0);

    const std::string& Caption() const { return caption_; }
    int Value() const { return value_; }
    // 0, 1 or 2; other values raise 380 "Invalid property value". Runs the Click handler when the value
    // changes.
    void SetValue(int value);
    // The user's click: toggles between checked and unchecked.
    void toggle();

private:
    std::string caption_;
    int value_;
};

}  // namespace tessaline::shell
