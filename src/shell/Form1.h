#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "automation/Desktop.h"
#include "automation/Excel.h"
#include "automation/Office.h"
#include "shell/AppProperties.h"
#include "shell/CheckBox.h"
#include "shell/CommandButton.h"
#include "shell/ErrorModes.h"
#include "shell/FlexGrid.h"
#include "shell/Frame.h"
#include "shell/ListBox.h"
#include "shell/MenuItem.h"
#include "shell/OptionButton.h"
#include "shell/RichTextBox.h"
#include "shell/StatusBar.h"
#include "shell/TextBox.h"
#include "shell/TreeView.h"
#include "shell/Ui.h"

namespace tessaline::shell {

// The program's one window: its controls, menus and the state every handler shares.
//
// Events come in through the user* entry points (the view calls them; so do tests and scripts). Each runs
// the control's handler inside the dispatcher, which catches whatever the handler lets through and shows
// it in the error report box, so nothing the user does ends the program except Exit and Esc answered Yes.
// Subsystems above the shell attach their handlers at start, e.g.
//     form.menu("ModifyControl").onClick = [&form] { ModifyControl_Click(form); };
//     form.DesignMode.onClick = [&form] { DesignMode_Click(form); };
class Form1 {
public:
    Form1(automation::Desktop& desktop, Ui& ui, AppProperties app = AppProperties::current());
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    // Runs Form_Load. Call once, after every subsystem has attached its handlers.
    void load();
    // Unload Me: releases the shared references (Form_Terminate) and closes the window, ending the program.
    void unload();
    bool isUnloaded() const { return unloaded_; }

    // ----- Event entry points -----
    // Runs a handler the way an event runs: whatever it throws is reported, never passed on.
    void dispatch(const std::function<void()>& handler);
    // The user chooses a menu command (by item name).
    void clickMenu(const std::string& itemName);
    void clickMenu(MenuItem& item);
    // A click: a check box toggles, an option button is selected, any other control raises Click.
    void userClick(Control& control);
    // A left click on a grid cell: the cell becomes current (never a fixed one), then Click runs.
    void userClickCell(FlexGrid& grid, int row, int col);
    void userDblClick(Control& control);
    void userMouseDown(Control& control, int button, int shift = 0, float x = 0, float y = 0);
    void userKeyDown(Control& control, int keyCode, int shift = 0);
    // A character typed while `control` has the focus. The window sees every key first, and Esc is the
    // window's own key: it never reaches the control.
    void userKeyPress(Control& control, int keyAscii);
    // A character typed with no control of its own handling keys.
    void formKeyPress(int keyAscii);
    void userPanelDblClick(int panel);
    void userNodeClick(TreeNode& node);

    // Runs when an event has been handled to its end: after the outermost handler only, as handlers nest
    // through DoEvents and popup menus. Views of the host catch up here with what the handler changed.
    std::function<void()> afterEvent;
    // Whether an event's handlers are running now.
    bool inEvent() const { return dispatchDepth_ > 0; }

    // PopupMenu for handlers: shows the menu at the mouse and runs the chosen item's Click as its own event.
    void PopupMenu(MenuItem& menu);
    // Shows the error report box for the exception being handled.
    void reportError(const std::exception& e);

    // ----- Lookup by name -----
    // Throws std::invalid_argument for a name the window does not have.
    MenuItem& menu(const std::string& name);
    Control& control(const std::string& name);
    // The three top menus, the seven popup menus, then the tools menu, as on the window's menu bar (the
    // popup menus hidden, so the tools menu shows after the help menu).
    const std::vector<std::unique_ptr<MenuItem>>& menuBar() const { return menuBar_; }
    // Every control, in the window's stacking order from back to front.
    const std::vector<Control*>& controls() const { return controls_; }

    // `HostApp.CommandBars`: raises 91 when no host is attached.
    automation::CommandBarsPtr HostCommandBars();
    // RowCounter = RowCounter + 1, with the 16-bit Overflow of VB's Integer.
    void incrementRowCounter();

    automation::Desktop& desktop() { return desktop_; }
    Ui& ui() { return ui_; }

    // ----- The window -----
    std::string Caption;
    AppProperties App;
    ErrObject Err;

    Frame Frame1;
    OptionButton Excel;
    OptionButton Word;
    OptionButton PowerPoint;
    OptionButton Access;
    OptionButton Outlook;
    OptionButton VBE;
    OptionButton Void;
    CheckBox DesignMode;
    FlexGrid ListAllCommandbars;
    TextBox Code;
    FlexGrid ListAllCommandControls;
    RichTextBox RichTextBox1;
    ListBox ListMacros;
    TreeView TreeView1;
    CommandButton SearchCommandbar;
    TextBox IDString;
    CommandButton BatchCopy;
    CheckBox ShowMacroList;
    CheckBox Chk_Treeview;
    StatusBar StatusBar1;
    // The results of a find in the live bars, over the right-hand pane while shown.
    ListBox FoundControls;

    // ----- Shared state -----
    automation::ObjectPtr HostApp;
    automation::CommandBarPtr CurrentBar;
    automation::ControlPtr CurrentControl;
    automation::PopupPtr CurrentPopup;
    automation::WindowHandle HostWindow = 0;
    std::int16_t RowCounter = 0;
    std::string CodeTemplate;
    std::shared_ptr<automation::ExcelApplication> ExcelApp;
    // Set by the source-workbook procedures.
    automation::ObjectPtr SourceHost;
    std::string HostName;
    automation::WorksheetPtr SourceSheet;
    // The icon viewer lets window events run while it adds its buttons; a second double-click meanwhile
    // must not start another build over the half-built bar.
    bool faceIdViewerRunning = false;

private:
    void buildMenus();
    void wireHandlers();

    automation::Desktop& desktop_;
    Ui& ui_;
    std::vector<std::unique_ptr<MenuItem>> menuBar_;
    std::vector<Control*> controls_;
    bool loaded_ = false;
    bool unloaded_ = false;
    int dispatchDepth_ = 0;
};

}  // namespace tessaline::shell
