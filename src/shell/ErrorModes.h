#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "automation/AutomationError.h"

namespace tessaline::shell {

class Form1;

// VB's Err object: the last error a resume-mode step swallowed.
struct ErrObject {
    int Number = 0;
    std::string Description;
    // Why a step that stays silent (opening a workbook) failed, for the next error report box to add: the
    // user would otherwise see only what failed after it ("Subscript out of range").
    std::string silentFailure;
    void Clear() {
        Number = 0;
        Description.clear();
    }
};

// An object variable used as VB uses it: Nothing raises 91 "Object variable or With block variable not
// set" instead of being dereferenced.
template <class T>
T& obj(const std::shared_ptr<T>& variable) {
    if (!variable) throw automation::objectNotSet();
    return *variable;
}

// The number and description of any exception a handler may meet: automation errors keep theirs, other
// failures of the program itself become error 5 with their message.
ErrObject errorOf(const std::exception& e);

// Resume mode: runs one statement; a failure is recorded in form.Err and skipped. Returns whether the step
// succeeded.
bool resume(Form1& form, const std::function<void()>& step);
// A condition evaluated in resume mode: a failure counts as not met, so the guarded branch never runs.
bool resumeIf(Form1& form, const std::function<bool()>& condition);
// Report mode: runs the handler body; the first failure ends it and shows the error report box. Returns
// whether the body ran to its end.
bool report(Form1& form, const std::function<void()>& body);

}  // namespace tessaline::shell
