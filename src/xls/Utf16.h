#pragma once

#include <string>
#include <string_view>

// Excel keeps its text in UTF-16; the program keeps UTF-8. Malformed input on either side becomes U+FFFD
// rather than an error, so one damaged character never costs a whole workbook.
namespace tessaline::xls {

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace tessaline::xls
