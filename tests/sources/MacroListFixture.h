#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/SourcesHandlers.h"

namespace tessaline::sources::testing {

// The window on an in-memory Office whose Excel holds the VBA projects of tests/sources/content: a saved
// workbook C:\Work\Book1.xls with two standard modules and a class, form and document module beside them,
// an unsaved workbook, a locked add-in and a workbook whose path holds "!" and ".". The sources handlers
// are attached and Excel is chosen, as a user would start.
class MacroListFixture : public ::testing::Test {
protected:
    explicit MacroListFixture(const std::string& content = TESSALINE_SOURCE_DIR "/tests/sources/content") {
        office = automation::sim::SimOffice::load(content);
        form = std::make_unique<shell::Form1>(*office, ui);
        attachHandlers(*form);
        form->load();
        form->userClick(form->Excel);
    }

    shell::ListBox& list() { return form->ListMacros; }
    shell::FlexGrid& grid() { return form->ListAllCommandControls; }

    // A command of the list's right-click menu, chosen as the user does.
    void chooseListCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(list(), shell::vbbutton::Right);
    }
    void refresh() { chooseListCommand("Refresh"); }
    void shrink() { chooseListCommand("Shrink"); }

    // The user clicks an entry: the view selects it first, then the list's Click runs.
    void pick(int index) {
        form->dispatch([&] { list().SetListIndex(index); });
        form->userClick(list());
    }

    // A left click on a bar's name in the bar grid, which lists its controls.
    void selectBar(const std::string& name) {
        shell::FlexGrid& bars = form->ListAllCommandbars;
        for (int row = 1; row < bars.Rows(); ++row) {
            if (bars.TextMatrix(row, 1) == name) {
                form->userClickCell(bars, row, 1);
                return;
            }
        }
        ADD_FAILURE() << "no bar " << name << " in the bar grid";
    }

    std::vector<std::string> entries() { return list().items(); }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
};

}  // namespace tessaline::sources::testing
