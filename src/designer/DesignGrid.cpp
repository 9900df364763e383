#include "designer/DesignGrid.h"

#include "shell/ControlGrid.h"
#include "shell/Form1.h"

namespace tessaline::designer {

namespace {

// The grid's AddItem takes TAB-joined cells; an empty text gives a row empty in every column.
constexpr const char* kEmptyRow = "";

}  // namespace

// Mode none. Design mode never touches CurrentBar, CurrentPopup or CurrentControl: the target of the design
// is whatever they hold when it is applied.
void DesignMode_Click(shell::Form1& form) {
    shell::FlexGrid& grid = form.ListAllCommandControls;
    if (form.DesignMode.Value() == shell::vbcheck::Checked) {
        // A click on another bar while the design is built would silently change where it goes.
        form.ListAllCommandbars.SetEnabled(false);
        grid.Clear();
        grid.SetRows(grid.FixedRows() + 1);
        shell::SetControlGridHeaders(form);
    } else {
        form.ListAllCommandbars.SetEnabled(true);
    }
}

// Mode none.
void DeleteLine_Click(shell::Form1& form) {
    shell::FlexGrid& grid = form.ListAllCommandControls;
    const int row = grid.Row();
    if (row < grid.FixedRows()) return;
    if (grid.Rows() - grid.FixedRows() <= 1) {
        for (int col = 0; col < grid.Cols(); ++col) grid.SetTextMatrix(row, col, "");
        return;
    }
    grid.RemoveItem(row);
}

// Mode none. The new row takes the current row's index, so it stands above the row the user clicked.
void InsertLine_Click(shell::Form1& form) {
    shell::FlexGrid& grid = form.ListAllCommandControls;
    const int row = grid.Row() < grid.FixedRows() ? grid.FixedRows() : grid.Row();
    grid.AddItem(kEmptyRow, row);
}

// Report mode.
void AddLine_Click(shell::Form1& form) {
    shell::report(form, [&] {
        shell::FlexGrid& grid = form.ListAllCommandControls;
        grid.SetRows(grid.Rows() + 1);
    });
}

}  // namespace tessaline::designer
