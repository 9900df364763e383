#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "automation/Office.h"

namespace tessaline::automation {

// A top-level window handle, 0 when no window was found.
using WindowHandle = std::int32_t;

namespace sw {
constexpr int Hide = 0;
constexpr int Normal = 1;
constexpr int Minimized = 2;
constexpr int Maximized = 3;
}  // namespace sw

class OutlookExplorer : public CommandBarHost {
public:
    std::string TypeName() const override { return "Explorer"; }
};

class OutlookApplication : public Object {
public:
    std::string TypeName() const override { return "Application"; }
    virtual std::string Name() = 0;
    // nullptr (Nothing) when Outlook shows no explorer window.
    virtual std::shared_ptr<OutlookExplorer> ActiveExplorer() = 0;
};

// The "WScript.Shell" object.
class WshShell : public Object {
public:
    std::string TypeName() const override { return "IWshShell3"; }
    virtual void SendKeys(const std::string& keys, const Optional& wait = std::nullopt) = 0;
};

// The machine the tool runs on, as far as the tool reaches it: running automation servers, top-level
// windows and the shell. Attaching never starts a server.
class Desktop {
public:
    virtual ~Desktop() = default;

    // GetObject("", progId): the running instance. ProgIDs ignore case. Raises "ActiveX component can't
    // create object" (429) when no instance runs.
    virtual ObjectPtr GetObject(const std::string& progId) = 0;
    // CreateObject(progId), for helper objects such as "WScript.Shell".
    virtual ObjectPtr CreateObject(const std::string& progId) = 0;

    // user32: FindWindowA(className, no title), ShowWindow, SetForegroundWindow.
    virtual WindowHandle FindWindow(const std::string& className) = 0;
    virtual bool ShowWindow(WindowHandle window, int command) = 0;
    virtual bool SetForegroundWindow(WindowHandle window) = 0;
};

}  // namespace tessaline::automation
