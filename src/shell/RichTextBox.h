#pragma once

#include <string>

#include "shell/Control.h"

namespace tessaline::shell {

// A rich-text box used as a plain code pane. Selection positions count characters (code points), as the
// control counts them, not bytes.
class RichTextBox : public Control {
public:
    RichTextBox(std::string name, int left, int top, int width, int height);

    const std::string& Text() const { return text_; }
    // Replaces the whole text and puts the caret at its start.
    void SetText(const std::string& text);

    int SelStart() const { return selStart_; }
    // Clamped to the text; a negative value raises 380 "Invalid property value". Empties the selection.
    void SetSelStart(int start);
    int SelLength() const { return selLength_; }
    // Clamped to the end of the text; a negative value raises 380.
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection (or inserts at the caret) and leaves the caret after the new text.
    void SetSelText(const std::string& text);

    const std::string& FontName() const { return fontName_; }
    void SetFontName(const std::string& font);

private:
    int length() const;

    std::string text_;
    int selStart_ = 0;
    int selLength_ = 0;
    std::string fontName_ = "Times New Roman";
};

}  // namespace tessaline::shell
