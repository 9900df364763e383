#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "automation/sim/OfficeTestSupport.h"

namespace tessaline::automation::sim::testing {
namespace {

namespace fs = std::filesystem;

// Each test keeps its bars in a folder of its own, never in the user's.
class KeptBars : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        kept = fs::temp_directory_path() /
               ("tessaline-kept-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
        fs::remove_all(kept);
    }
    void TearDown() override { fs::remove_all(kept); }

    std::unique_ptr<SimOffice> start() const { return SimOffice::loadKeeping(smallContentFolder(), kept.string()); }

    static CommandBarsPtr barsOf(SimOffice& office, const std::string& host = "Excel") {
        return std::dynamic_pointer_cast<CommandBarHost>(office.host(host))->CommandBars();
    }
    static std::vector<std::string> captions(const CommandBarPtr& bar) {
        std::vector<std::string> out;
        for (const auto& c : bar->Controls()->Enumerate()) out.push_back(c->Caption());
        return out;
    }

    fs::path kept;
};

TEST_F(KeptBars, WhatAUserChangedIsThereAtTheNextStart) {
    std::vector<std::string> shippedStandard;
    {
        const auto office = start();
        const auto bars = barsOf(*office);
        shippedStandard = captions(bars->Item("Standard"));
        const auto mine = bars->Add("我的工具栏");
        mine->SetPosition(mso::BarBottom);
        mine->SetVisible(true);
        const auto hello = mine->Controls()->Add(mso::ControlButton)->AsButton();
        hello->SetCaption("你好");
        hello->SetOnAction("SayHello");
        hello->SetFaceId(59);
        hello->SetTag("hello");
        const auto more = mine->Controls()->Add(mso::ControlPopup);
        more->SetCaption("更多");
        more->AsPopup()->Controls()->Add(mso::ControlButton)->SetCaption("子项");

        const auto standard = bars->Item("Standard");
        standard->Controls()->Add(mso::ControlButton, 19);  // 复制, a built-in command
        standard->Controls()->Item(1)->Move(nullptr, 4);    // 新建 behind 保存
        standard->Controls()->Item("打开(&O)...")->Delete();
        standard->Controls()->Item("保存(&S)")->SetOnAction("MySave");
        bars->Item("Formatting")->SetVisible(true);
        // What was made for this session only is not kept.
        bars->Add("临时", std::nullopt, std::nullopt, true);
        standard->Controls()
            ->Add(mso::ControlButton, std::nullopt, std::nullopt, std::nullopt, true)
            ->SetCaption("临时");

        // A host that quits writes its bars, and starts from them again.
        barsOf(*office, "Word")->Add("Word 的栏");
        office->stopHost("Word");
        ASSERT_TRUE(office->startHost("Word"));
        EXPECT_NO_THROW(barsOf(*office, "Word")->Item("Word 的栏"));
    }
    ASSERT_TRUE(fs::exists(kept / "excel.json"));

    const auto office = start();
    EXPECT_TRUE(office->takeKeepingProblems().empty());
    const auto bars = barsOf(*office);
    const auto mine = bars->Item("我的工具栏");
    EXPECT_FALSE(mine->BuiltIn());
    EXPECT_TRUE(mine->Visible());
    EXPECT_EQ(mine->Position(), mso::BarBottom);
    const auto hello = mine->Controls()->Item(1)->AsButton();
    EXPECT_EQ(hello->Caption(), "你好");
    EXPECT_EQ(hello->OnAction(), "SayHello");
    EXPECT_EQ(hello->FaceId(), 59);
    EXPECT_EQ(hello->Tag(), "hello");
    EXPECT_EQ(hello->Id(), 1);
    EXPECT_FALSE(hello->BuiltIn());
    EXPECT_EQ(captions(mine->Controls()->Item(2)->AsPopup()->CommandBar()), std::vector<std::string>{"子项"});

    const auto standard = bars->Item("Standard");
    EXPECT_EQ(captions(standard),
              (std::vector<std::string>{"保存(&S)", "新建(&N)", "打印(&P)", "显示比例(&Z):", "复制(&C)"}));
    EXPECT_FALSE(standard->Controls()->Item(1)->BuiltIn());  // its macro made it the user's
    EXPECT_EQ(standard->Controls()->Item(1)->Id(), 3);
    EXPECT_FALSE(standard->Controls()->Item(3)->Visible());
    EXPECT_EQ(standard->Controls()->Item(5)->Id(), 19);
    EXPECT_TRUE(standard->Controls()->Item(5)->BuiltIn());
    EXPECT_TRUE(bars->Item("Formatting")->Visible());
    EXPECT_NO_THROW(barsOf(*office, "Word")->Item("Word 的栏"));
    EXPECT_EQ(errorOf([&] { bars->Item("临时"); }), vberr::InvalidCall);

    // Built-in bars still reset to what ships, and the user's own bar goes as the user's.
    EXPECT_TRUE(standard->BuiltIn());
    standard->Reset();
    EXPECT_EQ(captions(standard), shippedStandard);
    EXPECT_NO_THROW(mine->Delete());
}

TEST_F(KeptBars, BarsAsShippedLeaveNoFileAndPlainLoadNeverKeeps) {
    start().reset();
    EXPECT_FALSE(fs::exists(kept / "excel.json"));

    {
        const auto office = start();
        barsOf(*office)->Add("Kept");
        office->keepBars();
        EXPECT_TRUE(fs::exists(kept / "excel.json"));
    }
    // The Office of tests and scripts reads no kept file and writes none.
    {
        const auto office = SimOffice::load(smallContentFolder());
        EXPECT_EQ(errorOf([&] { barsOf(*office)->Item("Kept"); }), vberr::InvalidCall);
        barsOf(*office)->Add("Not kept");
    }
    const auto office = start();
    EXPECT_EQ(errorOf([&] { barsOf(*office)->Item("Not kept"); }), vberr::InvalidCall);
    // Deleting the bar brings the shipped bars back: the file goes.
    barsOf(*office)->Item("Kept")->Delete();
    office->keepBars();
    EXPECT_FALSE(fs::exists(kept / "excel.json"));
}

TEST_F(KeptBars, ADamagedFileIsSetAsideAndReportedAndTheHostStartsAsShipped) {
    fs::create_directories(kept);
    std::ofstream(kept / "excel.json", std::ios::binary) << R"({"application": {"name": "Microsoft Excel"},
        "commandBars": [{"name": "Mine", "builtIn": false, "controls": [{"type": "button"}]}]})";
    std::ofstream(kept / "word.json", std::ios::binary) << "{\"application\": ";  // cut short

    const auto office = start();
    const auto problems = office->takeKeepingProblems();
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_NE(problems[0].find("excel.json: commandBars[0].controls[0].type: expected a whole number"),
              std::string::npos)
        << problems[0];
    EXPECT_NE(problems[0].find("set aside as excel.json.damaged"), std::string::npos) << problems[0];
    EXPECT_NE(problems[1].find("word.json: line 1"), std::string::npos) << problems[1];
    EXPECT_TRUE(fs::exists(kept / "excel.json.damaged"));
    EXPECT_FALSE(fs::exists(kept / "excel.json"));
    EXPECT_EQ(barsOf(*office)->Count(), barsOf(*SimOffice::load(smallContentFolder()))->Count());
}

TEST_F(KeptBars, ResetPutsTheShippedBarsBackAndRemovesTheFile) {
    const auto office = start();
    const auto bars = barsOf(*office);
    const auto mine = bars->Add("Mine");
    const auto standard = bars->Item("Standard");
    standard->Controls()->Item(1)->Delete();
    office->keepBars();
    ASSERT_TRUE(fs::exists(kept / "excel.json"));

    EXPECT_TRUE(office->resetToShipped("Excel"));
    EXPECT_FALSE(fs::exists(kept / "excel.json"));
    EXPECT_EQ(errorOf([&] { bars->Item("Mine"); }), vberr::InvalidCall);
    EXPECT_EQ(bars->Item("Standard")->Controls()->Item(1)->Caption(), "新建(&N)");
    // What the tool held before is gone, as deleted bars are.
    EXPECT_EQ(errorOf([&] { mine->Name(); }), vberr::MethodFailed);
    EXPECT_FALSE(office->resetToShipped("Access"));  // not installed
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
