#include "automation/com/CallFilter.h"

#include <atomic>

#include "automation/com/RefCount.h"

namespace tessaline::automation::com {

namespace {

// When this process last heard from a server or served it: an outgoing call that returned, an incoming
// call (an event) that arrived.
std::atomic<DWORD> lastActivity{0};

class CallFilter final : public IMessageFilter {
public:
    explicit CallFilter(DWORD limit) : limit_(limit) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
            *out = static_cast<IMessageFilter*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return refs_.add(); }
    ULONG STDMETHODCALLTYPE Release() override { return refs_.release(this); }

    // Calls from the server (click events) are always taken: the tool is waiting for them.
    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        noteCallActivity();
        return SERVERCALL_ISHANDLED;
    }

    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsed, DWORD rejectType) override {
        if (rejectType == SERVERCALL_RETRYLATER && elapsed < limit_) return 100;
        return static_cast<DWORD>(-1);
    }

    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD elapsed, DWORD) override {
        if (elapsed < limit_) return PENDINGMSG_WAITDEFPROCESS;
        // A call that fires events runs as long as the tool's sinks take, making calls of their own: it is
        // stuck only once nothing has moved for the whole limit.
        if (GetTickCount() - lastActivity.load() < limit_) return PENDINGMSG_WAITDEFPROCESS;
        // The same call is asked about again and again: tell the handler of it once.
        const DWORD callStart = GetTickCount() - elapsed;
        if (overdue && (!told_ || callStart - toldStart_ > 100)) {
            told_ = true;
            toldStart_ = callStart;
            try {
                overdue();
            } catch (...) {
            }
        }
        return PENDINGMSG_CANCELCALL;
    }

    DWORD limit_;
    std::function<void()> overdue;

private:
    friend class com::RefCount;  // the last Release deletes
    ~CallFilter() = default;
    RefCount refs_;
    bool told_ = false;
    DWORD toldStart_ = 0;
};

}  // namespace

void noteCallActivity() { lastActivity.store(GetTickCount()); }

ComApartment::ComApartment(DWORD callLimitMs) {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    initialized_ = SUCCEEDED(hr);  // S_FALSE too: the count must be given back
    auto* filter = new CallFilter(callLimitMs);
    if (SUCCEEDED(CoRegisterMessageFilter(filter, &previous_))) {
        filter_ = filter;
    } else {
        filter->Release();  // a multithreaded apartment has no message filter
    }
    if (filter_) {
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        const DWORD thread = GetCurrentThreadId();
        HANDLE stop = stop_;
        watchdog_ = std::thread([thread, stop] {
            while (WaitForSingleObject(stop, 250) == WAIT_TIMEOUT) PostThreadMessageW(thread, WM_NULL, 0, 0);
        });
    }
}

ComApartment::~ComApartment() {
    if (stop_) {
        SetEvent(stop_);
        watchdog_.join();
        CloseHandle(stop_);
    }
    if (filter_) {
        IMessageFilter* ours = nullptr;
        CoRegisterMessageFilter(previous_, &ours);
        if (ours) ours->Release();
        if (previous_) previous_->Release();
        filter_->Release();
    }
    if (initialized_) CoUninitialize();
}

DWORD ComApartment::callLimitMs() const { return filter_ ? static_cast<CallFilter*>(filter_)->limit_ : 0; }

void ComApartment::setOverdueHandler(std::function<void()> handler) {
    if (filter_) static_cast<CallFilter*>(filter_)->overdue = std::move(handler);
}

void ComApartment::setCallLimitMs(DWORD limit) {
    if (filter_) static_cast<CallFilter*>(filter_)->limit_ = limit;
}

}  // namespace tessaline::automation::com
