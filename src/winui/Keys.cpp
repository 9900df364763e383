#include "winui/Keys.h"

namespace tessaline::winui {

int vbShift() {
    int shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= 1;
    if (GetKeyState(VK_CONTROL) < 0) shift |= 2;
    if (GetKeyState(VK_MENU) < 0) shift |= 4;
    return shift;
}

int vbButton(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            return 1;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            return 2;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            return 4;
        default:
            return 0;
    }
}

bool isButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN;
}

bool isDoubleClick(UINT message) {
    return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

std::optional<int> CharacterJoiner::take(wchar_t unit) {
    if (unit >= 0xD800 && unit <= 0xDBFF) {
        high_ = unit;
        return std::nullopt;
    }
    if (unit >= 0xDC00 && unit <= 0xDFFF) {
        const wchar_t high = high_;
        high_ = 0;
        if (high == 0) return std::nullopt;
        return 0x10000 + ((static_cast<int>(high) - 0xD800) << 10) + (static_cast<int>(unit) - 0xDC00);
    }
    high_ = 0;
    // Tab and Esc are keys of their own; DEL is what some keyboards put in the text of the Delete key.
    if (unit == L'\t' || unit == 27 || unit == 0x7F) return std::nullopt;
    return static_cast<int>(unit);
}

}  // namespace tessaline::winui
