#pragma once

#include <oaidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <unordered_map>
#include <utility>

#include "automation/Object.h"
#include "automation/com/ComPtr.h"
#include "automation/server/Dispatch.h"

namespace tessaline::automation {
class OfficeMachine;
}

namespace tessaline::automation::server {

class DispatchObject;

// Hands out the served objects of one in-memory Office. The same object of the Office is always the same
// IDispatch while anybody holds it (so `Is` and identity checks of a client work), every object knows the
// run of the host it came from, and a host that stops takes its objects' connections along, as a quitting
// Office does.
class ObjectServer {
public:
    explicit ObjectServer(OfficeMachine& machine);
    ~ObjectServer();
    ObjectServer(const ObjectServer&) = delete;
    ObjectServer& operator=(const ObjectServer&) = delete;

    OfficeMachine& machine() { return machine_; }

    // The served object for `object` (nullptr stays null), made on first use.
    com::ComPtr<IDispatch> wrap(const ObjectPtr& object, const HostTag& tag);
    // An object served under a table of its own, outside the identity map and the count (the control
    // channel).
    com::ComPtr<IDispatch> serveApart(ObjectPtr object, const TypeTable& type);
    void forget(DispatchObject* object);

    // Served objects alive (wrappers, enumerators, connection points): lets a test prove that a client let
    // go of everything it took.
    void objectCreated() { ++live_; }
    void objectDestroyed() { --live_; }
    // Enumerators and connection points of a host, cut off with its objects when it stops.
    void attach(IUnknown* helper, const HostTag& tag) { helpers_[helper] = tag; }
    void detach(IUnknown* helper) { helpers_.erase(helper); }
    int liveObjects() const { return live_; }

    // The tag for objects of the running host `hostKey` ("VBE" belongs to Excel).
    HostTag tagFor(const std::string& hostKey) const;
    // The host's run is over: every client of its objects is cut off (they see RPC_E_DISCONNECTED, as when
    // Office quits under them) and later objects of the host belong to its next run.
    void hostEnded(const std::string& hostKey);

    // Click connections, so Unadvise of a cookie that is not connected fails as COM asks.
    void clickConnected(const HostTag& tag, int cookie);
    bool clickDisconnected(const HostTag& tag, int cookie);

    // The application named as the source of an error.
    static std::string sourceFor(const HostTag& tag);

    // Marks a call from a client. When the outermost one ends, `afterCalls` runs: the desktop and the running
    // object table follow whatever the call changed.
    class CallScope {
    public:
        explicit CallScope(ObjectServer& server);
        ~CallScope();
        CallScope(const CallScope&) = delete;
        CallScope& operator=(const CallScope&) = delete;

    private:
        ObjectServer& server_;
    };
    void setAfterCalls(std::function<void()> afterCalls) { afterCalls_ = std::move(afterCalls); }

private:
    OfficeMachine& machine_;
    std::unordered_map<const void*, DispatchObject*> served_;
    std::map<IUnknown*, HostTag> helpers_;
    std::map<std::string, int> generations_;
    std::set<std::pair<std::string, int>> clickCookies_;
    int live_ = 0;
    int depth_ = 0;
    std::function<void()> afterCalls_;
};

}  // namespace tessaline::automation::server
