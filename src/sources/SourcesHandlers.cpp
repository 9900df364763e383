#include "sources/SourcesHandlers.h"

#include "shell/Form1.h"
#include "sources/MacroList.h"

namespace tessaline::sources {

void attachHandlers(shell::Form1& form) {
    form.ShowMacroList.onClick = [&form] { ShowMacroList_Click(form); };
    form.ListMacros.onClick = [&form] { ListMacros_Click(form); };
    form.ListMacros.onMouseDown = [&form](const shell::MouseEvent& mouse) { ListMacros_MouseDown(form, mouse); };
    form.menu("HideMacroList").onClick = [&form] { HideMacroList_Click(form); };
    form.menu("Refresh").onClick = [&form] { Refresh_Click(form); };
    form.menu("Shrink").onClick = [&form] { Shrink_Click(form); };
}

}  // namespace tessaline::sources
