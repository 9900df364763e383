// The window's dialogs are real Win32 dialogs: driven here through their own windows, as a person would,
// by a timer that runs inside their modal loops.
#include "winui/WinUi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "shell/MenuItem.h"
#include "winui/MainWindow.h"
#include "winui/WideText.h"
#include "WhenShown.h"

namespace tessaline::winui {
namespace {

// A plain window to own the dialogs, as the main window does.
class OwnerWindow {
public:
    OwnerWindow() {
        hwnd_ = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPED | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    }
    ~OwnerWindow() { DestroyWindow(hwnd_); }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_;
};

TEST(WinUiTest, MessageBoxesTakeVbFlagsAndAnswerWithVbResults) {
    EXPECT_EQ(WinUi::messageBoxFlags(4 + 32 + 256), static_cast<UINT>(MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2));
    EXPECT_EQ(WinUi::messageBoxFlags(16), static_cast<UINT>(MB_OK | MB_ICONHAND));
    // No VB button set beyond Retry/Cancel: an OK box.
    EXPECT_EQ(WinUi::messageBoxFlags(7 + 64), static_cast<UINT>(MB_OK | MB_ICONASTERISK));

    OwnerWindow owner;
    WinUi ui("Tessaline");
    ui.setWindow(owner.hwnd());
    std::wstring title;
    std::wstring prompt;
    WhenShown answer(L"#32770", [&](HWND box) {
        title = windowText(box);
        // The prompt is the box's static text; the No button has the id IDNO.
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0) prompt = windowText(child);
        }
        PostMessageW(box, WM_COMMAND, IDNO, 0);
    });
    EXPECT_EQ(ui.MsgBox("关闭?", 4 + 32, ""), shell::vbmsg::ResultNo);
    EXPECT_TRUE(answer.acted());
    EXPECT_EQ(title, L"Tessaline");
    EXPECT_EQ(prompt, L"关闭?");
}

TEST(WinUiTest, TheInputBoxShowsTitlePromptAndDefaultAndReturnsWhatWasTyped) {
    OwnerWindow owner;
    WinUi ui("Tessaline");
    ui.setWindow(owner.hwnd());
    std::wstring title;
    std::wstring prompt;
    std::wstring shownDefault;
    WhenShown type(L"#32770", [&](HWND box) {
        title = windowText(box);
        prompt = windowText(GetDlgItem(box, kInputBoxPrompt));
        shownDefault = windowText(GetDlgItem(box, kInputBoxEdit));
        SetDlgItemTextW(box, kInputBoxEdit, L"新工具栏");
        PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(ui.InputBox("工具栏名称:", "新建", "Toolbar 1"), "新工具栏");
    EXPECT_EQ(title, L"新建");
    EXPECT_EQ(prompt, L"工具栏名称:");
    EXPECT_EQ(shownDefault, L"Toolbar 1");

    WhenShown cancel(L"#32770", [](HWND box) { PostMessageW(box, WM_COMMAND, IDCANCEL, 0); });
    EXPECT_EQ(ui.InputBox("名称", "", "默认"), "");
    EXPECT_TRUE(cancel.acted());
}

TEST(WinUiTest, APopupMenuShowsTheVisibleItemsAndReturnsTheOneChosen) {
    OwnerWindow owner;
    WinUi ui("Tessaline");
    ui.setWindow(owner.hwnd());
    shell::MenuItem menu("CommandbarOperation", "");
    menu.add("Hidden", "隐藏的", false);
    menu.add("ShowCommandbar", "显示");
    menu.add("Sep3", "-");
    menu.add("CloseCommandbar", "关闭");
    int items = -1;
    WhenShown choose(L"#32768", [&](HWND popup) {
        items = static_cast<int>(SendMessageW(popup, MN_GETHMENU, 0, 0) != 0
                                     ? GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0)))
                                     : -1);
        // Down to the first item, over the separator to the second, and choose it.
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(popup, WM_KEYDOWN, key, 0);
            PostMessageW(popup, WM_KEYUP, key, 0xC0000000);
        }
    });
    shell::MenuItem* chosen = ui.PopupMenu(menu);
    EXPECT_EQ(items, 3);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Name(), "CloseCommandbar");
}

// What `text` looks like in the window's face at its size: the pixels of a small black-on-white picture.
std::vector<std::uint32_t> drawn(const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 32;
    info.bmiHeader.biHeight = -32;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, MainWindow::uiFaceName());
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, font);
    RECT all{0, 0, 32, 32};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    TextOutW(dc, 2, 2, text.c_str(), static_cast<int>(text.size()));
    GdiFlush();
    const auto* begin = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(begin, begin + 32 * 32);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(font);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return pixels;
}

TEST(WinUiTest, ChineseCaptionsAreDrawnAsGlyphsNotBoxes) {
    // Characters the face has no glyph for are all drawn as the same box; drawn, they differ.
    const auto first = drawn(L"选");
    const auto second = drawn(L"择");
    const auto blank = drawn(L" ");
    EXPECT_TRUE(first != blank);
    EXPECT_TRUE(first != second) << "Chinese text comes out as boxes: is a Chinese font linked behind "
                                 << "Tahoma (scripts/wine-prefix.sh)?";
}

TEST(WinUiTest, ATopmostRequestMadeBeforeTheWindowExistsIsAppliedToIt) {
    // Form_Load asks for it before the window is made.
    WinUi ui("Tessaline");
    EXPECT_TRUE(ui.SetTopmost());
    OwnerWindow owner;
    EXPECT_EQ(GetWindowLongW(owner.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    ui.setWindow(owner.hwnd());
    EXPECT_NE(GetWindowLongW(owner.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST(WinUiTest, TheClipboardCarriesChineseTextAndLineEnds) {
    OwnerWindow owner;
    WinUi ui("Tessaline");
    ui.setWindow(owner.hwnd());
    ui.ClipboardSetText("Sub 我来了()\r\n    MsgBox \"你好\"\r\nEnd Sub");
    EXPECT_EQ(ui.ClipboardGetText(), "Sub 我来了()\r\n    MsgBox \"你好\"\r\nEnd Sub");
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    CloseClipboard();
    ui.ClipboardClear();
    EXPECT_EQ(ui.ClipboardGetText(), "");
}

}  // namespace
}  // namespace tessaline::winui
