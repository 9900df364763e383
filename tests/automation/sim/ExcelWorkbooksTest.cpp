#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "automation/AutomationError.h"
#include "automation/sim/ExcelTestSupport.h"
#include "xls/XlsFile.h"

namespace tessaline::automation::sim {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

int errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const AutomationError& e) {
        return e.number();
    }
    return 0;
}

std::string messageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// A scratch folder removed after each test.
class ScratchFolder {
public:
    ScratchFolder() {
        path_ = fs::temp_directory_path() /
                ("tessaline-excel-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

WorkbooksPtr books(const char* content) { return makeWorkbooks({}, json::parse(content), "excel.json"); }

const char* kTwoBooks = R"([
  {"name": "Book1", "sheets": [{"name": "Sheet1", "cells": {"A1": "Standard", "J1": 1, "C3": true}},
                               {"name": "Sheet2"}]},
  {"name": "TreeviewofCommandbars.xls", "path": "/opt/tool", "active": true,
   "sheets": [{"name": "Excel"}, {"name": "Word"}]}
])";

TEST(ExcelWorkbooksTest, WorkbooksAreFoundByIndexOrByNameIgnoringCase) {
    auto all = books(kTwoBooks);
    EXPECT_EQ(all->Count(), 2);
    EXPECT_EQ(all->Item(1)->Name(), "Book1");
    EXPECT_EQ(all->Item("treeviewofcommandbars.XLS")->Name(), "TreeviewofCommandbars.xls");
    EXPECT_EQ(all->Item(2.0)->Name(), "TreeviewofCommandbars.xls");
    EXPECT_EQ(errorOf([&] { all->Item("TreeviewofCommandbars"); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { all->Item(3); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { all->Item(0); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(all->Enumerate().size(), 2u);
    EXPECT_EQ(activeWorkbookOf(all)->Name(), "TreeviewofCommandbars.xls");
}

TEST(ExcelWorkbooksTest, ContentGivesSheetsCellsAndPaths) {
    auto all = books(kTwoBooks);
    auto book = all->Item("Book1");
    EXPECT_EQ(book->Path(), "");
    EXPECT_EQ(book->FullName(), "Book1");
#ifdef _WIN32
    // Excel joins the folder and the name with the Windows separator, whatever the folder was written with.
    EXPECT_EQ(all->Item(2)->FullName(), "/opt/tool\\TreeviewofCommandbars.xls");
#else
    EXPECT_EQ(all->Item(2)->FullName(), "/opt/tool/TreeviewofCommandbars.xls");
#endif
    auto sheet = book->Worksheets("SHEET1");
    EXPECT_EQ(sheet->Range("A1")->Value(), Variant("Standard"));
    EXPECT_EQ(sheet->Range("J1")->Value(), Variant(1.0));
    EXPECT_EQ(sheet->Range("C3")->Text(), "TRUE");
    EXPECT_EQ(sheet->Index(), 1);
    EXPECT_EQ(sheet->Parent(), book);
    EXPECT_EQ(book->Worksheets(2)->Name(), "Sheet2");
    EXPECT_EQ(book->ActiveSheet()->Name(), "Sheet1");
    EXPECT_EQ(errorOf([&] { book->Worksheets("Sheet3"); }), vberr::SubscriptOutOfRange);
    EXPECT_EQ(errorOf([&] { book->Worksheets(3); }), vberr::SubscriptOutOfRange);
    EXPECT_TRUE(book->Saved());
}

TEST(ExcelWorkbooksTest, SheetsCanBeAddedActivatedAndRenamed) {
    auto all = books(kTwoBooks);
    auto book = all->Item("Book1");
    book->Worksheets("Sheet2")->Activate();
    auto added = book->AddWorksheet();
    EXPECT_EQ(added->Name(), "Sheet3");
    EXPECT_EQ(added->Index(), 2);  // before the sheet that was active
    EXPECT_EQ(book->ActiveSheet(), added);
    EXPECT_EQ(book->Worksheets(3)->Name(), "Sheet2");
    EXPECT_FALSE(book->Saved());
    EXPECT_EQ(activeWorkbookOf(all), book);  // activating a sheet brings its workbook to the front

    EXPECT_EQ(errorOf([&] { book->AddWorksheet("sheet1"); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { added->SetName("Sheet2"); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { added->SetName("a/b"); }), vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { added->SetName(std::string(32, 'x')); }), vberr::ApplicationDefined);
    added->SetName("设计");
    EXPECT_EQ(book->Worksheets("设计"), added);
}

TEST(ExcelWorkbooksTest, AddNumbersNewBooksAfterTheOnesOpen) {
    auto all = books(kTwoBooks);
    auto added = all->Add();
    EXPECT_EQ(added->Name(), "Book2");
    EXPECT_EQ(added->WorksheetCount(), 3);
    EXPECT_EQ(activeWorkbookOf(all), added);
    EXPECT_EQ(all->Add()->Name(), "Book3");
}

TEST(ExcelWorkbooksTest, OpeningAMissingFileFailsNamingIt) {
    auto all = books("null");
    EXPECT_EQ(all->Count(), 0);
    EXPECT_EQ(activeWorkbookOf(all), nullptr);
    try {
        all->Open("/nonexistent/folder/Tessaline.xls");
        FAIL() << "missing file opened";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::ApplicationDefined);
        EXPECT_NE(e.description().find("Tessaline.xls"), std::string::npos) << e.description();
    }
    EXPECT_EQ(errorOf([&] { all->Open(""); }), vberr::ApplicationDefined);
    EXPECT_EQ(all->Count(), 0);
}

TEST(ExcelWorkbooksTest, OpeningAFileThatIsNotAWorkbookFailsNamingIt) {
    ScratchFolder folder;
    std::ofstream(folder.file("Menubar.xls")) << "this is not a workbook";
    auto all = books("[]");
    try {
        all->Open(folder.file("Menubar.xls"));
        FAIL() << "garbage opened";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::ApplicationDefined);
        EXPECT_NE(e.description().find("Menubar.xls"), std::string::npos) << e.description();
    }
    EXPECT_EQ(errorOf([&] { all->Open(folder.path().string()); }), vberr::ApplicationDefined);  // a folder
    EXPECT_EQ(all->Count(), 0);
}

TEST(ExcelWorkbooksTest, SaveAsWritesARealFileThatOpensAgain) {
    ScratchFolder folder;
    auto all = books(kTwoBooks);
    auto book = all->Item("Book1");
    auto sheet = book->Worksheets(1);
    sheet->Range("B2")->SetValue("工具(&T)");
    sheet->Range("J2")->SetValue("3");
    book->Worksheets(2)->Activate();
    EXPECT_FALSE(book->Saved());

    book->SaveAs(folder.file("Menubar.xls"));
    EXPECT_TRUE(book->Saved());
    EXPECT_EQ(book->Name(), "Menubar.xls");
    EXPECT_EQ(fs::path(book->Path()), folder.path());
    book->Close();
    EXPECT_EQ(all->Count(), 1);
    EXPECT_EQ(errorOf([&] { book->Worksheets(1); }), vberr::AutomationFailure);

    auto reopened = all->Open(folder.file("Menubar.xls"));
    EXPECT_EQ(all->Item("MenuBar.xls"), reopened);
    EXPECT_EQ(reopened->ActiveSheet()->Name(), "Sheet2");
    auto back = reopened->Worksheets("Sheet1");
    EXPECT_EQ(back->Range("B2")->Value(), Variant("工具(&T)"));
    EXPECT_EQ(back->Range("J2")->Value(), Variant(3.0));
    EXPECT_EQ(back->Range("A1")->Value(), Variant("Standard"));
    EXPECT_EQ(back->Range("C3")->Value(), Variant(true));

    // Opening it again gives the workbook already open, not a second copy.
    EXPECT_EQ(all->Open(folder.file("Menubar.xls")), reopened);
    EXPECT_EQ(all->Count(), 2);
}

TEST(ExcelWorkbooksTest, SaveWritesToTheWorkbooksOwnFile) {
    ScratchFolder folder;
    {
        xls::WorkbookData data;
        data.sheets.push_back({"Excel", {{{1, 1}, Variant("Standard")}}});
        xls::writeWorkbook(folder.file("TreeviewofCommandbars.xls"), data);
    }
    auto all = books("[]");
    // The tool joins its folder and the file name with a backslash, as it would on Windows.
    auto book = all->Open(folder.path().string() + "\\TreeviewofCommandbars.xls");
    EXPECT_EQ(book->Name(), "TreeviewofCommandbars.xls");
    book->Worksheets("Excel")->Range("A2")->SetValue("Formatting");
    book->Save();
    EXPECT_TRUE(book->Saved());
    auto data = xls::readWorkbook(folder.file("TreeviewofCommandbars.xls"));
    ASSERT_EQ(data.sheets.size(), 1u);
    EXPECT_EQ(data.sheets[0].cells.at({2, 1}), Variant("Formatting"));
}

TEST(ExcelWorkbooksTest, SavingANewWorkbookGoesToTheCurrentFolder) {
    ScratchFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.path());
    auto all = books(kTwoBooks);
    auto book = all->Add();
    book->Worksheets(1)->Range("A1")->SetValue(1);
    book->Save();
    fs::current_path(before);
    EXPECT_EQ(book->Name(), "Book2.xls");
    EXPECT_TRUE(fs::exists(folder.file("Book2.xls")));
}

TEST(ExcelWorkbooksTest, SaveAsTheNameOfAnotherOpenWorkbookIsRefused) {
    ScratchFolder folder;
    auto all = books(kTwoBooks);
    EXPECT_EQ(errorOf([&] { all->Item(1)->SaveAs(folder.file("treeviewofcommandbars.xls")); }),
              vberr::ApplicationDefined);
    EXPECT_EQ(errorOf([&] { all->Item(1)->SaveAs(folder.file("no/such/folder/x.xls")); }), vberr::ApplicationDefined);
    EXPECT_EQ(all->Item(1)->Name(), "Book1");
}

TEST(ExcelContentTest, WrongContentNamesTheFileAndThePlace) {
    auto message = [](const char* content) {
        return messageOf([&] { makeWorkbooks({}, json::parse(content), "excel.json"); });
    };
    EXPECT_EQ(message(R"({"name": "Book1"})"), "excel.json: workbooks: expected an array");
    EXPECT_EQ(message(R"([{"sheets": []}])"), "excel.json: workbooks[0].name: missing");
    EXPECT_EQ(message(R"([{"name": "A"}, {"name": "a"}])"), "excel.json: workbooks[1].name: workbook name used twice");
    EXPECT_EQ(message(R"([{"name": "A", "sheets": [{"name": "S", "cells": {"B0": 1}}]}])"),
              "excel.json: workbooks[0].sheets[0].cells.B0: not a cell address");
    EXPECT_EQ(message(R"([{"name": "A", "sheets": [{"name": "S", "cells": {"B1": [1]}}]}])"),
              "excel.json: workbooks[0].sheets[0].cells.B1: expected text, a number or true/false");
    EXPECT_EQ(message(R"([{"name": "A", "sheets": [{"name": "S"}, {"name": "s"}]}])"),
              "excel.json: workbooks[0].sheets[1].name: sheet name used twice");
    EXPECT_EQ(message(R"([{"name": "A", "active": 1}])"), "excel.json: workbooks[0].active: expected true or false");
    EXPECT_EQ(message(R"([7])"), "excel.json: workbooks[0]: expected an object");
}

}  // namespace
}  // namespace tessaline::automation::sim

namespace tessaline::automation::sim {
namespace {

// The shipped content must load through the same readers; skipped while the files are not there.
TEST(ExcelContentTest, ShippedWorkbooksAndProjectsLoad) {
    const std::string folder = std::string(TESSALINE_DATA_DIR) + "/office/";
    std::ifstream excelFile(folder + "excel.json");
    std::ifstream vbeFile(folder + "vbe.json");
    if (!excelFile || !vbeFile) GTEST_SKIP() << "no shipped content in " << folder;
    const auto excel = nlohmann::json::parse(excelFile);
    const auto vbe = nlohmann::json::parse(vbeFile);
    auto all = makeWorkbooks({}, excel.value("workbooks", nlohmann::json()), "excel.json");
    EXPECT_GE(all->Count(), 1);
    ASSERT_NE(activeWorkbookOf(all), nullptr);
    EXPECT_NE(activeWorkbookOf(all)->ActiveSheet(), nullptr);
    auto projects = makeVbProjects(vbe.value("vbProjects", nlohmann::json()), "vbe.json");
    EXPECT_GE(projects->Count(), 1);
    for (const auto& project : projects->Enumerate()) {
        if (project->Protection() != vbext::ProtectionNone) continue;
        for (const auto& component : project->VBComponents()->Enumerate()) {
            auto code = component->CodeModule();
            EXPECT_NO_THROW(code->Lines(1, code->CountOfLines())) << component->Name();
        }
    }
}

}  // namespace
}  // namespace tessaline::automation::sim
