#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "automation/FaultPlan.h"

namespace tessaline::automation::sim {

// What every call into one running host goes through before it does anything: once the host has quit,
// every object it handed out fails as Office's do when their server is gone; while it runs, the machine's
// fault plan may make the call fail.
class CallGate {
public:
    CallGate(std::string hostKey, std::shared_ptr<FaultPlan> faults)
        : hostKey_(std::move(hostKey)), faults_(std::move(faults)) {}

    void pass(std::string_view type, std::string_view member) const {
        if (stopped_) throw automation::disconnected();
        if (faults_ && faults_->active()) faults_->check(hostKey_, type, member);
    }
    void stop() { stopped_ = true; }
    bool stopped() const { return stopped_; }
    const std::string& hostKey() const { return hostKey_; }

private:
    std::string hostKey_;
    std::shared_ptr<FaultPlan> faults_;
    bool stopped_ = false;
};

using GatePtr = std::shared_ptr<CallGate>;

// A gate may be absent (objects built outside a machine, as the unit tests do): everything passes.
inline void pass(const GatePtr& gate, std::string_view type, std::string_view member) {
    if (gate) gate->pass(type, member);
}

// A member as error texts name it: a property write is named like the property ("Caption=" -> "Caption").
inline std::string memberText(std::string_view member) {
    if (!member.empty() && member.back() == '=') member.remove_suffix(1);
    return std::string(member);
}

}  // namespace tessaline::automation::sim
