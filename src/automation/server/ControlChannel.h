#pragma once

#include <functional>
#include <string>

#include "automation/Object.h"
#include "automation/server/Dispatch.h"

namespace tessaline::automation {
class OfficeMachine;
}

namespace tessaline::automation::server {

class HostWindows;
class ObjectServer;

// "Tessaline.Office": what a person at the machine could do to the served Office, for the tests and the
// scenario runner in another process (OfficeMachine over COM). Window handles are the real windows'.
class ControlChannel final : public Object {
public:
    ControlChannel(OfficeMachine& machine, ObjectServer& server, HostWindows& windows, std::function<void()> quit);
    std::string TypeName() const override { return "Office"; }

    static const TypeTable& table();

private:
    OfficeMachine& machine_;
    ObjectServer& server_;
    HostWindows& windows_;
    std::function<void()> quit_;
};

}  // namespace tessaline::automation::server
