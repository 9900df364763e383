#pragma once

#include <string>
#include <vector>

#include "shell/Control.h"

namespace tessaline::shell {

// An option button. Buttons that share a container are exclusive: selecting one clears the others.
class OptionButton : public Control {
public:
    OptionButton(std::string name, std::string caption, int left, int top, int width, int height);

    const std::string& Caption() const { return caption_; }
    bool Value() const { return value_; }
    // True clears the siblings in the same container and, when the button was not selected, runs its
    // Click handler, as VB does for a value set in code. False only clears this button.
    void SetValue(bool value);
    // The user's click: selects the button and always runs the Click handler, even when it was selected.
    void select();

    // Registers a button of the same container; the form wires every group once at start.
    void addSibling(OptionButton& other);

private:
    void selectSilently();

    std::string caption_;
    bool value_ = false;
    std::vector<OptionButton*> siblings_;
};

}  // namespace tessaline::shell
