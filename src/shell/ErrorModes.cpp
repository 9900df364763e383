#include "shell/ErrorModes.h"

#include "automation/AutomationError.h"
#include "shell/Form1.h"

namespace tessaline::shell {

ErrObject errorOf(const std::exception& e) {
    if (const auto* automationError = dynamic_cast<const automation::AutomationError*>(&e)) {
        return ErrObject{automationError->number(), automationError->description()};
    }
    return ErrObject{automation::vberr::InvalidCall, e.what()};
}

bool resume(Form1& form, const std::function<void()>& step) {
    try {
        step();
        return true;
    } catch (const std::exception& e) {
        form.Err = errorOf(e);
        return false;
    }
}

bool resumeIf(Form1& form, const std::function<bool()>& condition) {
    bool met = false;
    resume(form, [&] { met = condition(); });
    return met;
}

bool report(Form1& form, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        if (form.Err.silentFailure.empty()) {
            form.reportError(e);
        } else {
            const ErrObject err = errorOf(e);
            const std::string why = std::move(form.Err.silentFailure);
            form.Err.silentFailure.clear();
            form.reportError(automation::AutomationError(err.Number, err.Description + "\r\n\r\n" + why));
        }
        return false;
    }
}

}  // namespace tessaline::shell
