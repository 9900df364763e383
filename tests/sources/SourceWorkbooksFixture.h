#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"
#include "sources/SourcesHandlers.h"

namespace tessaline::sources::testing {

// The window on an in-memory Office started from tests/sources/workbook-content: an Excel whose menu bar
// has popups three levels deep, captions the walks skip and popups of every type, a bar without controls,
// a "BUILT-IN menus" bar; the VBA editor, Word and Outlook with a menu bar each. The program's folder is a
// fresh copy of the shipped source workbooks, so the tests never touch the build's own files. Nothing is
// chosen yet: each test picks its host.
class SourceWorkbooksFixture : public ::testing::Test {
protected:
    SourceWorkbooksFixture() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = std::filesystem::temp_directory_path() / ("tessaline-sources-" + std::string(info->test_suite_name()) +
                                                           "-" + info->name() + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        for (const char* book : {"TreeviewofCommandbars.xls", "Menubar.xls"}) {
            std::filesystem::copy_file(std::filesystem::path(TESSALINE_WORKBOOK_DIR) / book, folder / book);
        }
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/sources/workbook-content");
        form = std::make_unique<shell::Form1>(*office, ui);
        form->App.Path = folder.string();
        attachHandlers(*form);
        form->load();
    }
    ~SourceWorkbooksFixture() override {
        form.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::shared_ptr<automation::ExcelApplication> excel() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
    }
    bool isOpen(const std::string& book) {
        for (const auto& open : excel()->Workbooks()->Enumerate()) {
            if (open->Name() == book) return true;
        }
        return false;
    }
    int openCount() { return excel()->Workbooks()->Count(); }
    // Opens a source workbook in Excel as the user would with the menu command.
    void openToolbarSource() { form->clickMenu("menuTreeviewxls"); }
    void openMenubarSource() { form->clickMenu("menuMenubarOpen"); }

    automation::Worksheet& sheet(const std::string& book, const std::string& name) {
        return *excel()->Workbooks()->Item(book)->Worksheets(name);
    }
    automation::Variant cell(automation::Worksheet& s, int row, int column) { return s.Cells(row, column)->Value(); }

    // The sheet as rows of "column caption index [id]", e.g. "B 文件(&F) 1 30002"; an empty row reads "".
    // Any cell outside the layout's columns shows up as "?col=value".
    std::vector<std::string> rowsOf(automation::Worksheet& s) {
        std::vector<std::string> rows;
        automation::RangePtr used = s.UsedRange();
        const int last = used->Row() + used->RowsCount() - 1;
        for (int row = 1; row <= last; ++row) {
            std::string text;
            for (int column = 1; column <= 20; ++column) {
                const automation::Variant value = cell(s, row, column);
                if (value.isEmpty()) continue;
                if (!text.empty()) text += ' ';
                if (column <= 4) {
                    text += std::string(1, static_cast<char>('A' + column - 1)) + " " + value.toString();
                } else if (column == 10 || column == 11) {
                    text += value.isNumber() ? value.toString() : "'" + value.toString();
                } else {
                    text += "?" + std::to_string(column) + "=" + value.toString();
                }
            }
            rows.push_back(text);
        }
        // Clearing need not shrink the used range; trailing empty rows are no part of the recording.
        while (!rows.empty() && rows.back().empty()) rows.pop_back();
        return rows;
    }

    // MenuApp, the right-click menu of the host frame, choosing an item as the user does.
    void chooseAppCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->Frame1, shell::vbbutton::Right);
    }
    // The tree's right-click menu, Viewer.
    void chooseViewerCommand(const std::string& item) {
        ui.queuePopupChoice(item);
        form->userMouseDown(form->TreeView1, shell::vbbutton::Right);
    }
    std::vector<std::string> shownMessages() const {
        std::vector<std::string> prompts;
        for (const auto& m : ui.messages) prompts.push_back(m.prompt);
        return prompts;
    }

    std::filesystem::path folder;
    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;
};

}  // namespace tessaline::sources::testing
