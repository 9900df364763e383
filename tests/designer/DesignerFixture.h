#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "designer/DesignerHandlers.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::designer::testing {

// The window on the small in-memory Office of tests/data with the designer's handlers attached and Excel
// chosen as the host. Its Standard toolbar holds five built-in controls (IDs 2520, 23, 3, 4 and 1733) and
// the Worksheet Menu Bar two popups.
class DesignerFixture : public ::testing::Test {
protected:
    DesignerFixture() {
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/data/office-small");
        form = std::make_unique<shell::Form1>(*office, ui);
        attachHandlers(*form);
        form->load();
        form->userClick(form->Excel);
    }

    shell::FlexGrid& grid() { return form->ListAllCommandControls; }

    automation::CommandBars& hostBars() {
        return *std::dynamic_pointer_cast<automation::CommandBarHost>(office->host("Excel"))->CommandBars();
    }
    automation::CommandBar& hostBar(const std::string& name) { return *hostBars().Item(name); }
    std::shared_ptr<automation::ExcelApplication> excel() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
    }

    // A left click on a bar's name in the bar grid.
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
    void selectRow(int row, int col = 1) { form->userClickCell(grid(), row, col); }

    void enterDesignMode() {
        if (form->DesignMode.Value() != shell::vbcheck::Checked) form->userClick(form->DesignMode);
    }
    void leaveDesignMode() {
        if (form->DesignMode.Value() == shell::vbcheck::Checked) form->userClick(form->DesignMode);
    }

    // The cells of one design row that the apply commands read; everything left out stays empty.
    struct DesignRow {
        std::string type{};
        std::string caption{};
        std::string onAction{};
        std::string faceId{};
        std::string beginGroup{};
        std::string enabled{};
        std::string visible{};
        std::string tooltip{};
        std::string style{};
        std::string shortcut{};
    };
    // Writes the rows into the design table from row 1 on, growing it with "增加行" as a user would.
    void design(const std::vector<DesignRow>& rows) {
        while (grid().Rows() < static_cast<int>(rows.size()) + 1) chooseDesignCommand("AddLine");
        int r = 1;
        for (const DesignRow& row : rows) {
            grid().SetTextMatrix(r, 2, row.caption);
            grid().SetTextMatrix(r, 4, row.beginGroup);
            grid().SetTextMatrix(r, 5, row.type);
            grid().SetTextMatrix(r, 6, row.enabled);
            grid().SetTextMatrix(r, 7, row.visible);
            grid().SetTextMatrix(r, 8, row.faceId);
            grid().SetTextMatrix(r, 9, row.onAction);
            grid().SetTextMatrix(r, 10, row.tooltip);
            grid().SetTextMatrix(r, 11, row.style);
            grid().SetTextMatrix(r, 12, row.shortcut);
            ++r;
        }
    }
    // Clicks a cell, empties it with the Delete key and types `text` into it, one character at a time.
    void typeIntoCell(int row, int col, const std::string& text) {
        selectRow(row, col);
        form->userKeyDown(grid(), 46);
        for (std::size_t at = 0; at < text.size();) {
            const auto lead = static_cast<unsigned char>(text[at]);
            const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            int codePoint = length == 1 ? lead : lead & (0x3F >> (length - 1));
            for (int i = 1; i < length; ++i) codePoint = (codePoint << 6) | (text[at + i] & 0x3F);
            form->userKeyPress(grid(), codePoint);
            at += static_cast<std::size_t>(length);
        }
    }

    // Right-click menus, choosing an item as the user does.
    void chooseDesignCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(grid(), shell::vbbutton::Right);
    }
    void chooseControlCommand(const std::string& item) { chooseDesignCommand(item); }
    void chooseBarCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->ListAllCommandbars, shell::vbbutton::Right);
    }
    void chooseCodePaneCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->RichTextBox1, shell::vbbutton::Right);
    }

    // One row of the design table or listing, cells 0..12.
    std::vector<std::string> gridRow(int row) {
        std::vector<std::string> out;
        for (int col = 0; col < grid().Cols(); ++col) out.push_back(grid().TextMatrix(row, col));
        return out;
    }
    static std::vector<std::string> captions(automation::CommandBarControls& controls) {
        std::vector<std::string> out;
        for (const auto& control : controls.Enumerate()) out.push_back(control->Caption());
        return out;
    }
    std::vector<std::string> captions(const std::string& barName) { return captions(*hostBar(barName).Controls()); }

    // Opens (or creates) the designer workbook "Tessaline.xls" in the running Excel, saved to a folder of
    // its own so that tests never share a file.
    automation::WorkbookPtr openDesignerWorkbook() {
        namespace fs = std::filesystem;
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() / ("tessaline-designer-" + std::string(test->name()));
        fs::create_directories(folder);
        automation::WorkbookPtr book = excel()->Workbooks()->Add();
        book->SaveAs((folder / "Tessaline.xls").string());
        return book;
    }
    ~DesignerFixture() override {
        std::error_code ignored;
        if (!folder.empty()) std::filesystem::remove_all(folder, ignored);
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
    std::filesystem::path folder;
};

}  // namespace tessaline::designer::testing
