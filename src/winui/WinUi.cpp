#include "winui/WinUi.h"

#include <shellapi.h>
#undef ShellExecute

#include <cstring>
#include <map>
#include <utility>
#include <vector>

#include "shell/MenuItem.h"
#include "winui/Menus.h"
#include "winui/WideText.h"

namespace tessaline::winui {

namespace {

// The clipboard is one for the whole desktop: another program may hold it for a moment.
class ClipboardLock {
public:
    explicit ClipboardLock(HWND owner) {
        for (int attempt = 0; attempt < 20 && !open_; ++attempt) {
            open_ = OpenClipboard(owner) != FALSE;
            if (!open_) Sleep(10);
        }
    }
    ~ClipboardLock() {
        if (open_) CloseClipboard();
    }
    ClipboardLock(const ClipboardLock&) = delete;
    ClipboardLock& operator=(const ClipboardLock&) = delete;
    bool open() const { return open_; }

private:
    bool open_ = false;
};

static_assert(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18, "packed dialog templates");

// An input box as VB draws it: the prompt at the left, OK and Cancel at the right, the entry below.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short cx, short cy, const wchar_t* face, WORD points) {
        DLGTEMPLATE header{};
        header.style = style;
        header.cx = cx;
        header.cy = cy;
        append(&header, sizeof(header));
        countOffset_ = offsetof(DLGTEMPLATE, cdit);
        word(0);  // no menu
        word(0);  // the standard dialog class
        word(0);  // the title is set when the box opens
        word(points);
        text(face);
    }

    void item(WORD atom, int id, DWORD style, short x, short y, short cx, short cy) {
        align();
        DLGITEMTEMPLATE header{};
        header.style = style | WS_CHILD | WS_VISIBLE;
        header.x = x;
        header.y = y;
        header.cx = cx;
        header.cy = cy;
        header.id = static_cast<WORD>(id);
        append(&header, sizeof(header));
        word(0xFFFF);
        word(atom);
        word(0);  // texts are set when the box opens
        word(0);  // no creation data
        WORD count = 0;
        std::memcpy(&count, bytes_.data() + countOffset_, sizeof(count));
        ++count;
        std::memcpy(bytes_.data() + countOffset_, &count, sizeof(count));
    }

    const DLGTEMPLATE* get() {
        align();
        return reinterpret_cast<const DLGTEMPLATE*>(bytes_.data());
    }

private:
    void append(const void* data, std::size_t size) {
        const auto* p = static_cast<const unsigned char*>(data);
        bytes_.insert(bytes_.end(), p, p + size);
    }
    void word(WORD value) { append(&value, sizeof(value)); }
    void text(const wchar_t* value) { append(value, (std::wcslen(value) + 1) * sizeof(wchar_t)); }
    void align() {
        while (bytes_.size() % 4 != 0) bytes_.push_back(0);
    }

    // DWORD-aligned storage, as the template must be.
    std::vector<unsigned char> bytes_;
    std::size_t countOffset_ = 0;
};

struct InputBoxState {
    std::wstring title;
    std::wstring prompt;
    std::wstring defaultText;
    std::wstring answer;
};

constexpr WORD kButtonAtom = 0x0080;
constexpr WORD kEditAtom = 0x0081;
constexpr WORD kStaticAtom = 0x0082;

INT_PTR CALLBACK inputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_INITDIALOG: {
            auto* state = reinterpret_cast<InputBoxState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            SetWindowTextW(dialog, state->title.c_str());
            SetDlgItemTextW(dialog, kInputBoxPrompt, state->prompt.c_str());
            SetDlgItemTextW(dialog, kInputBoxEdit, state->defaultText.c_str());
            SetDlgItemTextW(dialog, IDOK, L"OK");
            SetDlgItemTextW(dialog, IDCANCEL, L"Cancel");
            HWND edit = GetDlgItem(dialog, kInputBoxEdit);
            SendMessageW(edit, EM_SETSEL, 0, -1);
            SetFocus(edit);
            return FALSE;
        }
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
                state->answer = windowText(GetDlgItem(dialog, kInputBoxEdit));
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        default:
            return FALSE;
    }
}

}  // namespace

WinUi::WinUi(std::string programTitle) : programTitle_(std::move(programTitle)) {}

void WinUi::setWindow(HWND window) {
    window_ = window;
    if (topmostWanted_) SetTopmost();
}

std::string WinUi::titleOr(const std::string& title) const { return title.empty() ? programTitle_ : title; }

UINT WinUi::messageBoxFlags(int vbButtons) {
    constexpr int kKnown = shell::vbmsg::ButtonMask | shell::vbmsg::IconMask | MB_DEFMASK | MB_SYSTEMMODAL |
                           MB_SETFOREGROUND | MB_TOPMOST | MB_RIGHT | MB_RTLREADING;
    UINT flags = static_cast<UINT>(vbButtons & kKnown);
    // Buttons 6 and above are no VB buttons; they fall back to OK as VB does.
    if ((flags & MB_TYPEMASK) > MB_RETRYCANCEL) flags &= ~static_cast<UINT>(MB_TYPEMASK);
    return flags;
}

int WinUi::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
    const UINT flags = messageBoxFlags(buttons) | (window_ == nullptr ? MB_TASKMODAL : 0);
    const int result = MessageBoxW(window_, editText(prompt).c_str(), wide(titleOr(title)).c_str(), flags);
    // The Windows results are VB's (1 OK ... 7 No); a box that failed to open answers as if dismissed.
    if (result != 0) return result;
    switch (flags & MB_TYPEMASK) {
        case MB_OK:
            return shell::vbmsg::ResultOK;
        case MB_YESNO:
            return shell::vbmsg::ResultNo;
        case MB_ABORTRETRYIGNORE:
            return IDIGNORE;
        default:
            return shell::vbmsg::ResultCancel;
    }
}

std::string WinUi::InputBox(const std::string& prompt, const std::string& title, const std::string& defaultText) {
    InputBoxState state{wide(titleOr(title)), editText(prompt), wide(defaultText), {}};
    DialogTemplate layout(DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU, 250, 94,
                          L"Tahoma", 9);
    layout.item(kStaticAtom, kInputBoxPrompt, SS_LEFT | SS_NOPREFIX, 7, 7, 176, 60);
    layout.item(kButtonAtom, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 190, 7, 53, 14);
    layout.item(kButtonAtom, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 190, 25, 53, 14);
    layout.item(kEditAtom, kInputBoxEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 7, 73, 236, 13);
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), layout.get(), window_, &inputBoxProc,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return "";
    return modelFromEdit(state.answer);
}

shell::MenuItem* WinUi::PopupMenu(shell::MenuItem& menu) {
    HMENU popup = CreatePopupMenu();
    std::map<UINT, shell::MenuItem*> commands;
    appendMenuItems(popup, menu, [&commands](shell::MenuItem& item) {
        const auto id = static_cast<UINT>(commands.size() + 1);
        commands[id] = &item;
        return id;
    });
    shell::MenuItem* chosen = nullptr;
    HWND owner = window_ != nullptr ? window_ : GetActiveWindow();
    if (!commands.empty() && owner != nullptr) {
        POINT at{};
        GetCursorPos(&at);
        // The menu closes when the user clicks elsewhere only if its owner is the foreground window.
        SetForegroundWindow(owner);
        const auto id = static_cast<UINT>(
            TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y, 0, owner, nullptr));
        PostMessageW(owner, WM_NULL, 0, 0);
        auto found = commands.find(id);
        if (found != commands.end()) chosen = found->second;
    }
    DestroyMenu(popup);
    return chosen;
}

void WinUi::ClipboardClear() {
    const ClipboardLock lock(window_);
    if (lock.open()) EmptyClipboard();
}

void WinUi::ClipboardSetText(const std::string& text) {
    const std::wstring content = editText(text);
    const ClipboardLock lock(window_);
    if (!lock.open()) return;
    EmptyClipboard();
    const std::size_t bytes = (content.size() + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (memory == nullptr) return;
    if (void* target = GlobalLock(memory)) {
        std::memcpy(target, content.c_str(), bytes);
        GlobalUnlock(memory);
        // On success the clipboard owns the memory.
        if (SetClipboardData(CF_UNICODETEXT, memory) != nullptr) return;
    }
    GlobalFree(memory);
}

std::string WinUi::ClipboardGetText() {
    const ClipboardLock lock(window_);
    if (!lock.open()) return "";
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return "";
    const auto* text = static_cast<const wchar_t*>(GlobalLock(data));
    if (text == nullptr) return "";
    // The text ends at its NUL or at the end of the block, whichever comes first.
    const std::size_t limit = GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < limit && text[length] != L'\0') ++length;
    std::string result = utf8(std::wstring_view(text, length));
    GlobalUnlock(data);
    return result;
}

void WinUi::DoEvents() {
    // What is queued now, not what keeps arriving: a job calls this often and must go on.
    MSG message;
    for (int budget = 10000; budget > 0 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); --budget) {
        if (message.message == WM_QUIT) {
            // The loop outside ends the program; the job finishes first.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

void WinUi::ShellExecute(const std::string& path) {
    // Whatever the shell makes of it is its own affair; a missing file or program is not reported.
    ShellExecuteW(window_, L"open", wide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

bool WinUi::SetTopmost() {
    topmostWanted_ = true;
    if (window_ == nullptr) return true;
    return SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) != FALSE;
}

void WinUi::Unload() {
    // The handler that asked is still running on the window's stack: the window goes once it returns.
    if (window_ != nullptr && IsWindow(window_)) {
        PostMessageW(window_, WM_CLOSE, 0, 0);
    } else {
        PostQuitMessage(0);
    }
}

void WinUi::Minimize() {
    if (window_ != nullptr) ShowWindow(window_, SW_MINIMIZE);
}

}  // namespace tessaline::winui
