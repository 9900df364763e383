#pragma once

#include <functional>

#include "automation/Office.h"

namespace tessaline::sources {

// One hooked host button: while it lives, the button's Click events reach Button_Click.
//
// The connection is keyed by the button's Id and Tag, as the host keys its event hooks, so the hook also
// hears every other button that shares both (all custom buttons share Id 1).
class ButtonEvent {
public:
    // Button_Click(Ctrl, CancelDefault): Ctrl is the button actually clicked, CancelDefault the flag all
    // hooks of one click share.
    using ClickHandler = std::function<void(const automation::ButtonPtr& ctrl, bool& cancelDefault)>;

    // Connects to `button`'s Click event. Errors of the host (a control that is no button, a deleted one)
    // go to the caller, and then nothing is connected.
    ButtonEvent(automation::ButtonPtr button, ClickHandler onClick);
    ~ButtonEvent();
    ButtonEvent(const ButtonEvent&) = delete;
    ButtonEvent& operator=(const ButtonEvent&) = delete;

    const automation::ButtonPtr& Button() const { return Button_; }

private:
    automation::ButtonPtr Button_;
    int cookie_ = 0;
};

}  // namespace tessaline::sources
