#include "winui/WideText.h"

#include <windows.h>

#include <algorithm>

#include "automation/com/Text.h"

namespace tessaline::winui {

namespace {

bool isHigh(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool isLow(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Every line end of `text` replaced by `lineEnd`.
std::wstring withLineEnds(std::wstring_view text, std::wstring_view lineEnd) {
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\r') {
            if (i + 1 < text.size() && text[i + 1] == L'\n') ++i;
            out += lineEnd;
        } else if (c == L'\n') {
            out += lineEnd;
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace

std::wstring wide(std::string_view utf8) { return automation::com::toUtf16(utf8); }

std::string utf8(std::wstring_view text) { return automation::com::toUtf8(text); }

std::wstring editText(std::string_view modelText) { return withLineEnds(wide(modelText), L"\r\n"); }

std::string modelFromEdit(std::wstring_view editText) { return utf8(withLineEnds(editText, L"\r\n")); }

std::wstring richText(std::string_view modelText) { return withLineEnds(wide(modelText), L"\r"); }

std::string modelFromRich(std::wstring_view richText) { return utf8(withLineEnds(richText, L"\r\n")); }

int richPosition(std::string_view modelText, int modelPosition) {
    const std::wstring text = wide(modelText);
    int points = 0;
    int units = 0;
    for (std::size_t i = 0; i < text.size() && points < modelPosition; ++i) {
        const wchar_t c = text[i];
        if (c == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') {
            // CR LF is two characters of the model and one break of the control; a position between them
            // lands after the break.
            points += 2;
            ++i;
            units += 1;
        } else if (isHigh(c) && i + 1 < text.size() && isLow(text[i + 1])) {
            points += 1;
            ++i;
            units += 2;
        } else {
            points += 1;
            units += 1;
        }
    }
    return units;
}

int modelPosition(std::wstring_view richText, int richPosition) {
    int points = 0;
    const std::size_t end = std::min<std::size_t>(static_cast<std::size_t>(std::max(richPosition, 0)), richText.size());
    for (std::size_t i = 0; i < end; ++i) {
        const wchar_t c = richText[i];
        if (c == L'\r' || c == L'\n') {
            points += 2;
            if (c == L'\r' && i + 1 < richText.size() && richText[i + 1] == L'\n') ++i;
        } else if (isHigh(c) && i + 1 < richText.size() && isLow(richText[i + 1])) {
            points += 1;
            ++i;
        } else {
            points += 1;
        }
    }
    return points;
}

std::wstring windowText(void* hwnd) {
    const auto window = static_cast<HWND>(hwnd);
    const int length = GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(got, 0)));
    return text;
}

}  // namespace tessaline::winui
