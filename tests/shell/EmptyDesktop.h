#pragma once

#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Desktop.h"

namespace tessaline::shell::testing {

// A machine with no Office running and no windows: every attach fails as it does on Windows.
class EmptyDesktop : public automation::Desktop {
public:
    automation::ObjectPtr GetObject(const std::string& progId) override {
        attempts.push_back(progId);
        throw automation::cannotCreateObject();
    }
    automation::ObjectPtr CreateObject(const std::string&) override { throw automation::cannotCreateObject(); }
    automation::WindowHandle FindWindow(const std::string& className) override {
        windowsLookedFor.push_back(className);
        return 0;
    }
    bool ShowWindow(automation::WindowHandle, int) override {
        ++showCalls;
        return false;
    }
    bool SetForegroundWindow(automation::WindowHandle) override { return false; }

    std::vector<std::string> attempts;
    std::vector<std::string> windowsLookedFor;
    int showCalls = 0;
};

}  // namespace tessaline::shell::testing
