#pragma once

#include <string>
#include <string_view>

#include "automation/Variant.h"

// How the in-memory Excel stores, shows and searches cell values.
namespace tessaline::automation::sim {

// The value a cell stores when `value` is written to it, converted the way Excel converts typed input:
// text that reads as a number becomes that number, TRUE/FALSE in any letter case a Boolean, other text
// stays text, a leading apostrophe makes the rest text as it stands ("'007") and "" empties the cell. Numbers are stored as Doubles, as Excel keeps them. A number that
// is not finite cannot be stored and raises error 1004.
Variant storedCellValue(const Variant& value);

// A number in the General format of a standard-width column: at most 11 characters, integers in full
// when they fit, otherwise rounded, in scientific notation ("1.23457E+11", "1E-20") when that shows more.
std::string generalNumberText(double number);

// The cell as Excel displays it (Text, and what Find looks in with LookIn:=xlValues).
std::string displayedText(const Variant& stored);

// The cell as its formula bar shows it (what Find looks in with LookIn:=xlFormulas): numbers with up to
// 15 significant digits.
std::string formulaText(const Variant& stored);

// Find's match with LookAt:=xlPart and MatchCase:=False: `pattern` occurs somewhere in `text`, where '*'
// stands for any run of characters, '?' for one character and '~' makes the next character literal.
// Letters compare ignoring case; one character is one Unicode code point.
bool containsPattern(std::string_view text, std::string_view pattern);

}  // namespace tessaline::automation::sim
