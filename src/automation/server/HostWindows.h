#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>

#include "automation/Desktop.h"

namespace tessaline::automation {
class OfficeMachine;
}

namespace tessaline::automation::server {

// A real top-level window for every window of the in-memory Office, with the host's class name, so that
// FindWindow, ShowWindow, SetForegroundWindow and keystrokes of a client (or a person) meet real windows.
// Both ways stay in step: what the Office does to its windows (opening the VBA editor, quitting) shows on
// the real ones, and what happens to a real window (minimised, activated, Alt+F11, closed) reaches the
// Office. Without a display the windows cannot be made: the server then runs on with the Office's own
// window handles.
class HostWindows {
public:
    explicit HostWindows(OfficeMachine& machine);
    ~HostWindows();
    HostWindows(const HostWindows&) = delete;
    HostWindows& operator=(const HostWindows&) = delete;

    // Opens, closes and updates the real windows after the Office changed.
    void sync();
    void destroyAll();

    // The handle a client sees for a window of the Office (the real one when there is one, else the Office's
    // own marked as no window of the desktop), and back; 0 for a handle that names no window of the Office.
    WindowHandle reported(WindowHandle office) const;
    WindowHandle officeHandle(WindowHandle reported) const;
    bool hasDisplay() const { return display_; }
    // Runs after a window changed the Office (so the rest of the server follows, as after a client's call).
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    struct Real {
        HWND hwnd = nullptr;
        std::string hostKey;
        int shownState = -1;  // the Office's show state last applied to or taken from the real window
        std::wstring title;
    };

    LRESULT handle(Real& window, WindowHandle office, UINT message, WPARAM wParam, LPARAM lParam);
    void create(WindowHandle office, const std::string& hostKey);
    void applyState(Real& window, int state);
    std::wstring titleOf(const std::string& hostKey) const;
    void keyPressed(WindowHandle office, WPARAM key, bool alt);
    void changedByWindow();

    OfficeMachine& machine_;
    std::map<WindowHandle, Real> windows_;  // by the Office's handle
    std::set<std::wstring> classes_;
    WindowHandle foreground_ = 0;  // the Office's foreground last applied or taken
    bool display_ = true;
    int applying_ = 0;  // inside sync: the window messages that follow are our own doing
    // Modifiers held, as the key messages tell: keys posted by another program leave GetKeyState alone.
    bool control_ = false;
    bool shift_ = false;
    std::function<void()> onChange_;
};

}  // namespace tessaline::automation::server
