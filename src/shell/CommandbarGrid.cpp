#include "shell/CommandbarGrid.h"

#include <string>

#include "automation/AutomationError.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"

namespace tessaline::shell {

namespace {

const char* boolText(bool value) { return value ? "True" : "False"; }

}  // namespace

std::string CommandbarRowText(automation::CommandBar& bar) {
    const std::string tab = "\t";
    return std::to_string(bar.Index()) + tab + bar.Name() + tab + bar.NameLocal() + tab + boolText(bar.BuiltIn()) +
           tab + std::to_string(bar.Controls()->Count()) + tab + std::to_string(bar.Type()) + tab +
           boolText(bar.Enabled()) + tab + boolText(bar.Visible()) + tab + std::to_string(bar.Position());
}

void SetCommandbarGridHeaders(Form1& form) {
    static const char* const headers[] = {"序号", "名称", "本地名称", "内置", "控件个数",
                                          "类型", "可用", "可见",     "位置"};
    int col = 0;
    for (const char* header : headers) form.ListAllCommandbars.SetTextMatrix(0, col++, header);
}

// Traps nothing: a failure ends the listing and the caller's error mode takes over.
void ListCommandbars(Form1& form) {
    FlexGrid& grid = form.ListAllCommandbars;
    grid.Clear();
    grid.SetRows(1);
    form.RowCounter = 1;
    SetCommandbarGridHeaders(form);
    for (const auto& bar : form.HostCommandBars()->Enumerate()) {
        grid.AddItem(CommandbarRowText(*bar), form.RowCounter);
        form.incrementRowCounter();
    }
    // With several bars of one name, the host decides which one this is.
    form.CurrentBar = form.HostCommandBars()->Item(grid.TextMatrix(1, 1));
    form.StatusBar1.SetPanelText(2, obj(form.CurrentBar).Name());
    ListAllCommandbars_Click(form);
}

// Resume mode.
void ListAllCommandbars_Click(Form1& form) {
    FlexGrid& grid = form.ListAllCommandbars;
    switch (grid.Col()) {
        case 1: {
            FlexGrid& controls = form.ListAllCommandControls;
            resume(form, [&] { controls.Clear(); });
            resume(form, [&] { controls.SetRows(1); });
            form.RowCounter = 1;
            resume(form, [&] { SetControlGridHeaders(form); });
            // A name the host no longer knows keeps the previous bar, whose controls are then listed.
            resume(form, [&] { form.CurrentBar = form.HostCommandBars()->Item(grid.Text()); });
            resume(form, [&] { form.StatusBar1.SetPanelText(2, obj(form.CurrentBar).Name()); });
            resume(form, [&] { ListControls(form, obj(obj(form.CurrentBar).Controls())); });
            form.CurrentPopup = nullptr;
            resume(form, [&] { form.StatusBar1.SetPanelText(5, ""); });
            break;
        }
        case 5:
            grid.SetToolTipText("工具栏类型:菜单栏=1,普通=0,快捷菜单=2");
            break;
        case 8:
            grid.SetToolTipText("工具栏位置:左上右下=0123,浮动=4,快捷菜单=5");
            break;
        default:
            break;
    }
}

// Mode none. The right button does not move the selection, so the operations act on CurrentBar.
void ListAllCommandbars_MouseDown(Form1& form, const MouseEvent& mouse) {
    if (mouse.button == vbbutton::Right && form.CurrentBar) form.PopupMenu(form.menu("CommandbarOperation"));
}

}  // namespace tessaline::shell
