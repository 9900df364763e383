#include "shell/ControlGrid.h"

#include <cmath>
#include <string>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "shell/Form1.h"

namespace tessaline::shell {

namespace {

const char* boolText(bool value) { return value ? "True" : "False"; }

// The columns typing and the Delete key may change: the caption and everything right of the built-in flag.
bool isEditableColumn(int col) { return col == 2 || col > 3; }

std::string utf8(int codePoint) {
    std::string out;
    const auto c = static_cast<unsigned>(codePoint);
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

// Drops the last character (code point), not the last byte.
void dropLastCharacter(std::string& text) {
    if (text.empty()) return;
    std::size_t end = text.size() - 1;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
    text.erase(end);
}

std::shared_ptr<automation::ExcelApplication> runningExcel(Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    return excel;
}

constexpr int kFaceIdsPerBlock = 1000;
constexpr int kIconsPerRow = 51;

}  // namespace

void SetControlGridHeaders(Form1& form) {
    static const char* const headers[] = {"序号", "ID",   "标题", "内置",   "分组线", "类型",  "可用",
                                          "可见", "图标", "回调", "提示语", "样式",   "快捷键"};
    int col = 0;
    for (const char* header : headers) form.ListAllCommandControls.SetTextMatrix(0, col++, header);
}

std::string ControlRowText(automation::CommandBarControl& control) {
    const std::string tab = "\t";
    const bool button = control.Type() == automation::mso::ControlButton;
    std::string row = std::to_string(control.Index()) + tab + std::to_string(control.Id()) + tab + control.Caption() +
                      tab + boolText(control.BuiltIn()) + tab + boolText(control.BeginGroup()) + tab +
                      std::to_string(control.Type()) + tab + boolText(control.Enabled()) + tab +
                      boolText(control.Visible()) + tab;
    row += (button ? control.GetProperty("FaceId").toString() : std::string()) + tab;
    row += (button ? control.OnAction() : std::string()) + tab;
    row += control.TooltipText() + tab;
    row += (button ? control.GetProperty("Style").toString() : std::string()) + tab;
    row += button ? control.GetProperty("ShortcutText").toString() : std::string();
    return row;
}

void ListControls(Form1& form, automation::CommandBarControls& controls) {
    bool ranToEnd = true;
    for (const auto& control : controls.Enumerate()) {
        form.CurrentControl = control;
        // A row that fails leaves a gap in RowCounter; later rows then fail to land too, so no row ever
        // shows a control other than the one at its Index.
        resume(form, [&] { form.ListAllCommandControls.AddItem(ControlRowText(*control), form.RowCounter); });
        // Past 32767 the 16-bit counter cannot move on, and every further row would land at the same
        // position, pushing earlier rows away from their controls' indexes: the listing ends there.
        if (!resume(form, [&] { form.incrementRowCounter(); })) {
            ranToEnd = false;
            break;
        }
    }
    // CurrentControl is the loop variable: a For Each that runs to its end releases it, a left loop keeps it.
    if (ranToEnd) form.CurrentControl = nullptr;
}

// Mode none.
void ListAllCommandControls_Click(Form1& form) {
    FlexGrid& grid = form.ListAllCommandControls;
    form.StatusBar1.SetPanelText(3, std::to_string(grid.Row()) + "/" + std::to_string(grid.Rows()));
    form.StatusBar1.SetPanelText(4, grid.TextMatrix(grid.Row(), 1));
    if (grid.Col() == 5) {
        grid.SetToolTipText("控件类型:普通按钮=1,文本框=2,组合框=4,子菜单=10,分裂按钮=13");
    } else if (grid.Col() == 11) {
        grid.SetToolTipText("按钮样式:图标=1,标题=2,图标&标题=3,菜单栏0=图标&标题,工具栏0=图标");
    }
}

// Mode none. The flags change only in the grid; the host sees them when a row is applied.
void ListAllCommandControls_DblClick(Form1& form) {
    FlexGrid& grid = form.ListAllCommandControls;
    switch (grid.Col()) {
        case 4:
        case 6:
        case 7:
            grid.SetText(grid.Text() == "True" ? "False" : "True");
            break;
        case 8: {
            if (grid.Text().empty()) break;
            const double faceId = automation::Variant(grid.Text()).toDouble();
            const double block = std::floor(faceId / kFaceIdsPerBlock);
            // FaceIds are 16-bit: the last icon of the block must stay within 32767.
            if (!(block >= 0 && block * kFaceIdsPerBlock + kFaceIdsPerBlock <= INT16_MAX)) {
                throw automation::overflow();
            }
            ShowFaceIdViewer(form, static_cast<std::int16_t>(block));
            break;
        }
        default:
            break;
    }
}

// Mode none. The right button does not move the current row: everything acts on the last row chosen.
void ListAllCommandControls_MouseDown(Form1& form, const MouseEvent& mouse) {
    if (mouse.button != vbbutton::Right) return;
    FlexGrid& grid = form.ListAllCommandControls;
    if (form.DesignMode.Value() == vbcheck::Unchecked) {
        grid.SetCol(1);
        const std::string type = grid.TextMatrix(grid.Row(), 5);
        const bool popup = type == "10";
        form.menu("CreateSubItem").SetVisible(popup);
        form.menu("OpenSubItem").SetVisible(popup);
        const bool customCombo = type == "4" && grid.TextMatrix(grid.Row(), 3) == "False";
        for (const char* item : {"AddItemforCombobox", "AddMacroNames", "DeleteItemforCombobox", "ClearItems"}) {
            form.menu(item).SetVisible(customCombo);
        }
        // Only the ID cell decides. On a bar with no controls the current cell is the header's "ID", so the
        // menu still opens there and the exports stay within reach.
        if (!grid.Text().empty()) {
            form.PopupMenu(form.menu("CommandbarControlOperation"));
        }
    } else if (grid.Rows() > 0) {
        form.PopupMenu(form.menu("DesignModeMenu"));
    }
}

// Mode none.
void ListAllCommandControls_KeyDown(Form1& form, int& keyCode, int /*shift*/) {
    FlexGrid& grid = form.ListAllCommandControls;
    if (isEditableColumn(grid.Col()) && keyCode == 46) grid.SetText("");
}

// Mode none. There is no in-cell editor: typed characters go straight into the cell.
void ListAllCommandControls_KeyPress(Form1& form, int& keyAscii) {
    FlexGrid& grid = form.ListAllCommandControls;
    if (!isEditableColumn(grid.Col()) || keyAscii <= 0) return;
    std::string text = grid.Text();
    if (keyAscii == 8) {
        if (text.empty()) return;
        dropLastCharacter(text);
    } else {
        text += utf8(keyAscii);
    }
    grid.SetText(text);
}

// Mode none.
void IDString_DblClick(Form1& form) {
    form.ui().ClipboardClear();
    form.ui().ClipboardSetText(form.IDString.Text());
}

// Resume mode. The viewer always goes to the running Excel, whichever host is attached.
void ShowFaceIdViewer(Form1& form, std::int16_t block) {
    if (form.faceIdViewerRunning) return;
    form.faceIdViewerRunning = true;
    struct Done {
        Form1& form;
        ~Done() { form.faceIdViewerRunning = false; }
    } done{form};
    resume(form, [&] { form.StatusBar1.SetPanelText(6, "Waiting"); });
    resume(form, [&] { form.ExcelApp = runningExcel(form); });
    const int first = block * kFaceIdsPerBlock;
    const bool inRange = block >= 0 && first + kFaceIdsPerBlock <= INT16_MAX;

    automation::CommandBarPtr viewer;
    bool exists = false;
    resume(form, [&] {
        for (const auto& bar : obj(form.ExcelApp).CommandBars()->Enumerate()) {
            if (automation::vb::LCase(bar->Name()) == "faceidviewer") exists = true;
        }
    });
    resume(form, [&] { viewer = obj(form.ExcelApp).CommandBars()->Item("FaceIDViewer"); });

    if (!exists) {
        resume(form,
               [&] { viewer = obj(form.ExcelApp).CommandBars()->Add("FaceIDViewer", automation::mso::BarFloating); });
        resume(form, [&] { obj(viewer).SetVisible(true); });
        automation::ControlPtr last;
        for (int i = first + 1; viewer && inRange && i <= first + kFaceIdsPerBlock; ++i) {
            automation::ControlPtr button;
            resume(form, [&] { button = obj(viewer).Controls()->Add(automation::mso::ControlButton); });
            resume(form, [&] { obj(button).SetCaption(std::to_string(i)); });
            resume(form, [&] { obj(button).SetProperty("FaceId", i); });
            resume(form, [&] { obj(button).SetProperty("Style", automation::mso::ButtonIcon); });
            if (button) last = button;
            form.ui().DoEvents();
        }
        resume(form, [&] { obj(viewer).SetWidth(kIconsPerRow * obj(last).Width()); });
    } else {
        resume(form, [&] { obj(viewer).SetPosition(automation::mso::BarFloating); });
        resume(form, [&] { obj(viewer).SetVisible(true); });
        std::vector<automation::ControlPtr> buttons;
        resume(form, [&] { buttons = obj(viewer).Controls()->Enumerate(); });
        for (const auto& button : buttons) {
            if (!inRange) break;
            int number = 0;
            resume(form, [&] { number = first + obj(button).Index(); });
            resume(form, [&] { obj(button).SetCaption(std::to_string(number)); });
            resume(form, [&] { obj(button).SetProperty("FaceId", number); });
            resume(form, [&] { obj(button).SetProperty("Style", automation::mso::ButtonIcon); });
            form.ui().DoEvents();
        }
    }
    resume(form, [&] { form.StatusBar1.SetPanelText(6, "Completed"); });
}

}  // namespace tessaline::shell
