#pragma once

#include <ocidl.h>
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "automation/com/ComPtr.h"

namespace tessaline::automation::com {

// _CommandBarButtonEvents, the source interface of a command-bar button.
// {000C0351-0000-0000-C000-000000000046}
extern const IID DIID_CommandBarButtonEvents;

// Called for each Click with the button that was clicked (as the server passes it) and the shared
// CancelDefault flag. May throw: the failure goes back to the server as the sink's error.
using ClickHandler = std::function<void(const ComPtr<IDispatch>& ctrl, bool& cancelDefault)>;

// The Click connections of one desktop, by the cookie handed to the tool. Every connection is an
// Advise on the button's connection point with a sink object of our own.
class ClickConnections {
public:
    ClickConnections() = default;
    ClickConnections(const ClickConnections&) = delete;
    ClickConnections& operator=(const ClickConnections&) = delete;
    // Unadvises whatever is still connected.
    ~ClickConnections();

    // Raises the automation error of the failing step (no connection point, a refused Advise).
    int connect(IDispatch* button, ClickHandler handler);
    // An unknown cookie is ignored; a server that is gone cannot be told, which is harmless.
    void disconnect(int cookie);
    int count() const { return static_cast<int>(connections_.size()); }

private:
    struct Connection {
        ComPtr<IConnectionPoint> point;
        DWORD cookie;
    };
    std::map<int, Connection> connections_;
    int nextCookie_ = 1;
};

}  // namespace tessaline::automation::com
