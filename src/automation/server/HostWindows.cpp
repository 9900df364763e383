#include "automation/server/HostWindows.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "automation/Excel.h"
#include "automation/OfficeMachine.h"
#include "automation/com/Text.h"

namespace tessaline::automation::server {

namespace {

constexpr const char* WindowHosts[] = {"Excel", "Word", "PowerPoint", "Access", "Outlook", "VBE"};

// A key as SendKeys writes it, so what reached a window reads like what a script sent.
std::string keyText(WPARAM key) {
    if (key >= VK_F1 && key <= VK_F24) return "{F" + std::to_string(key - VK_F1 + 1) + "}";
    if ((key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key - 'A' + 'a'));
    if (key >= '0' && key <= '9') return std::string(1, static_cast<char>(key));
    switch (key) {
        case VK_RETURN:
            return "{ENTER}";
        case VK_ESCAPE:
            return "{ESC}";
        case VK_TAB:
            return "{TAB}";
        case VK_BACK:
            return "{BACKSPACE}";
        case VK_DELETE:
            return "{DELETE}";
        case VK_INSERT:
            return "{INSERT}";
        case VK_HOME:
            return "{HOME}";
        case VK_END:
            return "{END}";
        case VK_PRIOR:
            return "{PGUP}";
        case VK_NEXT:
            return "{PGDN}";
        case VK_LEFT:
            return "{LEFT}";
        case VK_RIGHT:
            return "{RIGHT}";
        case VK_UP:
            return "{UP}";
        case VK_DOWN:
            return "{DOWN}";
        case VK_SPACE:
            return " ";
        default:
            break;
    }
    char code[16];
    std::snprintf(code, sizeof code, "{VK %u}", static_cast<unsigned>(key));
    return code;
}

bool isModifier(WPARAM key) {
    return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_LSHIFT || key == VK_RSHIFT ||
           key == VK_LCONTROL || key == VK_RCONTROL || key == VK_LMENU || key == VK_RMENU || key == VK_LWIN ||
           key == VK_RWIN || key == VK_CAPITAL;
}

// The ShowWindow command for an Office show state; a window shown normally or minimised does not take the
// foreground from the one the Office has in front.
int showCommand(int state) {
    switch (state) {
        case 1:
            return SW_SHOWNOACTIVATE;
        case 2:
            return SW_SHOWMINNOACTIVE;
        default:
            return state;
    }
}

struct Applying {
    explicit Applying(int& depth) : depth(depth) { ++depth; }
    ~Applying() { --depth; }
    int& depth;
};

}  // namespace

HostWindows::HostWindows(OfficeMachine& machine) : machine_(machine) {}

HostWindows::~HostWindows() { destroyAll(); }

void HostWindows::destroyAll() {
    Applying applying(applying_);
    auto windows = std::move(windows_);
    windows_.clear();
    for (auto& [office, window] : windows) DestroyWindow(window.hwnd);
}

std::wstring HostWindows::titleOf(const std::string& hostKey) const {
    const ObjectPtr application = machine_.host(hostKey == "VBE" ? "Excel" : hostKey);
    if (hostKey == "VBE") return L"Microsoft Visual Basic";
    if (const auto excel = std::dynamic_pointer_cast<ExcelApplication>(application)) {
        const auto book = excel->ActiveWorkbook();
        return com::toUtf16(excel->Name() + (book ? " - " + book->Name() : std::string()));
    }
    if (const auto host = std::dynamic_pointer_cast<CommandBarHost>(application)) return com::toUtf16(host->Name());
    if (const auto outlook = std::dynamic_pointer_cast<OutlookApplication>(application)) {
        return com::toUtf16(outlook->Name());
    }
    return com::toUtf16(hostKey);
}

void HostWindows::create(WindowHandle office, const std::string& hostKey) {
    const std::wstring className = com::toUtf16(machine_.windowClass(office));
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!classes_.count(className)) {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = &HostWindows::windowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = className.c_str();
        if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            display_ = false;
            std::fprintf(stderr, "tessaline-office: cannot register the window class %s; running without windows\n",
                         com::toUtf8(className).c_str());
            return;
        }
        classes_.insert(className);
    }
    Real window;
    window.hostKey = hostKey;
    window.title = titleOf(hostKey);
    const int offset = static_cast<int>(windows_.size()) * 30;
    window.hwnd = CreateWindowExW(0, className.c_str(), window.title.c_str(), WS_OVERLAPPEDWINDOW, 40 + offset,
                                  40 + offset, 800, 560, nullptr, nullptr, instance, nullptr);
    if (!window.hwnd) {
        display_ = false;
        std::fprintf(stderr,
                     "tessaline-office: cannot create the %s window (error %lu; no display?); running without "
                     "real windows\n",
                     hostKey.c_str(), static_cast<unsigned long>(GetLastError()));
        return;
    }
    SetWindowLongPtrW(window.hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    windows_[office] = std::move(window);
}

void HostWindows::applyState(Real& window, int state) {
    window.shownState = state;
    ShowWindow(window.hwnd, showCommand(state));
}

void HostWindows::sync() {
    if (!display_ || applying_ > 0) return;
    Applying applying(applying_);
    std::map<WindowHandle, std::string> open;
    for (const char* key : WindowHosts) {
        if (const WindowHandle office = machine_.hostWindow(key)) open[office] = key;
    }
    std::vector<HWND> closed;
    for (auto it = windows_.begin(); it != windows_.end();) {
        if (open.count(it->first)) {
            ++it;
            continue;
        }
        closed.push_back(it->second.hwnd);
        it = windows_.erase(it);
    }
    for (HWND hwnd : closed) DestroyWindow(hwnd);
    for (const auto& [office, key] : open) {
        if (!windows_.count(office)) create(office, key);
        if (!display_) return;
    }
    for (auto& [office, window] : windows_) {
        const int state = machine_.windowShowState(office);
        if (state != window.shownState) applyState(window, state);
        const std::wstring title = titleOf(window.hostKey);
        if (title != window.title) {
            window.title = title;
            SetWindowTextW(window.hwnd, title.c_str());
        }
    }
    const WindowHandle front = machine_.foregroundWindow();
    if (front != foreground_) {
        foreground_ = front;
        if (const auto it = windows_.find(front); it != windows_.end()) SetForegroundWindow(it->second.hwnd);
    }
}

// An Office window without a real one (no display) is reported with this bit, so that its number never
// names a real window of the desktop (wine's desktop window has the number of the Office's first window).
constexpr WindowHandle NotReal = 0x40000000;

WindowHandle HostWindows::reported(WindowHandle office) const {
    if (office == 0) return 0;
    const auto it = windows_.find(office);
    if (it == windows_.end()) return office | NotReal;
    return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(it->second.hwnd));
}

WindowHandle HostWindows::officeHandle(WindowHandle reported) const {
    for (const auto& [office, window] : windows_) {
        if (static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window.hwnd)) == reported) return office;
    }
    return (reported & NotReal) != 0 ? reported & ~NotReal : 0;
}

LRESULT CALLBACK HostWindows::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<HostWindows*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self) {
        for (auto& [office, window] : self->windows_) {
            if (window.hwnd == hwnd) {
                try {
                    return self->handle(window, office, message, wParam, lParam);
                } catch (...) {
                    break;  // the Office refused; the window carries on
                }
            }
        }
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT HostWindows::handle(Real& window, WindowHandle office, UINT message, WPARAM wParam, LPARAM lParam) {
    const HWND hwnd = window.hwnd;
    if (applying_ > 0) {
        if (message == WM_CLOSE) return 0;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    switch (message) {
        case WM_SIZE: {
            const int state = wParam == SIZE_MAXIMIZED   ? 3
                              : wParam == SIZE_MINIMIZED ? 2
                              : wParam == SIZE_RESTORED  ? 1
                                                         : -1;
            if (state > 0 && IsWindowVisible(hwnd) && state != machine_.windowShowState(office)) {
                window.shownState = state;
                machine_.ShowWindow(office, state);
                changedByWindow();
            }
            break;
        }
        case WM_SHOWWINDOW:
            if (lParam == 0) {
                const int now = machine_.windowShowState(office);
                const int state = wParam ? (now == 0 ? 1 : now) : 0;
                if (state != now) {
                    window.shownState = state;
                    machine_.ShowWindow(office, state);
                    changedByWindow();
                }
            }
            break;
        case WM_ACTIVATE:
            if (LOWORD(wParam) != WA_INACTIVE && machine_.foregroundWindow() != office) {
                foreground_ = office;
                machine_.SetForegroundWindow(office);
                changedByWindow();
            }
            break;
        case WM_KEYUP:
        case WM_SYSKEYUP:
            if (wParam == VK_CONTROL || wParam == VK_LCONTROL || wParam == VK_RCONTROL) control_ = false;
            if (wParam == VK_SHIFT || wParam == VK_LSHIFT || wParam == VK_RSHIFT) shift_ = false;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (wParam == VK_CONTROL || wParam == VK_LCONTROL || wParam == VK_RCONTROL) control_ = true;
            if (wParam == VK_SHIFT || wParam == VK_LSHIFT || wParam == VK_RSHIFT) shift_ = true;
            if (!isModifier(wParam)) {
                const bool alt = (lParam & (1 << 29)) != 0;
                keyPressed(office, wParam, alt);
                // Alt+F4 goes on to close the window (and so quit the host), as it would close Office.
                if (!(alt && wParam == VK_F4)) return 0;
                if (!IsWindow(hwnd)) return 0;
            }
            break;
        case WM_CLOSE: {
            // Closing a host's main window quits the host; closing the editor's only hides it.
            const std::string key = window.hostKey;
            machine_.stopHost(key);
            changedByWindow();
            return 0;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

void HostWindows::keyPressed(WindowHandle office, WPARAM key, bool alt) {
    std::string keys;
    if (control_ || GetKeyState(VK_CONTROL) < 0) keys += "^";
    if (shift_ || GetKeyState(VK_SHIFT) < 0) keys += "+";
    if (alt) keys += "%";
    keys += keyText(key);
    // The key reached this window, so it is the one in front, whatever the Office thought.
    if (machine_.foregroundWindow() != office) machine_.SetForegroundWindow(office);
    foreground_ = office;
    const auto shell = std::dynamic_pointer_cast<WshShell>(machine_.CreateObject("WScript.Shell"));
    if (shell) shell->SendKeys(keys);
    changedByWindow();
}

void HostWindows::changedByWindow() {
    if (onChange_) onChange_();
}

}  // namespace tessaline::automation::server
