#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "automation/sim/Content.h"
#include "automation/sim/OfficeTestSupport.h"

namespace tessaline::automation::sim::testing {
namespace {

namespace fs = std::filesystem;

// Sets a variable of this process's environment; an empty value removes it.
void setEnvironment(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty()) {
        ::unsetenv(name);
    } else {
        ::setenv(name, value.c_str(), 1);
    }
#endif
}

// A content folder of its own for each test.
class ContentLoad : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder = fs::temp_directory_path() /
                 ("tessaline-content-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    void write(const std::string& file, const std::string& text) const {
        std::ofstream(folder / file, std::ios::binary) << text;
    }

    // The ContentError message of loading the folder, or "" when it loads.
    std::string loadError() const {
        try {
            SimOffice::load(folder.string());
        } catch (const ContentError& e) {
            return e.what();
        }
        return "";
    }

    static std::string excelWithControl(const std::string& control) {
        return R"({"application": {"name": "Microsoft Excel", "windowClass": "XLMAIN"},
                   "commandBars": [{"name": "Standard"},
                                   {"name": "Formatting", "controls": [{"id": 3}, )" +
               control + "]}]}";
    }

    fs::path folder;
};

TEST_F(ContentLoad, AnAbsentFileMeansTheHostIsNotInstalled) {
    write("word.json", R"({"application": {"name": "Microsoft Word", "windowClass": "OpusApp"}})");
    const auto office = SimOffice::load(folder.string());
    EXPECT_TRUE(office->isRunning("Word"));
    EXPECT_FALSE(office->isInstalled("Excel"));
    EXPECT_EQ(errorOf([&] { office->GetObject("Excel.Application"); }), vberr::CannotCreateObject);
    const auto word = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    EXPECT_EQ(word->CommandBars()->Count(), 0);
}

TEST_F(ContentLoad, AMissingFolderIsNamed) {
    const std::string missing = (folder / "nowhere").string();
    try {
        SimOffice::load(missing);
        FAIL();
    } catch (const ContentError& e) {
        EXPECT_NE(std::string(e.what()).find(missing), std::string::npos);
    }
}

TEST_F(ContentLoad, SyntaxErrorsNameTheFileLineAndColumn) {
    write("excel.json", "{\n  \"application\": {,\n}");
    const std::string error = loadError();
    EXPECT_NE(error.find("excel.json: line 2, column 19"), std::string::npos) << error;
    EXPECT_NE(error.find("unexpected ','"), std::string::npos) << error;

    // Bars are read while the file is parsed: a wrong bar still gives way to a syntax error after it.
    write("excel.json", "{\"application\": {\"name\": \"X\"}, \"commandBars\": [{\"nameLocal\": \"x\"}],\n ]");
    EXPECT_NE(loadError().find("excel.json: line 2, column 2"), std::string::npos) << loadError();
}

TEST_F(ContentLoad, WrongValuesNameTheirPath) {
    write("excel.json", excelWithControl(R"({"id": 4, "type": "button"})"));
    EXPECT_NE(loadError().find("excel.json: commandBars[1].controls[1].type: expected a whole number"),
              std::string::npos)
        << loadError();

    write("excel.json", excelWithControl(R"({"caption": "no id"})"));
    EXPECT_NE(loadError().find("commandBars[1].controls[1].id: missing"), std::string::npos) << loadError();

    write("excel.json", excelWithControl(R"({"id": 4, "faceId": 40000})"));
    EXPECT_NE(loadError().find("commandBars[1].controls[1].faceId: expected a whole number from 0 to 32767"),
              std::string::npos)
        << loadError();

    write("excel.json", excelWithControl(R"({"id": 4, "style": 5})"));
    EXPECT_NE(loadError().find("controls[1].style"), std::string::npos) << loadError();

    write("excel.json", excelWithControl(R"({"id": 4, "controls": [{"id": 5}]})"));
    EXPECT_NE(loadError().find("controls[1].controls: only popups"), std::string::npos) << loadError();

    write("excel.json", excelWithControl(R"({"type": 10, "id": 4, "controls": [{"id": 5, "visible": "yes"}]})"));
    EXPECT_NE(loadError().find("commandBars[1].controls[1].controls[0].visible: expected true or false"),
              std::string::npos)
        << loadError();

    write("excel.json", R"({"application": {"name": "X"}, "commandBars": [{"nameLocal": "无名"}]})");
    EXPECT_NE(loadError().find("commandBars[0].name: missing"), std::string::npos) << loadError();

    write("excel.json",
          R"({"application": {"name": "X"}, "commandBars": [{"name": "C", "type": 2, "visible": true}]})");
    EXPECT_NE(loadError().find("commandBars[0].visible"), std::string::npos) << loadError();

    write("excel.json", R"({"commandBars": [{"nameLocal": "无名"}]})");
    EXPECT_NE(loadError().find("excel.json: application: missing"), std::string::npos) << loadError();

    write("excel.json", R"([1, 2])");
    EXPECT_NE(loadError().find("excel.json: (top level): expected an object"), std::string::npos) << loadError();
}

TEST_F(ContentLoad, HugeNumbersAreRefusedNotWrapped) {
    write("excel.json", excelWithControl(R"({"id": 99999999999999999999})"));
    EXPECT_NE(loadError().find("controls[1].id: expected a whole number"), std::string::npos) << loadError();
    write("excel.json", excelWithControl(R"({"id": 4294967299})"));
    EXPECT_NE(loadError().find("controls[1].id: expected a whole number from 1"), std::string::npos) << loadError();
    write("excel.json", excelWithControl(R"({"id": 1e400})"));
    EXPECT_NE(loadError().find("excel.json: number overflow"), std::string::npos) << loadError();
}

TEST_F(ContentLoad, AbsurdNestingIsRefusedWithoutCrashing) {
    write("word.json", std::string(200000, '[') + std::string(200000, ']'));
    EXPECT_NE(loadError().find("word.json: line 1, column 65: nesting deeper than 64 levels"), std::string::npos)
        << loadError();

    std::string popups = R"({"id": 9})";
    for (int i = 0; i < 20; ++i) popups = R"({"type": 10, "id": 30000, "controls": [)" + popups + "]}";
    write("word.json",
          R"({"application": {"name": "W"}, "commandBars": [{"name": "Deep", "controls": [)" + popups + "]}]}");
    EXPECT_NE(loadError().find("popups nested deeper than"), std::string::npos) << loadError();
}

TEST_F(ContentLoad, ContentBeyondTheLimitsIsRefusedAtItsPlace) {
    // A caption of 9 MB would cost the window gigabytes; the longest allowed text still loads.
    write("excel.json", excelWithControl(R"({"id": 1, "caption": ")" + std::string(9'000'000, 'x') + "\"}"));
    EXPECT_NE(loadError().find("excel.json: commandBars[1].controls[1].caption: a text of 9000000 characters (at most "
                               "1024)"),
              std::string::npos)
        << loadError().substr(0, 300);
    write("excel.json", excelWithControl(R"({"id": 1, "caption": ")" + std::string(1024 / 3 * 3, 'x') + "\"}"));
    EXPECT_EQ(loadError(), "");

    std::string many;
    for (int i = 0; i < 4001; ++i) many += std::string(i ? "," : "") + R"({"id": 2})";
    write("excel.json", excelWithControl(many));
    EXPECT_NE(loadError().find("commandBars[1].controls: 4002 controls (at most 4000 on one bar or popup)"),
              std::string::npos)
        << loadError();
}

TEST_F(ContentLoad, BrokenTextIsRefused) {
    write("word.json", "{\"application\": {\"name\": \"\xff\"}}");
    EXPECT_NE(loadError().find("word.json: line 1"), std::string::npos) << loadError();
    write("word.json", "");
    EXPECT_NE(loadError().find("word.json: line 1, column 1"), std::string::npos) << loadError();
    fs::remove(folder / "word.json");
    fs::create_directory(folder / "word.json");
    EXPECT_NE(loadError().find("word.json: not a file"), std::string::npos) << loadError();
}

TEST_F(ContentLoad, ApplicationFlagsDecideWhatRunsAtStart) {
    write("excel.json", R"({"application": {"name": "Microsoft Excel", "running": false}})");
    write("vbe.json", R"({"application": {"name": "Microsoft Visual Basic", "running": true}})");
    write("outlook.json", R"({"application": {"name": "Microsoft Outlook", "explorer": false}})");
    const auto office = SimOffice::load(folder.string());
    EXPECT_FALSE(office->isRunning("Excel"));
    EXPECT_FALSE(office->isRunning("VBE"));
    const auto outlook = std::dynamic_pointer_cast<OutlookApplication>(office->GetObject("outlook.application"));
    EXPECT_EQ(outlook->ActiveExplorer(), nullptr);
    EXPECT_EQ(office->FindWindow("rctrl_renwnd32"), 0);

    // The editor opens with Excel, in the default window class.
    ASSERT_TRUE(office->startHost("VBE"));
    EXPECT_TRUE(office->isRunning("Excel"));
    EXPECT_NE(office->FindWindow("XLMAIN"), 0);
    EXPECT_EQ(office->windowClass(office->foregroundWindow()), "wndclass_desked_gsk");
}

TEST_F(ContentLoad, WithoutTheEditorsContentExcelRefusesAccessToIt) {
    write("excel.json", R"({"application": {"name": "Microsoft Excel"}})");
    const auto office = SimOffice::load(folder.string());
    const auto excel = std::dynamic_pointer_cast<ExcelApplication>(office->GetObject("Excel.Application"));
    EXPECT_EQ(errorOf([&] { excel->VBE(); }), vberr::ApplicationDefined);
    EXPECT_FALSE(office->startHost("VBE"));
}

TEST_F(ContentLoad, TheEnvironmentNamesTheDefaultFolder) {
    const char* old = std::getenv("TESSALINE_OFFICE_CONTENT");
    const std::string saved = old ? old : "";
    write("word.json", R"({"application": {"name": "Env Word"}})");
    setEnvironment("TESSALINE_OFFICE_CONTENT", folder.string());
    EXPECT_EQ(SimOffice::defaultFolder(), folder.string());
    const auto office = SimOffice::loadDefault();
    EXPECT_EQ(std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"))->Name(), "Env Word");
    setEnvironment("TESSALINE_OFFICE_CONTENT", "");
    EXPECT_EQ(SimOffice::defaultFolder(), std::string(TESSALINE_DEFAULT_DATA_DIR) + "/office");
    if (old) setEnvironment("TESSALINE_OFFICE_CONTENT", saved);
}

TEST(ContentDefault, TheShippedOfficeLoadsWithFullSizedBars) {
    const std::string shipped = std::string(TESSALINE_DATA_DIR) + "/office";
    if (!fs::exists(fs::path(shipped) / "excel.json")) {
        GTEST_SKIP() << "the shipped content is not there yet";
    }
    const auto office = SimOffice::load(shipped);
    const auto excel = std::dynamic_pointer_cast<ExcelApplication>(office->GetObject("Excel.Application"));
    EXPECT_GE(excel->CommandBars()->Count(), 100);
    EXPECT_NO_THROW(excel->CommandBars()->Item("Worksheet Menu Bar"));
    EXPECT_EQ(office->FindWindow("wndclass_desked_gsk"), 0);
    for (const char* progId : {"Word.Application", "Powerpoint.Application", "Access.Application"}) {
        const auto app = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject(progId));
        ASSERT_NE(app, nullptr) << progId;
        EXPECT_GT(app->CommandBars()->Count(), 0) << progId;
    }
    EXPECT_GT(excel->VBE()->CommandBars()->Count(), 0);
    EXPECT_TRUE(office->clickButton("Standard", {1}));
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
