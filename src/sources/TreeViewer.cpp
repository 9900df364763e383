#include "sources/TreeViewer.h"

#include <memory>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/VbRuntime.h"
#include "shell/CheckBox.h"
#include "shell/ErrorModes.h"
#include "shell/Form1.h"
#include "shell/TreeNode.h"
#include "sources/SourceWorkbooks.h"

namespace tessaline::sources {

namespace {

namespace vb = automation::vb;
using automation::RangePtr;
using automation::Variant;
using shell::obj;

constexpr int kProgressPanel = 6;

// The sheet the viewer reads for the chosen host option, tested in the window's order; "" with no option.
std::string viewerSheetName(shell::Form1& form) {
    if (form.Void.Value()) return "Framework";
    if (form.Excel.Value()) return "Excel";
    if (form.Word.Value()) return "Word";
    if (form.PowerPoint.Value()) return "PowerPoint";
    if (form.Access.Value()) return "Access";
    if (form.Outlook.Value()) return "Outlook";
    if (form.VBE.Value()) return "VBE";
    return {};
}

bool isFilled(const Variant& value) { return !value.isEmpty() && !(value.isString() && value.asStringRaw().empty()); }

std::string keyOf(automation::Range& cell) { return NodeKeyOfAddress(cell.Address(false, false)); }

}  // namespace

std::string NodeKeyOfAddress(const std::string& relativeAddress) { return "K_" + relativeAddress; }

std::string AddressOfNodeKey(const std::string& key) { return vb::Replace(key, "K_", ""); }

// Report mode.
void Chk_Treeview_Click(shell::Form1& form) {
    shell::report(form, [&] { form.TreeView1.SetVisible(form.Chk_Treeview.Value() == shell::vbcheck::Checked); });
}

// Traps nothing.
void TreeView1_MouseDown(shell::Form1& form, const shell::MouseEvent& mouse) {
    if (mouse.button == shell::vbbutton::Right) form.PopupMenu(form.menu("Viewer"));
}

// Report mode: a failure stops the load where it is, and the nodes added so far stay.
void Fill_Click(shell::Form1& form) {
    shell::report(form, [&] {
        form.TreeView1.Nodes().Clear();
        OpenSourceFile_Click(form);
        form.StatusBar1.SetPanelText(kProgressPanel, "Waiting");

        const std::string sheetName = viewerSheetName(form);
        if (!sheetName.empty()) {
            form.SourceSheet =
                obj(obj(obj(form.ExcelApp).Workbooks()).Item(ToolbarSourceName)).Worksheets(Variant(sheetName));
        }
        automation::Worksheet& sheet = obj(form.SourceSheet);

        // The block around A1: the empty columns before the index column end it, so it spans the captions.
        RangePtr region = obj(sheet.Range("A1")).CurrentRegion();
        const int rows = obj(region).RowsCount();
        const int columns = region->ColumnsCount();

        for (const RangePtr& cell : obj(sheet.Range("A1:A" + std::to_string(rows))).Cells()) {
            const Variant value = obj(cell).Value();
            if (!isFilled(value)) continue;
            form.TreeView1.Nodes().Add(std::nullopt, std::nullopt, keyOf(*cell), vb::CStr(value));
        }

        // A sheet of bar names only has no child cells; the range from column 2 would reach back into A.
        if (columns >= 2) {
            RangePtr children = sheet.Range(sheet.Cells(1, 2), sheet.Cells(rows, columns));
            for (const RangePtr& cell : obj(children).Cells()) {
                const Variant value = obj(cell).Value();
                if (!isFilled(value)) continue;
                // The enclosing item is the nearest filled cell above, one column to the left.
                RangePtr parent = obj(cell->Offset(0, -1)).End(automation::xl::Up);
                form.TreeView1.Nodes().Add(Variant(keyOf(obj(parent))), Variant(shell::tvw::Child), keyOf(*cell),
                                           vb::CStr(value));
            }
        }
        form.StatusBar1.SetPanelText(kProgressPanel, "Completed");
    });
}

// Traps nothing.
void Expand_Click(shell::Form1& form) { form.TreeView1.setAllExpanded(true); }
void Merge_Click(shell::Form1& form) { form.TreeView1.setAllExpanded(false); }

// Report mode. Reads the sheet and the host option as they are now, not as they were at the load.
void TreeView1_NodeClick(shell::Form1& form, shell::TreeNode& node) {
    shell::report(form, [&] {
        const std::string address = AddressOfNodeKey(node.Key());
        automation::Worksheet& sheet = obj(form.SourceSheet);
        if (form.Void.Value()) {
            const int row = obj(sheet.Range(address)).Row();
            form.TreeView1.SetToolTipText(vb::CStr(obj(sheet.Cells(row, sourcecol::Description)).Value()));
            return;
        }
        // From a caption the next filled cell to the right is the index; the ID follows it.
        RangePtr index = obj(sheet.Range(address)).End(automation::xl::ToRight);
        const std::string indexText = vb::CStr(obj(index).Value());
        const std::string idText = vb::CStr(obj(index->Offset(0, 1)).Value());
        form.TreeView1.SetToolTipText("Name/Caption:" + node.Text() + ";" + "Index:" + indexText + ";" +
                                      "ID:" + idText);
    });
}

}  // namespace tessaline::sources
