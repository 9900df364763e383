#include "designer/DesignerHandlers.h"

#include "designer/ApplyDesign.h"
#include "designer/CodePane.h"
#include "designer/DesignGrid.h"
#include "designer/ExcelDesign.h"
#include "designer/Export.h"
#include "designer/SubItems.h"
#include "shell/Form1.h"

namespace tessaline::designer {

void attachHandlers(shell::Form1& form) {
    struct Binding {
        const char* item;
        void (*handler)(shell::Form1&);
    };
    static constexpr Binding bindings[] = {
        {"DeleteLine", DeleteLine_Click},
        {"InsertLine", InsertLine_Click},
        {"AddLine", AddLine_Click},
        {"AddtoFirst", AddtoFirst_Click},
        {"AddToLast", AddToLast_Click},
        {"ReplaceOriginal", ReplaceOriginal_Click},
        {"ExportID", ExportID_Click},
        {"ExportToExcel", ExportToExcel_Click},
        {"OpenSubItem", OpenSubItem_Click},
        {"CreateSubItem", CreateSubItem_Click},
        {"menuCopyCode", menuCopyCode_Click},
        {"menuSelectAll", menuSelectAll_Click},
        {"menuClearCallback", menuClearCallback_Click},
        {"MenuExcelDesign", MenuExcelDesign_Click},
        {"BatchAddfromExcel", BatchAddfromExcel_Click},
        {"menuDesignerxls", menuDesignerxls_Click},
    };
    for (const Binding& binding : bindings) {
        form.menu(binding.item).onClick = [&form, handler = binding.handler] { handler(form); };
    }
    form.DesignMode.onClick = [&form] { DesignMode_Click(form); };
    form.BatchCopy.onClick = [&form] { BatchCopy_Click(form); };
    // The control grid's right button already chooses DesignModeMenu while the box is checked.
    form.RichTextBox1.onMouseDown = [&form](const shell::MouseEvent& mouse) { RichTextBox1_MouseDown(form, mouse); };
}

}  // namespace tessaline::designer
