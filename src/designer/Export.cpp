#include "designer/Export.h"

#include <cstdint>
#include <memory>
#include <string>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "shell/Form1.h"

namespace tessaline::designer {

namespace {

constexpr const char* kDesignerWorkbook = "Tessaline.xls";

automation::ControlsPtr listedControls(shell::Form1& form) {
    if (form.CurrentPopup) return form.CurrentPopup->Controls();
    return shell::obj(form.CurrentBar).Controls();
}

std::shared_ptr<automation::ExcelApplication> runningExcel(shell::Form1& form) {
    auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(form.desktop().GetObject("Excel.Application"));
    if (!excel) throw automation::noSuchMember();
    return excel;
}

}  // namespace

// Resume mode.
void ExportID_Click(shell::Form1& form) {
    std::string ids;
    shell::resume(form, [&] {
        const auto controls = shell::obj(listedControls(form)).Enumerate();
        for (const automation::ControlPtr& control : controls) {
            form.CurrentControl = control;
            shell::resume(form, [&] { ids += std::to_string(control->Id()) + ","; });
        }
        // A finished For Each leaves its loop variable empty.
        if (!controls.empty()) form.CurrentControl = nullptr;
    });
    // With nothing listed there is no trailing comma to drop: Left(…, -1) fails and IDString stays.
    shell::resume(form, [&] { form.IDString.SetText(automation::vb::Left(ids, automation::vb::Len(ids) - 1)); });
}

// Resume mode. Each cell goes through Value, so Excel converts it as a typed entry ("True" becomes a
// Boolean, "59" a number), which is how the batch add reads the sheet back.
void ExportToExcel_Click(shell::Form1& form) {
    shell::resume(form, [&] { form.ExcelApp = runningExcel(form); });
    automation::WorksheetPtr sheet;
    shell::resume(form, [&] {
        sheet = shell::obj(shell::obj(shell::obj(form.ExcelApp).Workbooks()).Item(kDesignerWorkbook)).ActiveSheet();
    });
    // Without the sheet every write below would fail alike: nothing to do.
    if (!sheet) return;
    shell::resume(form, [&] { shell::obj(sheet->UsedRange()).ClearContents(); });

    const shell::FlexGrid& grid = form.ListAllCommandControls;
    const int rows = grid.Rows();
    const int cols = grid.Cols();
    for (int r = 0; r < rows; ++r) {
        // RowCounter is VB's 16-bit Integer: the export ends where it would overflow.
        if (r > INT16_MAX) break;
        form.RowCounter = static_cast<std::int16_t>(r);
        for (int c = 0; c < cols; ++c) {
            shell::resume(form, [&] { shell::obj(sheet->Cells(r + 1, c + 1)).SetValue(grid.TextMatrix(r, c)); });
        }
    }
}

}  // namespace tessaline::designer
