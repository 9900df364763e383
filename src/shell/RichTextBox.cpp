#include "shell/RichTextBox.h"

#include <algorithm>
#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::shell {

namespace {

// The byte offset of the code point at `chars` (or the end of the text).
std::size_t byteOffset(const std::string& text, int chars) {
    std::size_t i = 0;
    for (int n = 0; n < chars && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
}

automation::AutomationError invalidValue() { return {380, "Invalid property value"}; }

}  // namespace

RichTextBox::RichTextBox(std::string name, int left, int top, int width, int height)
    : Control(std::move(name), left, top, width, height) {}

int RichTextBox::length() const {
    return static_cast<int>(std::count_if(text_.begin(), text_.end(),
                                          [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

void RichTextBox::SetText(const std::string& text) {
    text_ = text;
    selStart_ = 0;
    selLength_ = 0;
    changed();
}

void RichTextBox::SetSelStart(int start) {
    if (start < 0) throw invalidValue();
    selStart_ = std::min(start, length());
    selLength_ = 0;
    changed();
}

void RichTextBox::SetSelLength(int length) {
    if (length < 0) throw invalidValue();
    selLength_ = std::min(length, this->length() - selStart_);
    changed();
}

std::string RichTextBox::SelText() const {
    const std::size_t from = byteOffset(text_, selStart_);
    const std::size_t to = byteOffset(text_, selStart_ + selLength_);
    return text_.substr(from, to - from);
}

void RichTextBox::SetSelText(const std::string& text) {
    const std::size_t from = byteOffset(text_, selStart_);
    const std::size_t to = byteOffset(text_, selStart_ + selLength_);
    text_.replace(from, to - from, text);
    const int inserted = static_cast<int>(
        std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
    selStart_ += inserted;
    selLength_ = 0;
    changed();
}

void RichTextBox::SetFontName(const std::string& font) {
    fontName_ = font;
    changed();
}

}  // namespace tessaline::shell
