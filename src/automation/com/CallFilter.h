#pragma once

#include <windows.h>
#include <objidl.h>

namespace tessaline::automation::com {

// The client's single-threaded apartment for as long as this lives, with a message filter that keeps a
// server that hangs from hanging the tool: a call that has run past the limit is cancelled (the caller
// sees an automation error, RPC_E_CALL_CANCELED), a server that keeps refusing calls is retried for the
// same limit and then given up. A thread timer keeps messages arriving during a call, so that COM asks the
// filter even when nothing else happens on the thread.
class ComApartment {
public:
    explicit ComApartment(DWORD callLimitMs = 20000);
    ~ComApartment();
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    DWORD callLimitMs() const;
    void setCallLimitMs(DWORD limit);

private:
    bool initialized_ = false;
    IMessageFilter* filter_ = nullptr;
    IMessageFilter* previous_ = nullptr;
    UINT_PTR timer_ = 0;
};

}  // namespace tessaline::automation::com
