#pragma once

#include "automation/com/Win32.h"

#include <commctrl.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "winui/Twips.h"

namespace tessaline::shell {
class Control;
class Form1;
class MenuItem;
class Observable;
class TreeNode;
}  // namespace tessaline::shell

namespace tessaline::winui {

class FlexGridWindow;

// The window of Form1 in Win32: every control at its place in twips (converted at the screen's DPI), the
// menu bar and the status bar. The controls follow their models through the models' change hooks, and
// every user event goes to the form's event entry points, which run the handlers. Nothing here decides
// what an event does.
class MainWindow {
public:
    struct Options {
        // The program's own window ends the message loop when it closes; a test's window does not.
        bool quitOnClose = true;
    };

    // Creates the window hidden; show() puts it on screen.
    explicit MainWindow(shell::Form1& form, Options options);
    explicit MainWindow(shell::Form1& form) : MainWindow(form, Options{}) {}
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    HWND hwnd() const { return hwnd_; }
    void show();
    // Keys the window handles before the control with the focus sees them: the menu items' shortcuts, and
    // Tab and Shift+Tab, which move the focus over the controls except in a control that takes Tab itself.
    // True when the message was used.
    bool preTranslate(const MSG& message);
    shell::Form1& form() const { return form_; }
    const Twips& twips() const { return twips_; }

    // The window showing the control of that name; nullptr when none does.
    HWND controlWindow(const std::string& controlName) const;
    FlexGridWindow* gridWindow(const std::string& controlName) const;
    // The WM_COMMAND id of a menu item; 0 for a name the window does not have.
    UINT commandId(const std::string& menuItemName) const;
    HWND statusBar() const { return statusBar_; }
    HWND toolTips() const { return toolTips_; }
    // The tooltip a control's window shows now.
    std::wstring toolTipOf(HWND control) const;

    // The face the window writes its captions in; Chinese glyphs come through the face's font links.
    static const wchar_t* uiFaceName() { return L"Tahoma"; }

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK controlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleControl(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void command(WORD id, WORD code, HWND source);
    LRESULT notify(const NMHDR& header);

    HWND createChild(const wchar_t* className, const std::wstring& text, DWORD style, DWORD exStyle = 0);
    void buildControl(shell::Control& control);
    void buildStatusBar();
    void place(HWND window, const shell::Control& control);
    // Subscribes `refresh` to the model and runs it once now.
    void watch(shell::Observable& model, std::function<void()> refresh);
    // Window messages of `window` (mouse, Esc, tooltips) become the control's events.
    void forward(HWND window, shell::Control& control);
    void refreshChoices();

    void assignCommandIds();
    void rebuildMenuBar();
    void rebuildAccelerators();
    void scheduleMenuRebuild();

    void scheduleTreeRebuild();
    void rebuildTree();
    void addTreeItems(HTREEITEM parentItem, shell::TreeNode& node);
    shell::TreeNode* nodeAt(HTREEITEM item) const;

    void refreshRichText();
    void takeRichSelection();

    shell::Form1& form_;
    Options options_;
    Twips twips_;
    HWND hwnd_ = nullptr;
    HFONT font_ = nullptr;
    HFONT codeFont_ = nullptr;
    HWND statusBar_ = nullptr;
    HWND toolTips_ = nullptr;
    HWND tree_ = nullptr;
    HWND rich_ = nullptr;
    HMENU menuBar_ = nullptr;
    HACCEL accelerators_ = nullptr;
    std::vector<std::pair<shell::Observable*, int>> subscriptions_;
    std::map<std::string, HWND> windows_;
    std::map<HWND, shell::Control*> controls_;
    std::map<std::string, std::unique_ptr<FlexGridWindow>> grids_;
    struct Placed {
        RECT rect;
        bool shown;
        bool enabled;
    };
    std::map<HWND, Placed> placed_;
    HWND lastFocus_ = nullptr;
    std::map<UINT, shell::MenuItem*> commands_;
    std::map<std::string, UINT> commandIds_;
    std::vector<std::function<void()>> choiceRefreshers_;
    // The items each list box shows, so that an unchanged list is not filled again.
    std::map<HWND, std::vector<std::string>> shownListItems_;
    struct ShownNode {
        shell::TreeNode* node;
        shell::TreeNode* parent;
        HTREEITEM item;
    };
    std::vector<ShownNode> shownNodes_;
    bool treeRebuildPending_ = false;
    POINT treePress_{-1, -1};
    bool menuRebuildPending_ = false;
    mutable std::wstring toolTipText_;
    std::wstring codeFontName_;
    // Set while the view writes a user's edit into a model, or a model's text into a control, so the echo
    // does not come back.
    bool syncing_ = false;
};

}  // namespace tessaline::winui
