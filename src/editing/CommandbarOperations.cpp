#include "editing/CommandbarOperations.h"

#include <string>

#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"

namespace tessaline::editing {

namespace {

constexpr const char* kInputTitle = "对话框";

automation::CommandBar& currentBar(shell::Form1& form) { return shell::obj(form.CurrentBar); }

// Resume mode. A bar is made visible only when Add returned one: after a refused name CurrentBar still
// holds the previously selected bar, which must not pop up instead.
void createBar(shell::Form1& form, const char* prompt, const char* defaultName, bool menuBar) {
    const std::string name = form.ui().InputBox(prompt, kInputTitle, defaultName);
    if (name.empty()) return;
    const bool added = shell::resume(form, [&] {
        automation::CommandBarsPtr bars = form.HostCommandBars();
        form.CurrentBar =
            menuBar ? bars->Add(name, automation::mso::BarTop, true) : bars->Add(name, automation::mso::BarTop);
    });
    if (added) shell::resume(form, [&] { currentBar(form).SetVisible(true); });
    shell::resume(form, [&] { shell::ListCommandbars(form); });
}

}  // namespace

// Mode none.
void ShowCommandbar_Click(shell::Form1& form) { currentBar(form).SetVisible(true); }

// Mode none. Only a normal toolbar can be hidden; menu bars and shortcut menus are left as they are.
void CloseCommandbar_Click(shell::Form1& form) {
    automation::CommandBar& bar = currentBar(form);
    if (bar.Type() != automation::mso::BarTypeNormal) {
        form.ui().MsgBox(bar.Name() + "不可隐藏。", shell::vbmsg::OKOnly | shell::vbmsg::Critical, form.App.Title);
    } else {
        bar.SetVisible(false);
    }
}

// Mode none. A built-in bar cannot be deleted; the command then does nothing at all.
void DeleteCommandbar_Click(shell::Form1& form) {
    automation::CommandBar& bar = currentBar(form);
    if (bar.BuiltIn()) return;
    bar.Delete();
    shell::ListCommandbars(form);
}

// Mode none. Only built-in bars have something to go back to.
void ResetCommandbar_Click(shell::Form1& form) {
    automation::CommandBar& bar = currentBar(form);
    if (!bar.BuiltIn()) return;
    bar.Reset();
    shell::ListAllCommandbars_Click(form);
}

// Mode none. One pass over the collection deletes everything because For Each walks the members as they
// were when the walk began, not the shrinking collection.
void ClearAll_Click(shell::Form1& form) {
    for (const automation::ControlPtr& control : currentBar(form).Controls()->Enumerate()) {
        form.CurrentControl = control;
        control->Delete();
    }
    // A finished For Each leaves its loop variable empty.
    form.CurrentControl = nullptr;
    shell::ListAllCommandbars_Click(form);
}

void CreateMenubar_Click(shell::Form1& form) { createBar(form, "输入新菜单栏的名称:", "菜单栏1", true); }

void CreateToolbar_Click(shell::Form1& form) { createBar(form, "输入新工具栏的名称:", "工具栏1", false); }

// Resume mode. The event procedure is written even when no bar was created, so the user always gets the
// code that pops the menu up.
void CreatePopupbar_Click(shell::Form1& form) {
    const std::string name = form.ui().InputBox("输入新快捷菜单的名称:", kInputTitle, "快捷菜单1");
    if (!name.empty()) {
        shell::resume(form, [&] { form.CurrentBar = form.HostCommandBars()->Add(name, automation::mso::BarPopup); });
        shell::resume(form, [&] { shell::ListCommandbars(form); });
    }
    const std::string crlf = "\r\n";
    form.RichTextBox1.SetText("'仅适用于Excel." + crlf +
                              "Private Sub Workbook_SheetBeforeRightClick(ByVal Sh As Object, ByVal Target As "
                              "Range, Cancel As Boolean)" +
                              crlf + "Cancel = True" + crlf + "Application.CommandBars(\"" + name + "\").ShowPopup" +
                              crlf + "End Sub");
}

}  // namespace tessaline::editing
