#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "automation/Excel.h"
#include "scenario/ScenarioRunner.h"
#include "shell/Form1.h"

namespace tessaline::scenario {
namespace {

namespace fs = std::filesystem;

class ProgramFolderTest : public ::testing::Test {
protected:
    ProgramFolderTest() : runner(transcript, options()) {}

    static RunnerOptions options() {
        RunnerOptions options;
        options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
        options.programFiles = TESSALINE_WORKBOOK_DIR;
        return options;
    }
    int run(const std::string& text) { return runner.run(parseScript(text, "t.scn", TESSALINE_SOURCE_DIR "/tests")); }
    fs::path programFolder() { return runner.form()->App.Path; }

    std::ostringstream transcript;
    ScenarioRunner runner;
};

TEST_F(ProgramFolderTest, CopyGivesAFreshFolderWithTheShippedFilesThatGoesWithTheSession) {
    ASSERT_EQ(run("programfolder copy\n"), 0) << transcript.str();
    const fs::path first = programFolder();
    EXPECT_NE(first, fs::path(TESSALINE_WORKBOOK_DIR));
    EXPECT_TRUE(fs::is_regular_file(first / "Tessaline.xls"));
    EXPECT_TRUE(fs::is_regular_file(first / "Menubar.xls"));
    EXPECT_TRUE(fs::is_regular_file(first / "TreeviewofCommandbars.xls"));
    for (const char* name : {"Menubar.xls", "Tessaline.xls", "TreeviewofCommandbars.xls"}) {
        EXPECT_NE(transcript.str().find(name), std::string::npos) << "the transcript names " << name;
    }

    // A second folder replaces the first, which is removed; so is the last one when the session ends.
    ASSERT_EQ(run("programfolder empty\n"), 0);
    const fs::path second = programFolder();
    EXPECT_FALSE(fs::exists(first));
    EXPECT_TRUE(fs::is_directory(second));
    EXPECT_TRUE(fs::is_empty(second));
    runner.reset();
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(ProgramFolderTest, ScriptsOpenTheCopyNotTheShippedWorkbook) {
    EXPECT_EQ(run("programfolder copy\n"
                  "menu menuDesignerxls\n"
                  "expect excelapp = Application\n"
                  "expect foreground = XLMAIN\n"),
              0)
        << transcript.str();
    shell::Form1& form = *runner.form();
    ASSERT_NE(form.ExcelApp, nullptr);
    EXPECT_EQ(fs::path(form.ExcelApp->Workbooks()->Item("Tessaline.xls")->Path()), programFolder());
}

TEST_F(ProgramFolderTest, RefusesOtherWordsAndAFolderWithoutProgramFiles) {
    EXPECT_EQ(run("programfolder\nprogramfolder somewhere\n"), 2);
    ScenarioRunner empty(transcript, [] {
        RunnerOptions options;
        options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
        options.programFiles = TESSALINE_SOURCE_DIR "/docs";
        return options;
    }());
    EXPECT_EQ(empty.run(parseScript("programfolder copy\n", "t.scn", TESSALINE_SOURCE_DIR "/tests")), 1);
    EXPECT_NE(transcript.str().find("no program files"), std::string::npos);
}

}  // namespace
}  // namespace tessaline::scenario
