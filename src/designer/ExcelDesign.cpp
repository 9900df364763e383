#include "designer/ExcelDesign.h"

#include <memory>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "designer/ApplyDesign.h"
#include "shell/CommandbarGrid.h"
#include "shell/Form1.h"
#include "shell/HostLink.h"

namespace tessaline::designer {

namespace {

constexpr const char* kDesignerWorkbook = "Tessaline.xls";

// The sheet's column holding the control type; the other columns are read through the shared row steps.
constexpr int kTypeColumn = 5;

// Attaches to the running Excel and keeps it in ExcelApp. The caller works on the Excel returned, never on
// an ExcelApp left over from an earlier attach: that Excel may have quit since, and nothing may be opened
// in it or read from it.
std::shared_ptr<automation::ExcelApplication> attachExcel(shell::Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    form.ExcelApp = excel;
    return excel;
}

}  // namespace

// Resume mode: without a running Excel, or without the file, the step is skipped and nothing is said.
void MenuExcelDesign_Click(shell::Form1& form) {
    std::shared_ptr<automation::ExcelApplication> excel;
    shell::resume(form, [&] { excel = attachExcel(form); });
    shell::resume(form,
                  [&] { shell::obj(shell::obj(excel).Workbooks()).Open(form.App.Path + "\\" + kDesignerWorkbook); });
    shell::resume(form, [&] { shell::ActivateHostWindow(form, "Xlmain"); });
}

void menuDesignerxls_Click(shell::Form1& form) { MenuExcelDesign_Click(form); }

// Resume mode.
void BatchAddfromExcel_Click(shell::Form1& form) {
    std::shared_ptr<automation::ExcelApplication> excel;
    shell::resume(form, [&] { excel = attachExcel(form); });
    automation::WorksheetPtr sheet;
    shell::resume(form, [&] {
        sheet = shell::obj(shell::obj(shell::obj(excel).Workbooks()).Item(kDesignerWorkbook)).ActiveSheet();
    });

    std::string code;
    // With neither a popup nor a bar there is nothing to add to, so no row is tried at all.
    if (form.CurrentPopup || form.CurrentBar) {
        // The rows end at the first completely empty row below the headings: the block around A1.
        int rows = 0;
        shell::resume(
            form, [&] { rows = shell::obj(shell::obj(shell::obj(sheet).Range("A1")).CurrentRegion()).RowsCount(); });

        const automation::PopupPtr popup = form.CurrentPopup;
        const automation::CommandBarPtr bar = form.CurrentBar;
        for (int r = 2; r <= rows; ++r) {
            const DesignCell cell = [&sheet, r](int column) {
                return shell::obj(shell::obj(sheet).Cells(r, column + 1)).Value();
            };
            automation::ControlPtr control;
            const bool added = shell::resume(form, [&] {
                automation::ControlsPtr controls = popup ? popup->Controls() : bar->Controls();
                // The type goes to the host as the cell holds it (a number, as a rule); every other argument is
                // omitted, so the control goes to the end.
                control = shell::obj(controls).Add(cell(kTypeColumn));
                if (!control) throw automation::objectNotSet();
            });
            if (!added) continue;
            ApplyDesignRow(form, control, cell, code);
        }
    }

    shell::resume(form, [&] { form.RichTextBox1.SetText(code); });
    shell::resume(form, [&] { shell::ListAllCommandbars_Click(form); });
}

// Mode none: the handler traps nothing of its own, and what it lets through goes to the error report box.
void BatchCopy_Click(shell::Form1& form) {
    using automation::vb::Trim;
    const std::string ids = Trim(form.IDString.Text());
    if (!automation::vb::Like(ids, "[0-9]*")) return;

    // A copy without a bar to go to would land on the bar the control came from.
    if (!form.CurrentBar) throw automation::objectNotSet();
    automation::CommandBarsPtr bars = form.HostCommandBars();

    // One bad ID must not keep the others from being copied: each is tried, and the ones that could not be
    // copied are named together at the end.
    std::string failures;
    int firstFailure = 0;
    const std::vector<std::string> items = automation::vb::Split(ids, ",");
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string& item = items[i];
        bool failed = true;
        std::string failure;
        int number = 0;
        try {
            const double id = automation::vb::Val(item);
            form.CurrentControl = shell::obj(bars).FindControl(std::nullopt, automation::Variant(id));
            if (form.CurrentControl) {
                form.CurrentControl->Copy(form.CurrentBar);
                failed = false;
            } else {
                number = automation::vberr::ObjectNotSet;
                failure = "找不到此ID的控件";
            }
        } catch (const std::exception& e) {
            const shell::ErrObject error = shell::errorOf(e);
            number = error.Number;
            failure = error.Description;
        }
        if (!failed) continue;
        if (firstFailure == 0) firstFailure = number;
        if (!failures.empty()) failures += "\r\n";
        failures += "第" + std::to_string(i + 1) + "项 \"" + Trim(item) + "\": " + failure;
    }
    if (!failures.empty()) throw automation::AutomationError(firstFailure, failures);
}

}  // namespace tessaline::designer
