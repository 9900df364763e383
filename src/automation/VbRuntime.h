#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"

// The VB runtime rules the tool's behaviour depends on. Strings are UTF-8; one character is one Unicode
// code point. Failures raise AutomationError with VB's error number.
namespace tessaline::automation::vb {

// Conversions (CStr, CDbl, CLng, CInt, CBool). Numeric text is accepted ("  12.5 "); Booleans convert to
// -1/0 and from any non-zero number; text "True"/"False" in any letter case converts to a Boolean; other
// text raises "Type mismatch". CLng/CInt round halves to even and raise "Overflow" out of range.
std::string CStr(const Variant& v);
double CDbl(const Variant& v);
std::int32_t CLng(const Variant& v);
std::int16_t CInt(const Variant& v);
bool CBool(const Variant& v);

// Val: the leading number of a text; 0 when there is none.
double Val(std::string_view text);

// Like with Option Compare Binary. An unclosed '[' raises "Invalid pattern string" (93).
bool Like(std::string_view text, std::string_view pattern);

namespace detail {
struct LikeToken;
}

// A Like pattern read once, for matching many texts against it (`text Like pattern`).
class LikePattern {
public:
    explicit LikePattern(std::string_view pattern);
    ~LikePattern();
    LikePattern(const LikePattern&);
    LikePattern& operator=(const LikePattern&);

    bool matches(std::string_view text) const;

private:
    std::vector<detail::LikeToken> tokens_;
};

// Split; "" gives an empty array; a "" delimiter gives the whole text as one element.
std::vector<std::string> Split(std::string_view text, std::string_view delimiter = " ");

constexpr int BinaryCompare = 0;
constexpr int TextCompare = 1;
// InStrRev(check, match, start = -1, compare): 1-based position, 0 when absent.
int InStrRev(std::string_view check, std::string_view match, int start = -1, int compare = BinaryCompare);
int InStr(int start, std::string_view text, std::string_view match, int compare = BinaryCompare);
std::string Replace(std::string_view expression, std::string_view find, std::string_view replaceWith, int start = 1,
                    int count = -1, int compare = BinaryCompare);

std::string Trim(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
std::string Left(std::string_view text, int length);
std::string Right(std::string_view text, int length);
std::string Mid(std::string_view text, int start, int length = -1);
int Len(std::string_view text);
std::string LCase(std::string_view text);
std::string UCase(std::string_view text);

}  // namespace tessaline::automation::vb
