#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "automation/AutomationError.h"

namespace tessaline::automation {

// Makes chosen calls of an Office fail on demand, so that the paths a refusal takes can be walked at will.
// Every member of every object an Office hands out passes through check() with its host key ("Excel",
// "Word", ..., "VBE"), its object type ("CommandBar", "CommandBarControls", "CommandBarControl" for every
// kind of control, "Range", ...) and its member name; property writes end in "=" ("Caption=", "Value=").
//
// A fault matches by host, type and member ("*" matches anything) and counts its own matching calls from
// the moment it is added: it fires on occurrences first..last (last 0: every one from first on).
class FaultPlan {
public:
    struct Fault {
        std::string host = "*";
        std::string type = "*";
        std::string member = "*";
        int first = 1;
        int last = 1;  // 0: no end
        // The error raised; none means "Method 'member' of object 'type' failed" (E_FAIL), as Office refuses.
        std::optional<AutomationError> error;
        int seen = 0;  // matching calls so far
        int fired = 0;
    };
    struct Call {
        std::string host;
        std::string type;
        std::string member;
    };

    void add(Fault fault) { faults_.push_back(std::move(fault)); }
    // Removes every fault and forgets the calls seen.
    void clear();
    const std::vector<Fault>& faults() const { return faults_; }
    // How many times the faults fired, in all.
    int firedCount() const;

    // Keeps every call that passes from now on (until clear or stopRecording).
    void startRecording();
    void stopRecording() { recording_ = false; }
    const std::vector<Call>& calls() const { return calls_; }

    // Calls made while a Pause lives are not the tool's (a person clicking, a script looking): they are
    // neither counted nor failed.
    class Pause {
    public:
        explicit Pause(FaultPlan* plan) : plan_(plan), was_(plan && plan->paused_) {
            if (plan_) plan_->paused_ = true;
        }
        ~Pause() {
            if (plan_) plan_->paused_ = was_;
        }
        Pause(const Pause&) = delete;
        Pause& operator=(const Pause&) = delete;

    private:
        FaultPlan* plan_;
        bool was_;
    };

    // Whether check() has anything to do: every call of a large walk asks this, so it stays inline.
    bool active() const { return !paused_ && (recording_ || !faults_.empty()); }

    // Counts the call and raises the error of the first fault that fires on it.
    void check(std::string_view host, std::string_view type, std::string_view member);

    // Parses "3" (the 3rd), "3-5", "11+" (the 11th and every later one) or "*" (every one) into first/last.
    // False when the text is none of these.
    static bool parseOccurrences(std::string_view text, int& first, int& last);

private:
    std::vector<Fault> faults_;
    std::vector<Call> calls_;
    bool recording_ = false;
    bool paused_ = false;
};

// The error Office's objects give once their server has gone (RPC_E_DISCONNECTED).
AutomationError disconnected();
// Whether an error number says the object's server has gone (disconnected, died or unreachable), as
// opposed to a server that is there and refuses.
bool isServerGone(int number);

}  // namespace tessaline::automation
