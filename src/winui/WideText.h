#pragma once

#include <string>
#include <string_view>

namespace tessaline::winui {

// The models keep UTF-8 text with CR LF line ends; the window's controls take UTF-16. Text changes
// encoding here and at no other place of the view.
std::wstring wide(std::string_view utf8);
std::string utf8(std::wstring_view text);

// Any line end (CR LF, a lone CR or LF) as CR LF: what an edit control shows as a line break.
std::wstring editText(std::string_view modelText);
std::string modelFromEdit(std::wstring_view editText);

// A rich edit keeps one CR per line break. Positions: the models count code points (CR LF as two), the
// rich edit counts UTF-16 units of its own text (a line break as one).
std::wstring richText(std::string_view modelText);
std::string modelFromRich(std::wstring_view richText);
int richPosition(std::string_view modelText, int modelPosition);
int modelPosition(std::wstring_view richText, int richPosition);

// The text of a window (WM_GETTEXT), whatever its length.
std::wstring windowText(void* hwnd);

}  // namespace tessaline::winui
