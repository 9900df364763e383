#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "editing/EditingHandlers.h"
#include "shell/CommandbarGrid.h"
#include "shell/ControlGrid.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::editing::testing {

// The window on an in-memory Excel started from this folder's content (the real Worksheet Menu Bar,
// Standard and Formatting toolbars and the Cell shortcut menu), with the editing handlers attached and
// Excel chosen as the host, as a user would start a session.
class EditingFixture : public ::testing::Test {
protected:
    EditingFixture() {
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/editing/content");
        form = std::make_unique<shell::Form1>(*office, ui);
        attachHandlers(*form);
        form->load();
        form->userClick(form->Excel);
    }

    automation::CommandBars& hostBars() {
        auto host = std::dynamic_pointer_cast<automation::CommandBarHost>(office->host("Excel"));
        return *host->CommandBars();
    }
    automation::CommandBar& hostBar(const std::string& name) { return *hostBars().Item(name); }
    bool hasBar(const std::string& name) {
        for (const auto& bar : hostBars().Enumerate()) {
            if (bar->Name() == name) return true;
        }
        return false;
    }

    // Lists the host's bars again, after a test changed them behind the window's back.
    void relistBars() {
        form->dispatch([this] { shell::ListCommandbars(*form); });
    }
    // A left click on a bar's name in the bar grid.
    void selectBar(const std::string& name) {
        shell::FlexGrid& grid = form->ListAllCommandbars;
        for (int row = 1; row < grid.Rows(); ++row) {
            if (grid.TextMatrix(row, 1) == name) {
                form->userClickCell(grid, row, 1);
                return;
            }
        }
        FAIL() << "no bar " << name << " in the bar grid";
    }
    // A left click on a row of the control grid.
    void selectRow(int row, int col = 1) { form->userClickCell(form->ListAllCommandControls, row, col); }
    // Lists the sub items of a popup of the listed bar, as opening it does.
    void openPopup(int row) {
        form->CurrentPopup = form->CurrentBar->Controls()->Item(row)->AsPopup();
        shell::FlexGrid& grid = form->ListAllCommandControls;
        grid.Clear();
        grid.SetRows(1);
        form->RowCounter = 1;
        shell::SetControlGridHeaders(*form);
        shell::ListControls(*form, *form->CurrentPopup->Controls());
    }
    // Right-click menus, choosing an item as the user does.
    void chooseBarCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->ListAllCommandbars, shell::vbbutton::Right);
    }
    void chooseControlCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->ListAllCommandControls, shell::vbbutton::Right);
    }
    // Clicks a cell of the control grid, empties it with the Delete key and types `text` into it.
    void typeIntoCell(int row, int col, const std::string& text) {
        selectRow(row, col);
        form->userKeyDown(form->ListAllCommandControls, 46);
        for (std::size_t at = 0; at < text.size();) {
            const auto lead = static_cast<unsigned char>(text[at]);
            const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            int codePoint = length == 1 ? lead : lead & (0x3F >> (length - 1));
            for (int i = 1; i < length; ++i) codePoint = (codePoint << 6) | (text[at + i] & 0x3F);
            form->userKeyPress(form->ListAllCommandControls, codePoint);
            at += static_cast<std::size_t>(length);
        }
    }

    static std::vector<std::string> captions(automation::CommandBarControls& controls) {
        std::vector<std::string> out;
        for (const auto& control : controls.Enumerate()) out.push_back(control->Caption());
        return out;
    }
    static std::vector<int> ids(automation::CommandBarControls& controls) {
        std::vector<int> out;
        for (const auto& control : controls.Enumerate()) out.push_back(control->Id());
        return out;
    }
    std::vector<int> ids(const std::string& barName) { return ids(*hostBar(barName).Controls()); }
    // The grid's column of one cell per data row.
    std::vector<std::string> gridColumn(int col) {
        std::vector<std::string> out;
        shell::FlexGrid& grid = form->ListAllCommandControls;
        for (int row = 1; row < grid.Rows(); ++row) out.push_back(grid.TextMatrix(row, col));
        return out;
    }
    std::vector<std::string> messagePrompts() const {
        std::vector<std::string> out;
        for (const auto& message : ui.messages) out.push_back(message.prompt);
        return out;
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
};

}  // namespace tessaline::editing::testing
