#pragma once

#include "automation/com/Win32.h"

#include <optional>

namespace tessaline::winui {

// VB's shift argument (1 Shift, 2 Ctrl, 4 Alt) from the keyboard state of the message being handled.
int vbShift();
// VB's mouse button (1 left, 2 right, 4 middle) of a button-down or double-click message; 0 for others.
int vbButton(UINT message);
bool isButtonDown(UINT message);
bool isDoubleClick(UINT message);

// VB's key codes are the Windows virtual-key codes: KeyDown gets wParam as it is. KeyPress gets
// characters, which come one UTF-16 unit at a time (WM_CHAR, WM_IME_CHAR): this joins a surrogate pair
// into one code point and says which characters type nothing (Tab, Delete, Esc are keys, not text).
class CharacterJoiner {
public:
    // The code point complete with this unit, if any.
    std::optional<int> take(wchar_t unit);

private:
    wchar_t high_ = 0;
};

}  // namespace tessaline::winui
