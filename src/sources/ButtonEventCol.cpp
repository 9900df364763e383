#include "sources/ButtonEventCol.h"

#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::sources {

ButtonEventCol::ButtonEventCol(ButtonEvent::ClickHandler onClick) : onClick_(std::move(onClick)) {}

void ButtonEventCol::Attach(const automation::ControlPtr& control) {
    if (!control) throw automation::objectNotSet();
    // Should the append fail, the new hook is released with it rather than left connected and unowned.
    auto hook = std::make_unique<ButtonEvent>(control->AsButton(), onClick_);
    Items_.push_back(std::move(hook));
}

}  // namespace tessaline::sources
