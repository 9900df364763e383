// The window of Form1 in Win32, driven by the window messages a user's clicks and keys make, against the
// in-memory Office that tessaline-office.exe serves from another process. Dialogs are answered by a script.
#include "automation/com/Win32.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <richedit.h>

#include <cstring>
#include <memory>
#include <string>

#include "WhenShown.h"
#include "automation/Excel.h"
#include "automation/Office.h"
#include "automation/com/RemoteOffice.h"
#include "program/Startup.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "shell/TreeNodes.h"
#include "winui/FlexGridWindow.h"
#include "winui/MainWindow.h"
#include "winui/WideText.h"
#include "winui/WinUi.h"

namespace tessaline::winui {
namespace {

using shell::vbmsg::ResultNo;
using shell::vbmsg::ResultYes;

void pump() {
    MSG message;
    for (int budget = 1000; budget > 0 && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); --budget) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        automation::com::RemoteOffice::Options options;
        options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
        options.serverPath = TESSALINE_OFFICE_EXE;
        office = std::make_unique<automation::com::RemoteOffice>(options);
        form = program::openMainWindow(*office, ui);
        window = std::make_unique<MainWindow>(*form, MainWindow::Options{false});
        ASSERT_NE(window->hwnd(), nullptr) << "no window: is there a display?";
        window->show();
        pump();
    }
    void TearDown() override {
        window.reset();
        form.reset();
        office.reset();
    }

    HWND control(const char* name) {
        HWND found = window->controlWindow(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // The control's place in the window's client area, in pixels.
    RECT placeOf(const char* name) {
        RECT rect{};
        GetWindowRect(control(name), &rect);
        MapWindowPoints(nullptr, window->hwnd(), reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    RECT expected(int left, int top, int width, int height) {
        const Twips& t = window->twips();
        return RECT{t.px(left), t.px(top), t.px(left) + t.px(width), t.px(top) + t.px(height)};
    }
    std::string panel(int index) {
        wchar_t text[256] = {};
        SendMessageW(window->statusBar(), SB_GETTEXTW, static_cast<WPARAM>(index - 1), reinterpret_cast<LPARAM>(text));
        return utf8(text);
    }
    void click(HWND target, UINT down, POINT at) {
        const LPARAM where = MAKELPARAM(at.x, at.y);
        SendMessageW(target, down, down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, where);
        SendMessageW(target, down == WM_LBUTTONDOWN ? WM_LBUTTONUP : WM_RBUTTONUP, 0, where);
        pump();
    }
    void clickCell(const char* grid, int row, int col, UINT down = WM_LBUTTONDOWN) {
        FlexGridWindow* view = window->gridWindow(grid);
        ASSERT_NE(view, nullptr);
        POINT at{};
        ASSERT_TRUE(view->cellCenter(row, col, at)) << grid << " cell " << row << "," << col << " is not shown";
        click(view->hwnd(), down, at);
    }
    void key(HWND target, WPARAM virtualKey) {
        SendMessageW(target, WM_KEYDOWN, virtualKey, 1);
        SendMessageW(target, WM_KEYUP, virtualKey, 0xC0000001);
    }
    void type(HWND target, const std::wstring& text, UINT message = WM_CHAR) {
        for (wchar_t c : text) SendMessageW(target, message, c, 1);
    }
    void attachExcel() {
        SendMessageW(control("Excel"), BM_CLICK, 0, 0);
        pump();
    }
    // Lists the controls of "Standard" through clicks: Excel's option button, then the bar's name.
    void listStandard() {
        attachExcel();
        ASSERT_EQ(form->ListAllCommandbars.TextMatrix(2, 1), "Standard");
        clickCell("ListAllCommandbars", 2, 1);
        ASSERT_EQ(form->ListAllCommandControls.Rows(), 6);
    }

    std::unique_ptr<automation::com::RemoteOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    std::unique_ptr<MainWindow> window;
};

TEST_F(WindowTest, ControlsSitAtTheirTwipsPlacesUnderTheThreeMenus) {
    EXPECT_EQ(windowText(window->hwnd()), L"Tessaline");
    RECT client{};
    GetClientRect(window->hwnd(), &client);
    EXPECT_EQ(client.right, window->twips().px(13905));
    EXPECT_EQ(client.bottom, window->twips().px(8520));

    auto expectPlace = [&](const char* name, RECT want) {
        const RECT got = placeOf(name);
        EXPECT_TRUE(EqualRect(&got, &want))
            << name << ": " << got.left << "," << got.top << " " << got.right << "," << got.bottom << " wanted "
            << want.left << "," << want.top << " " << want.right << "," << want.bottom;
    };
    expectPlace("Frame1", expected(120, 120, 2295, 2715));
    // The option buttons lie in the frame, at the frame's place plus their own.
    expectPlace("Excel", expected(120 + 120, 120 + 240, 1215, 375));
    expectPlace("Void", expected(120 + 120, 120 + 2220, 1215, 375));
    expectPlace("ListAllCommandbars", expected(2520, 120, 8625, 3195));
    expectPlace("ListAllCommandControls", expected(135, 3480, 11010, 4005));
    expectPlace("IDString", expected(1391, 7560, 8111, 375));
    expectPlace("StatusBar1", expected(0, 8145, 13905, 375));
    EXPECT_EQ(windowText(control("Frame1")), L"选择Office组件");
    EXPECT_EQ(windowText(control("BatchCopy")), L"批量追加到");
    EXPECT_EQ(SendMessageW(control("Void"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control("ShowMacroList"), BM_GETCHECK, 0, 0), BST_CHECKED);

    // Hidden at start: the code box over the bar grid and the tree over the macro list, which lie above.
    EXPECT_FALSE(IsWindowVisible(control("Code")));
    EXPECT_FALSE(IsWindowVisible(control("TreeView1")));
    EXPECT_TRUE(IsWindowVisible(control("ListMacros")));
    auto above = [&](const char* upper, const char* lower) {
        for (HWND w = GetWindow(control(lower), GW_HWNDPREV); w != nullptr; w = GetWindow(w, GW_HWNDPREV)) {
            if (w == control(upper)) return true;
        }
        return false;
    };
    EXPECT_TRUE(above("Code", "ListAllCommandbars"));
    EXPECT_TRUE(above("TreeView1", "ListMacros"));
    EXPECT_TRUE(above("ListMacros", "RichTextBox1"));
    EXPECT_TRUE(above("Excel", "Frame1"));

    CHARFORMAT2W format{};
    format.cbSize = sizeof(format);
    SendMessageW(control("RichTextBox1"), EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    EXPECT_STREQ(format.szFaceName, L"Times New Roman");

    EXPECT_EQ(SendMessageW(window->statusBar(), SB_GETPARTS, 0, 0), 6);

    // The menu bar: the top menus with their access keys; the seven popup menus are not on it.
    HMENU bar = GetMenu(window->hwnd());
    ASSERT_NE(bar, nullptr);
    int visibleTops = 0;
    for (const auto& top : form->menuBar()) visibleTops += top->Visible() ? 1 : 0;
    ASSERT_EQ(GetMenuItemCount(bar), visibleTops);
    EXPECT_EQ(form->menuBar().size(), static_cast<std::size_t>(visibleTops) + 7);
    wchar_t caption[64] = {};
    GetMenuStringW(bar, 0, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"文件(&F)");
    GetMenuStringW(bar, 2, caption, 64, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"帮助(&H)");
    GetMenuStringW(bar, window->commandId("menuExit"), caption, 64, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"退出(&X)");
}

TEST_F(WindowTest, ClicksAttachExcelAndABarNameListsItsControls) {
    attachExcel();
    EXPECT_NE(form->HostApp, nullptr);
    EXPECT_EQ(SendMessageW(control("Excel"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageW(control("Void"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(panel(1), "Excel");
    EXPECT_EQ(form->ListAllCommandbars.TextMatrix(1, 1), "Worksheet Menu Bar");

    clickCell("ListAllCommandbars", 2, 1);
    EXPECT_EQ(form->ListAllCommandbars.Row(), 2);
    ASSERT_NE(form->CurrentBar, nullptr);
    EXPECT_EQ(form->CurrentBar->Name(), "Standard");
    EXPECT_EQ(panel(2), "Standard");
    EXPECT_EQ(form->ListAllCommandControls.Rows(), 6);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)");

    // A click on a header cell never makes it current; a click on a control row shows its place and ID.
    clickCell("ListAllCommandbars", 0, 2);
    EXPECT_GE(form->ListAllCommandbars.Row(), 1);
    clickCell("ListAllCommandControls", 3, 2);
    EXPECT_EQ(panel(3), "3/6");
    EXPECT_EQ(panel(4), form->ListAllCommandControls.TextMatrix(3, 1));

    // Back to Nothing: detached, and the grid shows it.
    SendMessageW(control("Void"), BM_CLICK, 0, 0);
    pump();
    EXPECT_EQ(form->HostApp, nullptr);
    EXPECT_EQ(SendMessageW(control("Excel"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(panel(1), "Nothing");
}

TEST_F(WindowTest, KeysAndComposedCharactersReachTheControlGrid) {
    listStandard();
    HWND grid = control("ListAllCommandControls");
    clickCell("ListAllCommandControls", 1, 2);
    type(grid, L"ab");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)ab");
    key(grid, VK_BACK);
    type(grid, L"\b");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)a");
    // Chinese comes from an input method as WM_IME_CHAR, or typed as WM_CHAR; a character beyond the
    // basic plane comes as two halves.
    type(grid, L"中文", WM_IME_CHAR);
    type(grid, L"字\U00020000");
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "新建(&N)a中文字\xF0\xA0\x80\x80");
    key(grid, VK_DELETE);
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 2), "");

    // Arrows walk the current cell over the data cells only.
    key(grid, VK_DOWN);
    key(grid, VK_RIGHT);
    EXPECT_EQ(form->ListAllCommandControls.Row(), 2);
    EXPECT_EQ(form->ListAllCommandControls.Col(), 3);
    key(grid, VK_UP);
    key(grid, VK_UP);
    EXPECT_EQ(form->ListAllCommandControls.Row(), 1);

    // A double click on a flag cell toggles it.
    const std::string before = form->ListAllCommandControls.TextMatrix(1, 7);
    FlexGridWindow* view = window->gridWindow("ListAllCommandControls");
    POINT at{};
    ASSERT_TRUE(view->cellCenter(1, 7, at));
    SendMessageW(grid, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_EQ(form->ListAllCommandControls.TextMatrix(1, 7), before == "True" ? "False" : "True");
}

TEST_F(WindowTest, ARightClickMenuCommandChangesTheHost) {
    listStandard();
    const auto standard = office->host("Excel");
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(standard);
    ASSERT_TRUE(excel);
    ASSERT_TRUE(excel->CommandBars()->Item(automation::Variant("Standard"))->Visible());

    // The right button opens the bar menu without moving the current row; its Close hides the bar.
    ui.queuePopupChoice("CloseCommandbar");
    clickCell("ListAllCommandbars", 4, 3, WM_RBUTTONDOWN);
    ASSERT_EQ(ui.popups.size(), 1U);
    EXPECT_EQ(ui.popups.back().menu, "CommandbarOperation");
    EXPECT_EQ(ui.popups.back().chosen, "CloseCommandbar");
    EXPECT_EQ(form->ListAllCommandbars.Row(), 2);
    EXPECT_FALSE(excel->CommandBars()->Item(automation::Variant("Standard"))->Visible());

    // The control grid opens the control menu; the frame the host menu, now that a host is attached.
    clickCell("ListAllCommandControls", 4, 5, WM_RBUTTONDOWN);
    ASSERT_EQ(ui.popups.size(), 2U);
    EXPECT_EQ(ui.popups.back().menu, "CommandbarControlOperation");
    const Twips& t = window->twips();
    click(control("Frame1"), WM_RBUTTONDOWN, POINT{t.px(2000), t.px(1500)});
    ASSERT_EQ(ui.popups.size(), 3U);
    EXPECT_EQ(ui.popups.back().menu, "MenuApp");
}

TEST_F(WindowTest, MenuCommandsStatusPanelsAndEscReachTheirHandlers) {
    SendMessageW(window->hwnd(), WM_COMMAND, MAKEWPARAM(window->commandId("menuAbout"), 0), 0);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages.back().title, "产品信息 & 联系方式");

    // A shortcut runs its item from wherever the focus is, and shows at the item's right.
    form->menu("menuAbout").SetShortcut("Ctrl+F1");
    pump();
    wchar_t caption[64] = {};
    GetMenuStringW(GetMenu(window->hwnd()), window->commandId("menuAbout"), caption, 64, MF_BYCOMMAND);
    EXPECT_STREQ(caption, L"关于...\tCtrl+F1");
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    const MSG press{control("IDString"), WM_KEYDOWN, VK_F1, 1, 0, {}};
    const bool used = window->preTranslate(press);
    // In a text box Ctrl+Z is the box's own undo, not the tools menu's.
    const MSG undo{control("IDString"), WM_KEYDOWN, 'Z', 1, 0, {}};
    const bool undoTaken = window->preTranslate(undo);
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    EXPECT_TRUE(used);
    EXPECT_FALSE(undoTaken);
    EXPECT_EQ(ui.messages.size(), 2U);
    ui.messages.pop_back();

    // A double click on the fifth panel leaves the sub-menu.
    form->StatusBar1.SetPanelText(5, "文件(&F)");
    EXPECT_EQ(panel(5), "文件(&F)");
    NMMOUSE mouse{};
    mouse.hdr.hwndFrom = window->statusBar();
    mouse.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window->statusBar()));
    mouse.hdr.code = NM_DBLCLK;
    mouse.dwItemSpec = 4;
    SendMessageW(window->hwnd(), WM_NOTIFY, mouse.hdr.idFrom, reinterpret_cast<LPARAM>(&mouse));
    EXPECT_EQ(form->StatusBar1.PanelText(5), "");
    EXPECT_EQ(panel(5), "");

    // The bar grid's tooltip is the one its handlers set for the column clicked.
    attachExcel();
    clickCell("ListAllCommandbars", 1, 5);
    EXPECT_EQ(window->toolTipOf(control("ListAllCommandbars")), L"工具栏类型:菜单栏=1,普通=0,快捷菜单=2");

    // Esc is the window's key, in the text box as in the grid: No minimizes, Yes closes the window.
    ui.queueMsgBoxAnswer(ResultNo);
    key(control("IDString"), VK_ESCAPE);
    ASSERT_EQ(ui.messages.size(), 2U);
    EXPECT_EQ(ui.messages.back().prompt, "关闭?");
    EXPECT_FALSE(form->isUnloaded());
    ui.queueMsgBoxAnswer(ResultYes);
    key(control("ListAllCommandbars"), VK_ESCAPE);
    EXPECT_TRUE(form->isUnloaded());
    EXPECT_TRUE(ui.unloaded);
}

TEST_F(WindowTest, TypingIntoTheTextBoxAndTheModelsChangesShowBothWays) {
    HWND edit = control("IDString");
    SetWindowTextW(edit, L"2520,工具");
    EXPECT_EQ(form->IDString.Text(), "2520,工具");
    form->IDString.SetText("新的");
    EXPECT_EQ(windowText(edit), L"新的");

    form->ListMacros.AddItem("宏一");
    form->ListMacros.AddItem("宏二");
    form->ListMacros.SetListIndex(1);
    HWND list = control("ListMacros");
    EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), 1);

    form->RichTextBox1.SetText("Sub 我来了()\r\nEnd Sub");
    form->RichTextBox1.SetSelStart(11);
    form->RichTextBox1.SetSelLength(3);
    CHARRANGE range{};
    SendMessageW(control("RichTextBox1"), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    // CR LF is two characters of the model and one break of the control.
    EXPECT_EQ(range.cpMin, 10);
    EXPECT_EQ(range.cpMax, 13);
    EXPECT_EQ(form->RichTextBox1.SelText(), "End");
    // A TAB of the macro stubs is four blanks wide.
    PARAFORMAT2 tabs{};
    tabs.cbSize = sizeof(tabs);
    SendMessageW(control("RichTextBox1"), EM_GETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&tabs));
    ASSERT_GT(tabs.cTabCount, 1);
    EXPECT_GT(tabs.rgxTabs[0], 100);
    EXPECT_EQ(tabs.rgxTabs[1] & 0xFFFFFF, 2 * (tabs.rgxTabs[0] & 0xFFFFFF));
}

TEST_F(WindowTest, ListAndTreeClicksReachTheirHandlers) {
    int listClicks = 0;
    form->ListMacros.onClick = [&] { ++listClicks; };
    std::string nodeClicked;
    form->TreeView1.onNodeClick = [&](shell::TreeNode& node) { nodeClicked = node.Key(); };

    form->ListMacros.AddItem("Module1.宏一");
    form->ListMacros.AddItem("Module1.宏二");
    HWND list = control("ListMacros");
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    click(list, WM_LBUTTONDOWN, POINT{item.left + 5, (item.top + item.bottom) / 2});
    EXPECT_EQ(form->ListMacros.ListIndex(), 1);
    EXPECT_EQ(listClicks, 1);

    shell::TreeNode& excel = form->TreeView1.Nodes().Add(std::nullopt, std::nullopt, "Excel", "Excel");
    form->TreeView1.Nodes().Add(automation::Variant("Excel"), automation::Variant(shell::tvw::Child), "Excel.Standard",
                                "常用");
    excel.SetExpanded(true);
    form->TreeView1.SetVisible(true);
    pump();
    HWND tree = control("TreeView1");
    ASSERT_TRUE(IsWindowVisible(tree));
    EXPECT_EQ(SendMessageW(tree, TVM_GETCOUNT, 0, 0), 2);
    auto root = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    auto child =
        reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(root)));
    ASSERT_NE(child, nullptr);
    RECT rect{};
    // TVM_GETITEMRECT takes the item in the rectangle's first bytes.
    std::memcpy(&rect, &child, sizeof(child));
    ASSERT_TRUE(SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)));
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    // The tree follows the press until the button comes up: the release waits in the queue.
    PostMessageW(tree, WM_LBUTTONUP, 0, at);
    SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, at);
    pump();
    EXPECT_EQ(nodeClicked, "Excel.Standard");
    ASSERT_NE(form->TreeView1.SelectedItem(), nullptr);
    EXPECT_EQ(form->TreeView1.SelectedItem()->Key(), "Excel.Standard");
}

// With the window's own dialogs: the right button opens a real popup menu at the mouse, and the command
// chosen in it with the keyboard changes the host in the other process.
TEST(WindowWithRealDialogs, APopupMenuCommandChosenByKeyChangesTheHost) {
    automation::com::RemoteOffice::Options options;
    options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    options.serverPath = TESSALINE_OFFICE_EXE;
    automation::com::RemoteOffice office(options);
    WinUi ui("Tessaline");
    const std::unique_ptr<shell::Form1> form = program::openMainWindow(office, ui);
    MainWindow window(*form, MainWindow::Options{false});
    ASSERT_NE(window.hwnd(), nullptr);
    ui.setWindow(window.hwnd());
    window.show();
    pump();

    SendMessageW(window.controlWindow("Excel"), BM_CLICK, 0, 0);
    FlexGridWindow* bars = window.gridWindow("ListAllCommandbars");
    ASSERT_EQ(form->ListAllCommandbars.TextMatrix(2, 1), "Standard");
    POINT at{};
    ASSERT_TRUE(bars->cellCenter(2, 1, at));
    SendMessageW(bars->hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    SendMessageW(bars->hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office.host("Excel"));
    ASSERT_TRUE(excel);
    ASSERT_TRUE(excel->CommandBars()->Item(automation::Variant("Standard"))->Visible());

    // "显示", then "关闭".
    WhenShown choose(L"#32768", [](HWND popup) {
        for (WPARAM key : {VK_DOWN, VK_DOWN, VK_RETURN}) {
            PostMessageW(popup, WM_KEYDOWN, key, 0);
            PostMessageW(popup, WM_KEYUP, key, 0xC0000000);
        }
    });
    SendMessageW(bars->hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(at.x, at.y));
    EXPECT_TRUE(choose.acted());
    EXPECT_FALSE(excel->CommandBars()->Item(automation::Variant("Standard"))->Visible());

    // Esc asks "关闭?" in a real message box; Yes closes the window.
    std::wstring prompt;
    WhenShown answer(L"#32770", [&prompt](HWND box) {
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            if (lstrcmpiW(className, L"Static") == 0 && GetWindowTextLengthW(child) > 0) prompt = windowText(child);
        }
        PostMessageW(box, WM_COMMAND, IDYES, 0);
    });
    SendMessageW(bars->hwnd(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_EQ(prompt, L"关闭?");
    EXPECT_TRUE(form->isUnloaded());
    pump();
    EXPECT_EQ(window.hwnd(), nullptr);
}

}  // namespace
}  // namespace tessaline::winui
