#include "automation/com/ComDesktop.h"

#include <cctype>
#include <cstdint>

#include "automation/AutomationError.h"
#include "automation/com/ClickSink.h"
#include "automation/com/ComErrors.h"
#include "automation/com/ComHosts.h"
#include "automation/com/KeySyntax.h"
#include "automation/com/Text.h"

namespace tessaline::automation::com {

namespace {

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

struct KnownHost {
    const char* progId;
    const char* hostKey;
};

constexpr KnownHost knownHosts[] = {
    {"Excel.Application", "Excel"},   {"Word.Application", "Word"},       {"PowerPoint.Application", "PowerPoint"},
    {"Access.Application", "Access"}, {"Outlook.Application", "Outlook"},
};

// The host key the wrappers of a ProgID's object are made for: a known host, else the ProgID's first part.
std::string hostKeyOf(const std::string& progId) {
    for (const auto& h : knownHosts) {
        if (sameName(h.progId, progId)) return h.hostKey;
    }
    return progId.substr(0, progId.find('.'));
}

void pushKey(std::vector<INPUT>& inputs, WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(in);
}

void pushChar(std::vector<INPUT>& inputs, wchar_t ch, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = ch;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    inputs.push_back(in);
}

// A character typed with Ctrl or Alt goes as its key (Ctrl+C is the C key); alone, as the character.
void resolve(KeyStroke& key) {
    if (key.vk != 0 || !(key.control || key.alt)) return;
    const SHORT scan = VkKeyScanW(key.ch);
    if (scan == -1) return;
    key.vk = static_cast<unsigned short>(scan & 0xFF);
    if (scan & 0x100) key.shift = true;
}

void sendByInput(std::vector<KeyStroke> keys) {
    std::vector<INPUT> inputs;
    for (KeyStroke& key : keys) {
        resolve(key);
        if (key.shift) pushKey(inputs, VK_SHIFT, false);
        if (key.control) pushKey(inputs, VK_CONTROL, false);
        if (key.alt) pushKey(inputs, VK_MENU, false);
        if (key.vk) {
            pushKey(inputs, key.vk, false);
            pushKey(inputs, key.vk, true);
        } else {
            pushChar(inputs, key.ch, false);
            pushChar(inputs, key.ch, true);
        }
        if (key.alt) pushKey(inputs, VK_MENU, true);
        if (key.control) pushKey(inputs, VK_CONTROL, true);
        if (key.shift) pushKey(inputs, VK_SHIFT, true);
    }
    if (!inputs.empty()) SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

LPARAM keyLParam(WORD vk, bool alt, bool up) {
    const UINT scan = MapVirtualKeyW(vk, MAPVK_VK_TO_VSC);
    LPARAM l = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (alt) l |= LPARAM{1} << 29;  // the context code: Alt is down
    if (up) l |= (LPARAM{1} << 30) | (LPARAM{1} << 31);
    return l;
}

// Without the input queue: the messages a window would receive for the keys, sent (bounded) rather than
// posted so that the window has acted on them when SendKeys returns, as with the in-memory Office. A key
// held with Alt comes as WM_SYSKEYDOWN with the context bit set, as Windows delivers Alt+F11.
void sendByMessage(std::vector<KeyStroke> keys) {
    const HWND target = GetForegroundWindow();
    if (!target) return;
    const auto send = [target](UINT message, WPARAM wParam, LPARAM lParam) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(target, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    };
    for (KeyStroke& key : keys) {
        resolve(key);
        const UINT down = key.alt ? WM_SYSKEYDOWN : WM_KEYDOWN;
        const UINT up = key.alt ? WM_SYSKEYUP : WM_KEYUP;
        if (key.alt) send(WM_SYSKEYDOWN, VK_MENU, keyLParam(VK_MENU, true, false));
        if (key.control) send(down, VK_CONTROL, keyLParam(VK_CONTROL, key.alt, false));
        if (key.shift) send(down, VK_SHIFT, keyLParam(VK_SHIFT, key.alt, false));
        if (key.vk) {
            send(down, key.vk, keyLParam(key.vk, key.alt, false));
            send(up, key.vk, keyLParam(key.vk, key.alt, true));
        } else {
            send(key.alt ? WM_SYSCHAR : WM_CHAR, key.ch, 1);
        }
        if (key.shift) send(up, VK_SHIFT, keyLParam(VK_SHIFT, key.alt, true));
        if (key.control) send(up, VK_CONTROL, keyLParam(VK_CONTROL, key.alt, true));
        if (key.alt) send(WM_KEYUP, VK_MENU, keyLParam(VK_MENU, false, true));
    }
}

class ComWshShell final : public WshShell {
public:
    ComWshShell(std::function<void(const std::string&)> keysSent, KeyDelivery delivery)
        : keysSent_(std::move(keysSent)), delivery_(delivery) {}

    void SendKeys(const std::string& keys, const Optional& wait) override {
        if (wait) (void)wait->toBool();
        std::vector<KeyStroke> strokes = parseSendKeys(keys);
        if (keysSent_) keysSent_(keys);
        if (delivery_ == KeyDelivery::Input) {
            sendByInput(std::move(strokes));
        } else {
            sendByMessage(std::move(strokes));
        }
    }

private:
    std::function<void(const std::string&)> keysSent_;
    KeyDelivery delivery_;
};

}  // namespace

HWND toHwnd(WindowHandle window) { return reinterpret_cast<HWND>(static_cast<std::intptr_t>(window)); }

WindowHandle toHandle(HWND window) { return static_cast<WindowHandle>(reinterpret_cast<std::intptr_t>(window)); }

ComPtr<IDispatch> activeObject(const std::string& progId) {
    CLSID clsid{};
    const std::wstring wide = toUtf16(progId);
    if (wide.empty() || FAILED(CLSIDFromProgID(wide.c_str(), &clsid))) throw cannotCreateObject();
    ComPtr<IUnknown> unknown;
    const HRESULT hr = GetActiveObject(clsid, nullptr, unknown.put());
    if (FAILED(hr)) {
        if (hr == MK_E_UNAVAILABLE) throw cannotCreateObject();
        throw errorFromHresult(hr, nullptr, "GetObject", "Global");
    }
    auto dispatch = unknown.as<IDispatch>();
    if (!dispatch) throw errorFromHresult(E_NOINTERFACE, nullptr, "GetObject", "Global");
    return dispatch;
}

ComDesktop::ComDesktop(std::function<void(const std::string&)> keysSent, KeyDelivery delivery)
    : session_(std::make_shared<ComSession>()), keysSent_(std::move(keysSent)), delivery_(delivery) {
    session_->clicks = std::make_shared<ClickConnections>();
}

ComDesktop::~ComDesktop() = default;

ObjectPtr ComDesktop::GetObject(const std::string& progId) {
    return wrapApplication(activeObject(progId), hostKeyOf(progId), session_);
}

ObjectPtr ComDesktop::CreateObject(const std::string& progId) {
    if (sameName(progId, "WScript.Shell")) return std::make_shared<ComWshShell>(keysSent_, delivery_);
    throw cannotCreateObject();
}

WindowHandle ComDesktop::FindWindow(const std::string& className) {
    const std::wstring wide = toUtf16(className);
    return toHandle(FindWindowW(wide.c_str(), nullptr));
}

bool ComDesktop::ShowWindow(WindowHandle window, int command) {
    const HWND hwnd = toHwnd(window);
    if (!hwnd || !IsWindow(hwnd) || command < 0 || command > 11) return false;
    return ::ShowWindow(hwnd, command) != FALSE;
}

bool ComDesktop::SetForegroundWindow(WindowHandle window) {
    const HWND hwnd = toHwnd(window);
    if (!hwnd || !IsWindow(hwnd)) return false;
    if (!::SetForegroundWindow(hwnd)) return false;
    // Another process's window comes to the front when its thread has taken the activation: wait (bounded)
    // for that, so that keys sent next reach it, as they would a person who clicked it.
    const DWORD started = GetTickCount();
    while (GetForegroundWindow() != hwnd && GetTickCount() - started < 2000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

}  // namespace tessaline::automation::com
