#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::shell {

class TextBox : public Control {
public:
    TextBox(std::string name, int left, int top, int width, int height, bool multiLine = false);

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    bool MultiLine() const { return multiLine_; }

private:
    std::string text_;
    bool multiLine_;
};

}  // namespace tessaline::shell
