#pragma once

#include <oaidl.h>
#include <windows.h>

#include <memory>
#include <string>

#include "automation/com/ComPtr.h"
#include "automation/server/HostWindows.h"
#include "automation/server/ObjectServer.h"
#include "automation/server/RunningObjects.h"

namespace tessaline::automation::sim {
class SimOffice;
}

namespace tessaline::automation::server {

// The in-memory Office as a COM server, as tessaline-office.exe runs it in a single-threaded apartment:
// registered where a client looks for Office, with real windows, until told to quit.
class OfficeServer {
public:
    explicit OfficeServer(std::unique_ptr<sim::SimOffice> office);
    ~OfficeServer();
    OfficeServer(const OfficeServer&) = delete;
    OfficeServer& operator=(const OfficeServer&) = delete;

    // Registers the classes, the event type library, the running objects, the control channel and the
    // windows. `module` is the executable (which holds the type library). Returns the problems that did not
    // stop the start, one per line ("" when none).
    std::string start(const std::wstring& module);
    // Serves calls until the control channel's Quit or a WM_QUIT.
    void run();
    // Revokes every registration and cuts off every client; the apartment can then be left.
    void stop();

private:
    void sync();

    std::unique_ptr<sim::SimOffice> office_;
    ObjectServer objects_;
    RunningObjects running_;
    HostWindows windows_;
    com::ComPtr<IDispatch> control_;
    DWORD controlCookie_ = 0;
    bool stopped_ = false;
};

}  // namespace tessaline::automation::server
