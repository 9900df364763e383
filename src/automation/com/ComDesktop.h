#pragma once

// clang-format off
// First: windows.h's GetObject and FindWindow macros must be gone before the Desktop is declared.
#include "automation/com/Win32.h"
// clang-format on

#include <functional>
#include <memory>
#include <string>

#include "automation/Desktop.h"
#include "automation/com/CallFilter.h"
#include "automation/com/Dispatch.h"
#include "automation/com/Win32.h"

namespace tessaline::automation::com {

// How WScript.Shell's SendKeys reaches the foreground window.
enum class KeyDelivery {
    Input,    // SendInput: as a person typing, to whatever window has the keyboard
    Message,  // keyboard messages sent to GetForegroundWindow(), each waited for (bounded)
};

// The real desktop: running automation servers through the running object table, top-level windows
// through user32. Lives on one thread, which it makes a single-threaded apartment with bounded calls.
class ComDesktop : public Desktop {
public:
    // `keysSent` hears every SendKeys text before it is sent (the machine keeps the log of them).
    explicit ComDesktop(std::function<void(const std::string&)> keysSent = {},
                        KeyDelivery delivery = KeyDelivery::Message);
    ~ComDesktop() override;

    // GetActiveObject only: a host that does not run is never started.
    ObjectPtr GetObject(const std::string& progId) override;
    ObjectPtr CreateObject(const std::string& progId) override;
    WindowHandle FindWindow(const std::string& className) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool SetForegroundWindow(WindowHandle window) override;

    const std::shared_ptr<ComSession>& session() const { return session_; }
    ComApartment& apartment() { return apartment_; }

private:
    ComApartment apartment_;
    std::shared_ptr<ComSession> session_;
    std::function<void(const std::string&)> keysSent_;
    KeyDelivery delivery_;
};

// The running instance registered for `progId` (CLSIDFromProgID + GetActiveObject); raises 429 when the
// ProgID is unknown or nothing runs.
ComPtr<IDispatch> activeObject(const std::string& progId);

HWND toHwnd(WindowHandle window);
WindowHandle toHandle(HWND window);

}  // namespace tessaline::automation::com
