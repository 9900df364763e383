#include "automation/FaultPlan.h"

#include <charconv>

namespace tessaline::automation {

namespace {

bool matches(const std::string& pattern, std::string_view value) { return pattern == "*" || pattern == value; }

bool parseNumber(std::string_view text, int& out) {
    if (text.empty()) return false;
    const auto* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, out);
    return ec == std::errc() && ptr == end && out >= 1;
}

}  // namespace

AutomationError disconnected() {
    return {-2147417848, "Automation error\r\nThe object invoked has disconnected from its clients."};
}

bool isServerGone(int number) {
    switch (static_cast<unsigned>(number)) {
        case 0x80010108u:  // RPC_E_DISCONNECTED
        case 0x80010007u:  // RPC_E_SERVER_DIED
        case 0x80010012u:  // RPC_E_SERVER_DIED_DNE
        case 0x800706BAu:  // RPC_S_SERVER_UNAVAILABLE
        case 0x800706BEu:  // RPC_S_CALL_FAILED
            return true;
        default:
            return false;
    }
}

void FaultPlan::clear() {
    faults_.clear();
    calls_.clear();
    recording_ = false;
}

int FaultPlan::firedCount() const {
    int n = 0;
    for (const auto& f : faults_) n += f.fired;
    return n;
}

void FaultPlan::startRecording() {
    calls_.clear();
    recording_ = true;
}

void FaultPlan::check(std::string_view host, std::string_view type, std::string_view member) {
    if (paused_) return;
    if (recording_) {
        calls_.push_back({std::string(host), std::string(type), std::string(member)});
    }
    for (auto& f : faults_) {
        if (!matches(f.host, host) || !matches(f.type, type) || !matches(f.member, member)) continue;
        ++f.seen;
        if (f.seen < f.first || (f.last != 0 && f.seen > f.last)) continue;
        ++f.fired;
        if (f.error) throw *f.error;
        std::string name(member);
        if (!name.empty() && name.back() == '=') name.pop_back();
        throw methodFailed(name, std::string(type));
    }
}

bool FaultPlan::parseOccurrences(std::string_view text, int& first, int& last) {
    if (text == "*") {
        first = 1;
        last = 0;
        return true;
    }
    if (!text.empty() && text.back() == '+') {
        last = 0;
        return parseNumber(text.substr(0, text.size() - 1), first);
    }
    const auto dash = text.find('-');
    if (dash != std::string_view::npos) {
        return parseNumber(text.substr(0, dash), first) && parseNumber(text.substr(dash + 1), last) && last >= first;
    }
    if (!parseNumber(text, first)) return false;
    last = first;
    return true;
}

}  // namespace tessaline::automation
