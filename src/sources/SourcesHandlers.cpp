#include "sources/SourcesHandlers.h"

#include <memory>

#include "shell/Form1.h"
#include "sources/Capture.h"
#include "sources/MacroList.h"
#include "sources/SourceWorkbooks.h"
#include "sources/TreeViewer.h"

namespace tessaline::sources {

void attachHandlers(shell::Form1& form) {
    form.ShowMacroList.onClick = [&form] { ShowMacroList_Click(form); };
    form.ListMacros.onClick = [&form] { ListMacros_Click(form); };
    form.ListMacros.onMouseDown = [&form](const shell::MouseEvent& mouse) { ListMacros_MouseDown(form, mouse); };
    form.menu("HideMacroList").onClick = [&form] { HideMacroList_Click(form); };
    form.menu("Refresh").onClick = [&form] { Refresh_Click(form); };
    form.menu("Shrink").onClick = [&form] { Shrink_Click(form); };

    form.menu("OpenSourceFile").onClick = [&form] { OpenSourceFile_Click(form); };
    form.menu("menuTreeviewxls").onClick = [&form] { menuTreeviewxls_Click(form); };
    form.menu("MenuUpdateSource").onClick = [&form] { MenuUpdateSource_Click(form); };
    form.menu("menuMenubarOpen").onClick = [&form] { menuMenubarOpen_Click(form); };
    form.menu("menuMenubarRefresh").onClick = [&form] { menuMenubarRefresh_Click(form); };

    // The capture's hooks live as long as the window's menu commands that hold them.
    auto capture = std::make_shared<Capture>(form);
    form.menu("menuCaptureMenubar").onClick = [capture] { capture->menuCaptureMenubar_Click(); };
    form.menu("menuCommandbarCapture").onClick = [capture] { capture->menuCommandbarCapture_Click(); };
    form.menu("menuNormal").onClick = [capture] { capture->menuNormal_Click(); };

    form.Chk_Treeview.onClick = [&form] { Chk_Treeview_Click(form); };
    form.TreeView1.onMouseDown = [&form](const shell::MouseEvent& mouse) { TreeView1_MouseDown(form, mouse); };
    form.TreeView1.onNodeClick = [&form](shell::TreeNode& node) { TreeView1_NodeClick(form, node); };
    form.menu("Fill").onClick = [&form] { Fill_Click(form); };
    form.menu("Expand").onClick = [&form] { Expand_Click(form); };
    form.menu("Merge").onClick = [&form] { Merge_Click(form); };
}

}  // namespace tessaline::sources
