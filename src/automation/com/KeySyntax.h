#pragma once

#include <string>
#include <vector>

namespace tessaline::automation::com {

// One key press of a SendKeys text: a virtual key (or, when vk is 0, a character typed as itself) with the
// modifiers held around it.
struct KeyStroke {
    unsigned short vk = 0;
    wchar_t ch = 0;
    bool shift = false;
    bool control = false;
    bool alt = false;

    bool operator==(const KeyStroke&) const = default;
};

// Parses VB's SendKeys syntax: + ^ % hold Shift, Ctrl, Alt for the next key or for a ( ) group, ~ is
// Enter, {NAME} a named key ({F11}, {ENTER}, {TAB}, ...), {NAME n} repeats it, {+} {^} {%} {~} {(} {)}
// {{} {}} {[} {]} type the character. Raises "Invalid procedure call or argument" for text VB refuses
// (an unknown key name, unbalanced braces or parentheses, a modifier with nothing after it).
std::vector<KeyStroke> parseSendKeys(const std::string& text);

}  // namespace tessaline::automation::com
