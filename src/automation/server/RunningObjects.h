#pragma once

#include <objidl.h>
#include <windows.h>

#include <map>
#include <string>

#include "automation/com/ComPtr.h"

namespace tessaline::automation {
class OfficeMachine;
}

namespace tessaline::automation::server {

class ObjectServer;

// What the running object table shows of the in-memory Office, kept in step with it as Office keeps its own:
// each running host's Application under the host's CLSID (GetActiveObject, GetObject(, "Excel.Application")),
// each open workbook under a file moniker of its FullName (GetObject("C:\...\Book1.xls"); a workbook never
// saved is "Book1", as Excel registers it). A host that stopped is revoked and its objects cut off.
class RunningObjects {
public:
    RunningObjects(ObjectServer& server, OfficeMachine& machine);
    ~RunningObjects();
    RunningObjects(const RunningObjects&) = delete;
    RunningObjects& operator=(const RunningObjects&) = delete;

    // Brings the table in line with the hosts and workbooks as they are now. Cheap when nothing changed.
    void sync();
    // Takes everything out (at exit).
    void revokeAll();

    // Office's class of a host key, or null for a key that has none.
    static const CLSID* classOf(const std::string& hostKey);
    // The host keys that have an Application of their own.
    static const char* const HostKeys[5];

private:
    struct Host {
        const void* application = nullptr;
        DWORD cookie = 0;
    };
    struct Book {
        std::string fullName;
        DWORD cookie = 0;
    };

    void syncHosts();
    void syncWorkbooks();

    ObjectServer& server_;
    OfficeMachine& machine_;
    com::ComPtr<IRunningObjectTable> table_;
    std::map<std::string, Host> hosts_;
    std::map<const void*, Book> books_;
    bool reportedFailure_ = false;
};

}  // namespace tessaline::automation::server
