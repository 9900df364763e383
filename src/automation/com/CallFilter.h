#pragma once

#include <objidl.h>
#include <windows.h>

#include <functional>
#include <thread>

namespace tessaline::automation::com {

// The client's single-threaded apartment for as long as this lives, with a message filter that keeps a
// server that hangs from hanging the tool: a call that has run past the limit is cancelled (the caller
// sees an automation error, RPC_E_CALL_CANCELED), a server that keeps refusing calls is retried for the
// same limit and then given up. COM asks the filter only when a message arrives during a call (under wine
// only a sent or posted one, not a timer), so a watchdog thread posts the apartment a WM_NULL every quarter
// second.
class ComApartment {
public:
    explicit ComApartment(DWORD callLimitMs = 20000);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    DWORD callLimitMs() const;
    void setCallLimitMs(DWORD limit);
    // Called once for each call that runs past the limit. Wine 8 logs the cancel but goes on waiting for
    // the reply, so a caller that owns the server ends it here, which fails the call (RPC_S_CALL_FAILED).
    void setOverdueHandler(std::function<void()> handler);

private:
    bool initialized_ = false;
    IMessageFilter* filter_ = nullptr;
    IMessageFilter* previous_ = nullptr;
    HANDLE stop_ = nullptr;
    std::thread watchdog_;
};

// Marks progress of the calls between this process and a server (a call returned, an event arrived): a
// call counts as stuck only when nothing has moved for the whole limit, as one that fires events lasts as
// long as the sinks it calls take.
void noteCallActivity();

}  // namespace tessaline::automation::com
