#include "winui/MainWindow.h"

#include <commctrl.h>
#include <richedit.h>
#include <shlwapi.h>

#include <algorithm>

#include "shell/CheckBox.h"
#include "shell/CommandButton.h"
#include "shell/FlexGrid.h"
#include "shell/Form1.h"
#include "shell/Frame.h"
#include "shell/ListBox.h"
#include "shell/MenuItem.h"
#include "shell/OptionButton.h"
#include "shell/RichTextBox.h"
#include "shell/StatusBar.h"
#include "shell/TextBox.h"
#include "shell/TreeView.h"
#include "winui/FlexGridWindow.h"
#include "winui/Keys.h"
#include "winui/Menus.h"
#include "winui/Shortcuts.h"
#include "winui/WideText.h"

namespace tessaline::winui {

namespace {

constexpr wchar_t kClassName[] = L"TessalineForm1";
// The client area below the menu bar, in twips.
constexpr int kClientWidth = 13905;
constexpr int kClientHeight = 8520;
constexpr UINT kRebuildTree = WM_APP + 1;
constexpr UINT kRebuildMenu = WM_APP + 2;
constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kFirstCommand = 100;

class SyncGuard {
public:
    explicit SyncGuard(bool& flag) : flag_(flag), old_(flag) { flag_ = true; }
    ~SyncGuard() { flag_ = old_; }
    SyncGuard(const SyncGuard&) = delete;
    SyncGuard& operator=(const SyncGuard&) = delete;

private:
    bool& flag_;
    bool old_;
};

void registerClass() {
    static const bool registered = [] {
        INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = CS_DBLCLKS;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClassName;
        return RegisterClassExW(&wc) != 0;
    }();
    (void)registered;
}

// The rich edit of the system: version 4.1 where it exists, else 2.0 (both ship with Windows and wine).
const wchar_t* richEditClass() {
    static const wchar_t* const name = []() -> const wchar_t* {
        if (LoadLibraryW(L"Msftedit.dll") != nullptr) return L"RICHEDIT50W";
        if (LoadLibraryW(L"Riched20.dll") != nullptr) return L"RichEdit20W";
        return L"EDIT";
    }();
    return name;
}

// The rich edit's own text, one CR per line break: the text its positions count in.
std::wstring richContent(HWND rich) {
    GETTEXTLENGTHEX length{GTL_NUMCHARS | GTL_PRECISE, 1200};
    const auto count = SendMessageW(rich, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&length), 0);
    if (count <= 0) return {};
    std::wstring text(static_cast<std::size_t>(count) + 1, L'\0');
    GETTEXTEX get{};
    get.cb = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    get.flags = GT_DEFAULT;
    get.codepage = 1200;
    const auto got =
        SendMessageW(rich, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&get), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max<LRESULT>(got, 0)));
    return text;
}

int checkState(int value) {
    switch (value) {
        case shell::vbcheck::Checked:
            return BST_CHECKED;
        case shell::vbcheck::Grayed:
            return BST_INDETERMINATE;
        default:
            return BST_UNCHECKED;
    }
}

}  // namespace

Twips Twips::screen() {
    HDC dc = GetDC(nullptr);
    const int dpi = dc != nullptr ? GetDeviceCaps(dc, LOGPIXELSX) : 96;
    if (dc != nullptr) ReleaseDC(nullptr, dc);
    return Twips(dpi);
}

MainWindow::MainWindow(shell::Form1& form, Options options) : form_(form), options_(options), twips_(Twips::screen()) {
    registerClass();
    font_ =
        CreateFontW(-twips_.pointPx(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, uiFaceName());

    RECT frame{0, 0, twips_.px(kClientWidth), twips_.px(kClientHeight)};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    AdjustWindowRectEx(&frame, style, TRUE, 0);
    hwnd_ = CreateWindowExW(0, kClassName, wide(form_.Caption).c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
    if (hwnd_ == nullptr) return;
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&MainWindow::windowProc));

    toolTips_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SendMessageW(toolTips_, TTM_SETMAXTIPWIDTH, 0, twips_.px(6000));

    for (shell::Control* control : form_.controls()) buildControl(*control);
    // Each control goes on top as it comes, so the last lies above all: the window's stacking order.
    for (shell::Control* control : form_.controls()) {
        if (HWND window = controlWindow(control->Name())) {
            SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
    }

    assignCommandIds();
    rebuildMenuBar();
    // A change of any menu item (caption, visibility, check) makes the menu bar anew once events run.
    std::function<void(shell::MenuItem&)> watchItems = [&](shell::MenuItem& item) {
        subscriptions_.emplace_back(&item, item.subscribe([this] { scheduleMenuRebuild(); }));
        for (const auto& child : item.children()) watchItems(*child);
    };
    for (const auto& top : form_.menuBar()) watchItems(*top);
}

MainWindow::~MainWindow() {
    for (const auto& [model, cookie] : subscriptions_) model->unsubscribe(cookie);
    subscriptions_.clear();
    grids_.clear();
    if (hwnd_ != nullptr && IsWindow(hwnd_)) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    if (font_ != nullptr) DeleteObject(font_);
    if (codeFont_ != nullptr) DeleteObject(codeFont_);
}

void MainWindow::show() {
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

bool MainWindow::preTranslate(const MSG& message) {
    // A text box keeps its own editing keys (undo, redo, cut, copy, paste, select all), as text fields do.
    const auto textKey = [&message] {
        if (message.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0) return false;
        const WPARAM key = message.wParam;
        if (key != 'Z' && key != 'Y' && key != 'X' && key != 'C' && key != 'V' && key != 'A') return false;
        wchar_t className[32] = {};
        GetClassNameW(message.hwnd, className, 32);
        return lstrcmpiW(className, L"Edit") == 0 || StrStrIW(className, L"RichEdit") != nullptr;
    };
    if (accelerators_ != nullptr && hwnd_ != nullptr && (message.hwnd == hwnd_ || IsChild(hwnd_, message.hwnd)) &&
        !textKey()) {
        MSG copy = message;
        if (TranslateAcceleratorW(hwnd_, accelerators_, &copy) != 0) return true;
    }
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB || hwnd_ == nullptr) return false;
    if (message.hwnd == nullptr || !IsChild(hwnd_, message.hwnd)) return false;
    if ((SendMessageW(message.hwnd, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) &
         (DLGC_WANTTAB | DLGC_WANTALLKEYS)) != 0) {
        return false;
    }
    // The control with the focus may be the inner part of another (a tree's edit box): start from the child
    // of the window that holds it.
    HWND from = message.hwnd;
    while (GetParent(from) != hwnd_ && GetParent(from) != nullptr) from = GetParent(from);
    if (HWND next = GetNextDlgTabItem(hwnd_, from, GetKeyState(VK_SHIFT) < 0)) SetFocus(next);
    return true;
}

HWND MainWindow::controlWindow(const std::string& controlName) const {
    auto found = windows_.find(controlName);
    return found == windows_.end() ? nullptr : found->second;
}

FlexGridWindow* MainWindow::gridWindow(const std::string& controlName) const {
    auto found = grids_.find(controlName);
    return found == grids_.end() ? nullptr : found->second.get();
}

UINT MainWindow::commandId(const std::string& menuItemName) const {
    auto found = commandIds_.find(menuItemName);
    return found == commandIds_.end() ? 0 : found->second;
}

std::wstring MainWindow::toolTipOf(HWND control) const {
    auto found = controls_.find(control);
    return found == controls_.end() ? std::wstring() : wide(found->second->ToolTipText());
}

void MainWindow::watch(shell::Observable& model, std::function<void()> refresh) {
    refresh();
    subscriptions_.emplace_back(&model, model.subscribe(std::move(refresh)));
}

void MainWindow::refreshChoices() {
    for (const auto& refresh : choiceRefreshers_) refresh();
}

HWND MainWindow::createChild(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle) {
    HWND window = CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | WS_CLIPSIBLINGS | style, 0, 0, 10, 10,
                                  hwnd_, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (window != nullptr) SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    return window;
}

void MainWindow::place(HWND window, const shell::Control& control) {
    // Controls in a frame are placed in the frame's coordinates; here they are children of the window.
    int left = control.Left();
    int top = control.Top();
    if (const shell::Control* container = control.Container()) {
        left += container->Left();
        top += container->Top();
    }
    const bool shown = control.Visible() && (control.Container() == nullptr || control.Container()->Visible());
    const Placed now{RECT{twips_.px(left), twips_.px(top), twips_.px(left) + twips_.px(control.Width()),
                          twips_.px(top) + twips_.px(control.Height())},
                     shown, control.Enabled()};
    // A grid filled cell by cell says it changed thousands of times; only a real move reaches the window.
    auto found = placed_.find(window);
    if (found != placed_.end() && EqualRect(&found->second.rect, &now.rect) && found->second.shown == now.shown &&
        found->second.enabled == now.enabled) {
        return;
    }
    placed_[window] = now;
    SetWindowPos(window, nullptr, now.rect.left, now.rect.top, now.rect.right - now.rect.left,
                 now.rect.bottom - now.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window, shown ? SW_SHOWNA : SW_HIDE);
    EnableWindow(window, control.Enabled());
}

void MainWindow::forward(HWND window, shell::Control& control) {
    controls_[window] = &control;
    SetWindowSubclass(window, &MainWindow::controlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = hwnd_;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void MainWindow::buildControl(shell::Control& control) {
    HWND window = nullptr;
    if (auto* frame = dynamic_cast<shell::Frame*>(&control)) {
        window = createChild(L"BUTTON", wide(frame->Caption()), BS_GROUPBOX);
        watch(control, [this, window, frame] { place(window, *frame); });
    } else if (auto* option = dynamic_cast<shell::OptionButton*>(&control)) {
        // Not an automatic radio button: the buttons' model keeps them exclusive.
        window = createChild(L"BUTTON", wide(option->Caption()), BS_RADIOBUTTON | WS_TABSTOP);
        auto refresh = [this, window, option] {
            place(window, *option);
            SendMessageW(window, BM_SETCHECK, option->Value() ? BST_CHECKED : BST_UNCHECKED, 0);
        };
        choiceRefreshers_.push_back(refresh);
        watch(control, refresh);
    } else if (auto* check = dynamic_cast<shell::CheckBox*>(&control)) {
        window = createChild(L"BUTTON", wide(check->Caption()), BS_3STATE | WS_TABSTOP);
        auto refresh = [this, window, check] {
            place(window, *check);
            SendMessageW(window, BM_SETCHECK, checkState(check->Value()), 0);
        };
        choiceRefreshers_.push_back(refresh);
        watch(control, refresh);
    } else if (auto* grid = dynamic_cast<shell::FlexGrid*>(&control)) {
        auto view = std::make_unique<FlexGridWindow>(form_, *grid, hwnd_, font_, twips_);
        window = view->hwnd();
        grids_[control.Name()] = std::move(view);
        watch(control, [this, window, grid] { place(window, *grid); });
        // The grid hears its own mouse and keys; the tooltip is the window's.
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(window);
        tool.lpszText = LPSTR_TEXTCALLBACKW;
        SendMessageW(toolTips_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        controls_[window] = &control;
    } else if (auto* text = dynamic_cast<shell::TextBox*>(&control)) {
        const DWORD style =
            text->MultiLine() ? ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | WS_VSCROLL | WS_HSCROLL
                              : ES_AUTOHSCROLL;
        window = createChild(L"EDIT", L"", style | WS_TABSTOP, WS_EX_CLIENTEDGE);
        watch(control, [this, window, text] {
            place(window, *text);
            if (syncing_) return;
            const std::wstring shown = editText(text->Text());
            if (windowText(window) != shown) {
                const SyncGuard guard(syncing_);
                SetWindowTextW(window, shown.c_str());
            }
        });
    } else if (auto* rich = dynamic_cast<shell::RichTextBox*>(&control)) {
        window = createChild(richEditClass(), L"",
                             ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL |
                                 WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                             WS_EX_CLIENTEDGE);
        rich_ = window;
        SendMessageW(window, EM_SETTEXTMODE, TM_PLAINTEXT, 0);
        SendMessageW(window, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_SELCHANGE);
        watch(control, [this, window, rich] {
            place(window, *rich);
            refreshRichText();
        });
    } else if (auto* list = dynamic_cast<shell::ListBox*>(&control)) {
        window = createChild(L"LISTBOX", L"", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP,
                             WS_EX_CLIENTEDGE);
        watch(control, [this, window, list] {
            place(window, *list);
            const SyncGuard guard(syncing_);
            std::vector<std::string>& shown = shownListItems_[window];
            if (list->items() != shown) {
                SendMessageW(window, WM_SETREDRAW, FALSE, 0);
                SendMessageW(window, LB_RESETCONTENT, 0, 0);
                for (const std::string& item : list->items()) {
                    SendMessageW(window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
                }
                SendMessageW(window, WM_SETREDRAW, TRUE, 0);
                InvalidateRect(window, nullptr, TRUE);
                shown = list->items();
            }
            SendMessageW(window, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(list->HorizontalExtent()), 0);
            if (SendMessageW(window, LB_GETCURSEL, 0, 0) != list->ListIndex()) {
                SendMessageW(window, LB_SETCURSEL, static_cast<WPARAM>(list->ListIndex()), 0);
            }
        });
    } else if (auto* treeModel = dynamic_cast<shell::TreeView*>(&control)) {
        window = createChild(WC_TREEVIEWW, L"",
                             TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | WS_TABSTOP,
                             WS_EX_CLIENTEDGE);
        tree_ = window;
        watch(control, [this, window, treeModel] {
            place(window, *treeModel);
            if (!syncing_) scheduleTreeRebuild();
        });
        rebuildTree();
    } else if (auto* button = dynamic_cast<shell::CommandButton*>(&control)) {
        window = createChild(L"BUTTON", wide(button->Caption()), BS_PUSHBUTTON | WS_TABSTOP);
        watch(control, [this, window, button] { place(window, *button); });
    } else if (dynamic_cast<shell::StatusBar*>(&control) != nullptr) {
        buildStatusBar();
        window = statusBar_;
    } else {
        // A kind of control this view does not know still takes its place, so the window stays whole.
        window = createChild(L"STATIC", L"", 0);
        watch(control, [this, window, &control] { place(window, control); });
    }
    if (window == nullptr) return;
    windows_[control.Name()] = window;
    if (controls_.find(window) == controls_.end()) forward(window, control);
}

void MainWindow::buildStatusBar() {
    auto& bar = form_.StatusBar1;
    statusBar_ = createChild(STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER);
    watch(bar, [this, &bar] {
        place(statusBar_, bar);
        std::vector<int> edges;
        int right = 0;
        for (int i = 1; i <= bar.PanelCount(); ++i) {
            right += twips_.px(bar.PanelWidth(i));
            edges.push_back(right);
        }
        SendMessageW(statusBar_, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
        for (int i = 1; i <= bar.PanelCount(); ++i) {
            const std::wstring text = wide(bar.PanelText(i));
            SendMessageW(statusBar_, SB_SETTEXTW, static_cast<WPARAM>(i - 1), reinterpret_cast<LPARAM>(text.c_str()));
        }
    });
}

void MainWindow::assignCommandIds() {
    UINT next = kFirstCommand;
    std::function<void(shell::MenuItem&)> assign = [&](shell::MenuItem& item) {
        commands_[next] = &item;
        commandIds_[item.Name()] = next;
        ++next;
        for (const auto& child : item.children()) assign(*child);
    };
    for (const auto& top : form_.menuBar()) assign(*top);
}

void MainWindow::rebuildMenuBar() {
    menuRebuildPending_ = false;
    HMENU bar = CreateMenu();
    for (const auto& top : form_.menuBar()) {
        // The popup menus are on the menu bar hidden: they show only where their trigger opens them.
        if (!top->Visible()) continue;
        HMENU sub = CreatePopupMenu();
        appendMenuItems(sub, *top, [this](shell::MenuItem& item) { return commandId(item.Name()); });
        AppendMenuW(bar, MF_POPUP | MF_STRING | (top->Enabled() ? MF_ENABLED : MF_GRAYED),
                    reinterpret_cast<UINT_PTR>(sub), wide(top->Caption()).c_str());
    }
    HMENU old = menuBar_;
    menuBar_ = bar;
    SetMenu(hwnd_, bar);
    if (old != nullptr) DestroyMenu(old);
    DrawMenuBar(hwnd_);
    rebuildAccelerators();
}

void MainWindow::rebuildAccelerators() {
    // The shortcuts of the items a user can reach on the menu bar; a disabled item's is ignored when used.
    std::vector<ACCEL> table;
    std::function<void(shell::MenuItem&)> collect = [&](shell::MenuItem& item) {
        if (!item.Visible()) return;
        if (!item.Shortcut().empty() && item.children().empty()) {
            if (std::optional<ACCEL> accel = acceleratorOf(item.Shortcut())) {
                accel->cmd = static_cast<WORD>(commandId(item.Name()));
                table.push_back(*accel);
            }
        }
        for (const auto& child : item.children()) collect(*child);
    };
    for (const auto& top : form_.menuBar()) collect(*top);
    if (accelerators_ != nullptr) DestroyAcceleratorTable(accelerators_);
    accelerators_ = table.empty() ? nullptr : CreateAcceleratorTableW(table.data(), static_cast<int>(table.size()));
}

void MainWindow::scheduleMenuRebuild() {
    if (menuRebuildPending_ || hwnd_ == nullptr) return;
    menuRebuildPending_ = true;
    PostMessageW(hwnd_, kRebuildMenu, 0, 0);
}

void MainWindow::scheduleTreeRebuild() {
    // A tree filled node by node is drawn once, when the job lets events run or ends.
    if (treeRebuildPending_ || hwnd_ == nullptr) return;
    treeRebuildPending_ = true;
    PostMessageW(hwnd_, kRebuildTree, 0, 0);
}

void MainWindow::rebuildTree() {
    treeRebuildPending_ = false;
    if (tree_ == nullptr) return;
    const SyncGuard guard(syncing_);
    shell::TreeView& model = form_.TreeView1;

    std::vector<std::pair<shell::TreeNode*, shell::TreeNode*>> nodes;
    std::function<void(shell::TreeNode*)> collect = [&](shell::TreeNode* node) {
        nodes.emplace_back(node, node->Parent());
        for (shell::TreeNode* child : node->childNodes()) collect(child);
    };
    for (shell::TreeNode* root : model.Nodes().roots()) collect(root);

    bool sameShape = nodes.size() == shownNodes_.size();
    for (std::size_t i = 0; sameShape && i < nodes.size(); ++i) {
        sameShape = nodes[i].first == shownNodes_[i].node && nodes[i].second == shownNodes_[i].parent;
    }
    if (sameShape) {
        // Only texts, expansion or the selection changed: in place, so the view keeps its scroll position.
        for (const ShownNode& shown : shownNodes_) {
            std::wstring text = wide(shown.node->Text());
            TVITEMW item{};
            item.mask = TVIF_TEXT | TVIF_HANDLE;
            item.hItem = shown.item;
            item.pszText = text.data();
            SendMessageW(tree_, TVM_SETITEMW, 0, reinterpret_cast<LPARAM>(&item));
            const bool expanded =
                (SendMessageW(tree_, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(shown.item), TVIS_EXPANDED) &
                 TVIS_EXPANDED) != 0;
            if (expanded != shown.node->Expanded() && !shown.node->childNodes().empty()) {
                SendMessageW(tree_, TVM_EXPAND, shown.node->Expanded() ? TVE_EXPAND : TVE_COLLAPSE,
                             reinterpret_cast<LPARAM>(shown.item));
            }
        }
    } else {
        SendMessageW(tree_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(tree_, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        shownNodes_.clear();
        for (shell::TreeNode* root : model.Nodes().roots()) addTreeItems(TVI_ROOT, *root);
        SendMessageW(tree_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(tree_, nullptr, TRUE);
    }

    HTREEITEM selected = nullptr;
    for (const ShownNode& shown : shownNodes_) {
        if (shown.node == model.SelectedItem()) selected = shown.item;
    }
    SendMessageW(tree_, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(selected));
}

void MainWindow::addTreeItems(HTREEITEM parentItem, shell::TreeNode& node) {
    std::wstring text = wide(node.Text());
    TVINSERTSTRUCTW insert{};
    insert.hParent = parentItem;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.lParam = reinterpret_cast<LPARAM>(&node);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
    shownNodes_.push_back(ShownNode{&node, node.Parent(), item});
    for (shell::TreeNode* child : node.childNodes()) addTreeItems(item, *child);
    if (node.Expanded() && !node.childNodes().empty()) {
        SendMessageW(tree_, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    }
}

shell::TreeNode* MainWindow::nodeAt(HTREEITEM item) const {
    for (const ShownNode& shown : shownNodes_) {
        if (shown.item == item) return shown.node;
    }
    return nullptr;
}

void MainWindow::refreshRichText() {
    if (rich_ == nullptr || syncing_) return;
    const SyncGuard guard(syncing_);
    shell::RichTextBox& rich = form_.RichTextBox1;
    const std::wstring face = wide(rich.FontName());
    if (face != codeFontName_) {
        codeFontName_ = face;
        CHARFORMAT2W format{};
        format.cbSize = sizeof(format);
        format.dwMask = CFM_FACE | CFM_SIZE | CFM_CHARSET;
        format.yHeight = 10 * 20;
        format.bCharSet = DEFAULT_CHARSET;
        lstrcpynW(format.szFaceName, face.c_str(), LF_FACESIZE);
        SendMessageW(rich_, EM_SETCHARFORMAT, SCF_ALL, reinterpret_cast<LPARAM>(&format));
        SendMessageW(rich_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        // The macro stubs indent with one TAB; a VBA editor shows it four blanks wide.
        HDC dc = GetDC(rich_);
        HFONT measured =
            CreateFontW(-twips_.pointPx(10), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face.c_str());
        HGDIOBJ old = SelectObject(dc, measured);
        SIZE blank{};
        GetTextExtentPoint32W(dc, L"    ", 4, &blank);
        SelectObject(dc, old);
        DeleteObject(measured);
        ReleaseDC(rich_, dc);
        PARAFORMAT2 tabs{};
        tabs.cbSize = sizeof(tabs);
        tabs.dwMask = PFM_TABSTOPS;
        tabs.cTabCount = MAX_TAB_STOPS;
        const auto step = static_cast<LONG>(twips_.twips(std::max<LONG>(blank.cx, 1)));
        for (int i = 0; i < MAX_TAB_STOPS; ++i) tabs.rgxTabs[i] = step * (i + 1);
        SendMessageW(rich_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&tabs));
    }
    const std::wstring shown = richText(rich.Text());
    if (richContent(rich_) != shown) SetWindowTextW(rich_, shown.c_str());
    const int start = richPosition(rich.Text(), rich.SelStart());
    const int end = richPosition(rich.Text(), rich.SelStart() + rich.SelLength());
    CHARRANGE range{};
    SendMessageW(rich_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (range.cpMin != start || range.cpMax != end) {
        range.cpMin = start;
        range.cpMax = end;
        SendMessageW(rich_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    }
}

void MainWindow::takeRichSelection() {
    shell::RichTextBox& rich = form_.RichTextBox1;
    const std::wstring shown = richContent(rich_);
    CHARRANGE range{};
    SendMessageW(rich_, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    const int start = modelPosition(shown, std::min(range.cpMin, range.cpMax));
    const int end = modelPosition(shown, std::max(range.cpMin, range.cpMax));
    rich.SetSelStart(start);
    rich.SetSelLength(end - start);
}

LRESULT CALLBACK MainWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT CALLBACK MainWindow::controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR /*id*/,
                                         DWORD_PTR self) {
    bool handled = false;
    const LRESULT result = reinterpret_cast<MainWindow*>(self)->handleControl(hwnd, message, wParam, lParam, handled);
    if (handled) return result;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(hwnd, &MainWindow::controlProc, kSubclassId);
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

LRESULT MainWindow::handleControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    auto found = controls_.find(hwnd);
    if (found == controls_.end()) return 0;
    shell::Control& control = *found->second;
    switch (message) {
        case WM_NCHITTEST:
            // A group box lets the mouse through to what lies below; the frame has mouse events of its own.
            if (dynamic_cast<shell::Frame*>(&control) != nullptr) {
                handled = true;
                return HTCLIENT;
            }
            return 0;
        case WM_ERASEBKGND:
            // A group box draws only its line and caption, and the window clips its children out of its
            // own background: the frame fills its inside itself.
            if (dynamic_cast<shell::Frame*>(&control) != nullptr) {
                RECT inside{};
                GetClientRect(hwnd, &inside);
                FillRect(reinterpret_cast<HDC>(wParam), &inside, GetSysColorBrush(COLOR_BTNFACE));
                handled = true;
                return 1;
            }
            return 0;
        case WM_KEYDOWN:
            // Esc is the window's key wherever the focus is.
            if (wParam == VK_ESCAPE) {
                handled = true;
                form_.formKeyPress(27);
            }
            return 0;
        case WM_CHAR:
            if (wParam == 27) handled = true;
            return 0;
        case WM_CONTEXTMENU:
            // The right button's menus are the handlers' business, opened from MouseDown.
            handled = true;
            return 0;
        case WM_LBUTTONDBLCLK:
            form_.userDblClick(control);
            return 0;
        case WM_LBUTTONUP:
            // A list's Click comes with the release on an item, after the selection has moved there.
            if (auto* list = dynamic_cast<shell::ListBox*>(&control)) {
                const LRESULT hit = SendMessageW(hwnd, LB_ITEMFROMPOINT, 0, lParam);
                if (HIWORD(hit) == 0) {
                    handled = true;
                    const LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
                    const int row = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
                    {
                        const SyncGuard guard(syncing_);
                        form_.dispatch([&] { list->SetListIndex(row); });
                    }
                    form_.userClick(*list);
                    return result;
                }
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN: {
            const int button = vbButton(message);
            const auto x = static_cast<short>(LOWORD(lParam));
            const auto y = static_cast<short>(HIWORD(lParam));
            if (hwnd == tree_ && button == 1) treePress_ = POINT{x, y};
            form_.userMouseDown(control, button, vbShift(), twips_.twips(x), twips_.twips(y));
            // A right press belongs to this control alone: it must neither move a list's selection or a
            // text's caret nor reach the frame around an option button.
            if (button != 1) handled = true;
            return 0;
        }
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            handled = true;
            return 0;
        default:
            return 0;
    }
}

void MainWindow::command(WORD id, WORD code, HWND source) {
    if (source == nullptr) {
        // A menu command (code 0) or an accelerator (code 1).
        auto found = commands_.find(id);
        if (found != commands_.end() && found->second->children().empty()) form_.clickMenu(*found->second);
        return;
    }
    auto found = controls_.find(source);
    if (found == controls_.end()) return;
    shell::Control& control = *found->second;
    if (code == BN_CLICKED) {
        if (dynamic_cast<shell::OptionButton*>(&control) != nullptr ||
            dynamic_cast<shell::CheckBox*>(&control) != nullptr) {
            form_.userClick(control);
            // The button drew its own new state; the model's is the one to show.
            refreshChoices();
        } else if (dynamic_cast<shell::CommandButton*>(&control) != nullptr) {
            form_.userClick(control);
        }
        return;
    }
    if (code == EN_CHANGE && !syncing_) {
        const SyncGuard guard(syncing_);
        if (auto* text = dynamic_cast<shell::TextBox*>(&control)) {
            const std::string typed = modelFromEdit(windowText(source));
            form_.dispatch([&] { text->SetText(typed); });
        } else if (auto* rich = dynamic_cast<shell::RichTextBox*>(&control)) {
            const std::string typed = modelFromRich(richContent(source));
            form_.dispatch([&] {
                rich->SetText(typed);
                takeRichSelection();
            });
        }
        return;
    }
    if (code == LBN_SELCHANGE && !syncing_) {
        if (auto* list = dynamic_cast<shell::ListBox*>(&control)) {
            const int row = static_cast<int>(SendMessageW(source, LB_GETCURSEL, 0, 0));
            const SyncGuard guard(syncing_);
            form_.dispatch([&] { list->SetListIndex(row); });
        }
    }
}

LRESULT MainWindow::notify(const NMHDR& header) {
    if (header.hwndFrom == toolTips_ && header.code == TTN_GETDISPINFOW) {
        auto& info = const_cast<NMTTDISPINFOW&>(reinterpret_cast<const NMTTDISPINFOW&>(header));
        toolTipText_ = toolTipOf(reinterpret_cast<HWND>(header.idFrom));
        info.lpszText = toolTipText_.data();
        return 0;
    }
    if (header.hwndFrom == statusBar_ && header.code == NM_DBLCLK) {
        const auto& mouse = reinterpret_cast<const NMMOUSE&>(header);
        const auto panel = static_cast<int>(mouse.dwItemSpec);
        if (panel >= 0 && panel < form_.StatusBar1.PanelCount()) form_.userPanelDblClick(panel + 1);
        return 0;
    }
    if (header.hwndFrom == tree_ && tree_ != nullptr) {
        if (header.code == NM_CLICK && !treeRebuildPending_) {
            // The click is where the left button went down in the tree.
            TVHITTESTINFO hit{};
            hit.pt = treePress_;
            SendMessageW(tree_, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if ((hit.flags & (TVHT_ONITEM)) != 0) {
                if (shell::TreeNode* node = nodeAt(hit.hItem)) form_.userNodeClick(*node);
            }
            return 0;
        }
        if (header.code == TVN_ITEMEXPANDEDW && !syncing_ && !treeRebuildPending_) {
            const auto& view = reinterpret_cast<const NMTREEVIEWW&>(header);
            const bool expanded = view.action == TVE_EXPAND;
            const SyncGuard guard(syncing_);
            if (shell::TreeNode* node = nodeAt(view.itemNew.hItem))
                form_.dispatch([&] { node->SetExpanded(expanded); });
            return 0;
        }
    }
    if (header.hwndFrom == rich_ && rich_ != nullptr && header.code == EN_SELCHANGE && !syncing_) {
        const SyncGuard guard(syncing_);
        form_.dispatch([this] { takeRichSelection(); });
        return 0;
    }
    return 0;
}

LRESULT MainWindow::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            command(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_NOTIFY:
            return notify(*reinterpret_cast<const NMHDR*>(lParam));
        case WM_KEYDOWN:
            if (wParam == VK_ESCAPE) form_.formKeyPress(27);
            return 0;
        case WM_ACTIVATE:
            // The focus comes back where it was when the window is active again (after a dialog, say).
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
            }
            return DefWindowProcW(hwnd_, message, wParam, lParam);
        case WM_SETFOCUS:
            if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_)) {
                SetFocus(lastFocus_);
            } else if (FlexGridWindow* grid = gridWindow("ListAllCommandbars")) {
                SetFocus(grid->hwnd());
            }
            return 0;
        case kRebuildTree:
            if (treeRebuildPending_) rebuildTree();
            return 0;
        case kRebuildMenu:
            if (menuRebuildPending_) rebuildMenuBar();
            return 0;
        case WM_CLOSE:
            // Closing the window is Unload: Form_Terminate runs once, whoever closes it.
            if (!form_.isUnloaded()) form_.unload();
            DestroyWindow(hwnd_);
            return 0;
        case WM_DESTROY:
            if (options_.quitOnClose) PostQuitMessage(0);
            return 0;
        case WM_NCDESTROY: {
            const LRESULT result = DefWindowProcW(hwnd_, message, wParam, lParam);
            SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
            hwnd_ = nullptr;
            menuBar_ = nullptr;
            return result;
        }
        default:
            return DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

}  // namespace tessaline::winui
