#pragma once

#include <memory>
#include <vector>

#include "automation/Office.h"
#include "sources/ButtonEvent.h"

namespace tessaline::sources {

// The set of hooks made by the capture commands. Releasing the set releases every hook, and the host's
// buttons act normally again.
//
// There is no removal and no duplicate check: hooking one button twice gives two hooks, and both hear it.
class ButtonEventCol {
public:
    explicit ButtonEventCol(ButtonEvent::ClickHandler onClick);
    ButtonEventCol(const ButtonEventCol&) = delete;
    ButtonEventCol& operator=(const ButtonEventCol&) = delete;

    // Hooks `control` as a CommandBarButton and appends the hook. A control that cannot be taken as a button
    // raises "Type mismatch" and stays unhooked; so does Nothing, with error 91.
    void Attach(const automation::ControlPtr& control);

    const std::vector<std::unique_ptr<ButtonEvent>>& Items() const { return Items_; }
    int Count() const { return static_cast<int>(Items_.size()); }

private:
    ButtonEvent::ClickHandler onClick_;
    std::vector<std::unique_ptr<ButtonEvent>> Items_;
};

}  // namespace tessaline::sources
