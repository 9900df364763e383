#pragma once

#include <functional>
#include <utility>

#include "automation/com/Win32.h"

namespace tessaline::winui {

// Runs `act` on the first top-level window of `className` that shows up while a modal loop runs on this
// thread. Gives up after about ten seconds by closing whatever dialog it finds, so a test fails instead of
// waiting for ever.
class WhenShown {
public:
    WhenShown(const wchar_t* className, std::function<void(HWND)> act) : className_(className), act_(std::move(act)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &WhenShown::tick);
    }
    ~WhenShown() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;
    bool acted() const { return acted_; }

private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenShown* self = current_;
        if (self == nullptr || self->acted_) return;
        HWND found = FindWindowW(self->className_, nullptr);
        if (found != nullptr && IsWindowVisible(found)) {
            self->acted_ = true;
            self->act_(found);
        } else if (++self->ticks_ > 200) {
            self->acted_ = true;
            if (HWND dialog = FindWindowW(L"#32770", nullptr)) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
            EndMenu();
        }
    }

    static inline WhenShown* current_ = nullptr;
    const wchar_t* className_;
    std::function<void(HWND)> act_;
    UINT_PTR timer_ = 0;
    int ticks_ = 0;
    bool acted_ = false;
};

}  // namespace tessaline::winui
