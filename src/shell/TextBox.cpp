#include "shell/TextBox.h"

#include <utility>

namespace tessaline::shell {

TextBox::TextBox(std::string name, int left, int top, int width, int height, bool multiLine)
    : Control(std::move(name), left, top, width, height), multiLine_(multiLine) {}

void TextBox::SetText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    changed();
}

}  // namespace tessaline::shell
