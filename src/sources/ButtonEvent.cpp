#include "sources/ButtonEvent.h"

#include <stdexcept>
#include <utility>

#include "automation/AutomationError.h"

namespace tessaline::sources {

ButtonEvent::ButtonEvent(automation::ButtonPtr button, ClickHandler onClick) : Button_(std::move(button)) {
    if (!Button_) throw automation::objectNotSet();
    if (!onClick) throw std::invalid_argument("a hook needs a click handler");
    // The sink owns its handler, so the host may still be delivering a click while this hook is released.
    cookie_ =
        Button_->ConnectClick([handler = std::move(onClick)](const automation::ButtonPtr& ctrl, bool& cancelDefault) {
            handler(ctrl, cancelDefault);
        });
}

ButtonEvent::~ButtonEvent() {
    // Letting go must never fail: the host may have deleted the button or quit since it was hooked.
    try {
        Button_->DisconnectClick(cookie_);
    } catch (...) {
    }
}

}  // namespace tessaline::sources
