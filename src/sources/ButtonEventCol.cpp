#include "sources/ButtonEventCol.h"

#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::sources {

ButtonEventCol::ButtonEventCol(ButtonEvent::ClickHandler onClick) : onClick_(std::move(onClick)) {}

void ButtonEventCol::Attach(const automation::ControlPtr& control) {
    if (!control) throw automation::objectNotSet();
    // Reserve first, so that a hook that connected is never lost to a failed append.
    Items_.reserve(Items_.size() + 1);
    Items_.push_back(std::make_unique<ButtonEvent>(control->AsButton(), onClick_));
}

}  // namespace tessaline::sources
