#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "automation/Excel.h"
#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "editing/EditingHandlers.h"
#include "editing/Search.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::editing::testing {

// The window on an in-memory Office with the editing handlers attached and a host chosen, and an Excel
// that has the toolbar source open: a workbook saved as TreeviewofCommandbars.xls into a folder of the
// test's own, with an empty sheet per host. Tests record a host's tree into its sheet (as "更新源" does)
// or write rows of their own, then type a key and press "搜索工具栏".
class SearchFixture : public ::testing::Test {
protected:
    explicit SearchFixture(const std::string& content = TESSALINE_SOURCE_DIR "/tests/editing/content") {
        static std::atomic<int> counter{0};
        folder = std::filesystem::temp_directory_path() /
                 ("tessaline-search-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(folder);
        office = automation::sim::SimOffice::load(content);
        form = std::make_unique<shell::Form1>(*office, ui);
        form->App.Path = folder.string();
        attachHandlers(*form);
        form->load();
        openSource();
    }
    ~SearchFixture() override {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }

    std::shared_ptr<automation::ExcelApplication> excel() {
        return std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
    }
    automation::CommandBars& hostBars(const std::string& hostKey) {
        return *std::dynamic_pointer_cast<automation::CommandBarHost>(office->host(hostKey))->CommandBars();
    }
    automation::Worksheet& sheet(const std::string& name) {
        return *excel()->Workbooks()->Item(SearchedWorkbookName)->Worksheets(name);
    }

    // Records every bar of the host into the sheet in the source layout: a bar's name in A and its Index
    // in J; each control's caption in B, C or D by depth, its Index in J and Id in K. Controls without a
    // caption or whose caption begins with "&" are left out with everything below them.
    void record(const std::string& sheetName, const std::string& hostKey) {
        automation::Worksheet& target = sheet(sheetName);
        target.UsedRange()->ClearContents();
        int row = 0;
        for (const auto& bar : hostBars(hostKey).Enumerate()) {
            ++row;
            target.Cells(row, 1)->SetValue(bar->Name());
            target.Cells(row, 10)->SetValue(bar->Index());
            recordControls(target, row, *bar->Controls(), 1);
        }
    }

    // Writes one row of a hand-made sheet: a bar (depth 0) or a control at depth 1 to 3.
    void writeRow(const std::string& sheetName, int row, int depth, const automation::Variant& text, int index,
                  int id = 0) {
        automation::Worksheet& target = sheet(sheetName);
        target.Cells(row, 1 + depth)->SetValue(text);
        target.Cells(row, 10)->SetValue(index);
        if (depth > 0) target.Cells(row, 11)->SetValue(id);
    }

    void search(const std::string& key) {
        form->IDString.SetText(key);
        form->userClick(form->SearchCommandbar);
    }

    // The names in the bar grid's data rows, top to bottom.
    std::vector<std::string> listedBars() {
        std::vector<std::string> names;
        const shell::FlexGrid& grid = form->ListAllCommandbars;
        for (int row = 1; row < grid.Rows(); ++row) names.push_back(grid.TextMatrix(row, 1));
        return names;
    }
    std::string barHeader(int col) { return form->ListAllCommandbars.TextMatrix(0, col); }

    std::filesystem::path folder;
    std::unique_ptr<automation::sim::SimOffice> office;
    shell::ScriptedUi ui;
    std::unique_ptr<shell::Form1> form;

private:
    void openSource() {
        auto book = excel()->Workbooks()->Add();
        book->Worksheets(1)->SetName("Excel");
        book->Worksheets(2)->SetName("Word");
        book->Worksheets(3)->SetName("VBE");
        for (const char* name : {"PowerPoint", "Access", "Outlook"}) book->AddWorksheet(name);
        book->SaveAs((folder / SearchedWorkbookName).string());
    }

    void recordControls(automation::Worksheet& target, int& row, automation::CommandBarControls& controls, int depth) {
        for (const auto& control : controls.Enumerate()) {
            const std::string caption = control->Caption();
            if (caption.empty() || caption.front() == '&') continue;
            ++row;
            target.Cells(row, 1 + depth)->SetValue(caption);
            target.Cells(row, 10)->SetValue(control->Index());
            target.Cells(row, 11)->SetValue(control->Id());
            const int type = control->Type();
            if (depth < 3 && type >= 10 && type <= 13) {
                recordControls(target, row, *control->AsPopup()->Controls(), depth + 1);
            }
        }
    }
};

}  // namespace tessaline::editing::testing
