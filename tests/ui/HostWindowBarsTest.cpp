#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/Office.h"
#include "automation/sim/SimOffice.h"
#include "ui/HostBars.h"

namespace tessaline::ui {
namespace {

namespace mso = automation::mso;

std::vector<std::string> captions(const std::vector<ShownControl>& controls) {
    std::vector<std::string> all;
    for (const ShownControl& control : controls) all.push_back(control.caption);
    return all;
}

std::vector<std::string> names(const std::vector<ShownBar>& bars) {
    std::vector<std::string> all;
    for (const ShownBar& bar : bars) all.push_back(bar.name);
    return all;
}

// What the host windows read of the small Office's Excel.
class HostBarsReading : public ::testing::Test {
protected:
    HostBarsReading()
        : office(automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/data/office-small")),
          bars(std::dynamic_pointer_cast<automation::CommandBarHost>(office->host("Excel"))->CommandBars()) {}

    std::unique_ptr<automation::sim::SimOffice> office;
    automation::CommandBarsPtr bars;
};

TEST_F(HostBarsReading, TheMenuBarComesWithItsVisibleTreeAndOnlyVisibleEnabledToolbarsFollow) {
    const HostBars shown = readHostBars(*bars);
    ASSERT_TRUE(shown.menuBar.has_value());
    EXPECT_EQ(shown.menuBar->name, "Worksheet Menu Bar");
    EXPECT_EQ(captions(shown.menuBar->controls), (std::vector<std::string>{"文件(&F)", "编辑(&E)"}));
    const ShownControl& file = shown.menuBar->controls[0];
    EXPECT_EQ(captions(file.children),
              (std::vector<std::string>{"新建(&N)...", "打开(&O)...", "保存(&S)", "发送(&D)"}));
    EXPECT_TRUE(file.children[3].beginGroup);
    EXPECT_EQ(captions(file.children[3].children[1].children), std::vector<std::string>{"传真收件人(&F)..."});

    // Shortcut menus, hidden bars and the hidden "打印" stay out.
    EXPECT_EQ(names(shown.toolbars), std::vector<std::string>{"Standard"});
    const std::vector<ShownControl>& standard = shown.toolbars[0].controls;
    EXPECT_EQ(captions(standard), (std::vector<std::string>{"新建(&N)", "打开(&O)...", "保存(&S)", "显示比例(&Z):"}));
    EXPECT_EQ(standard[2].faceId, 3);
    EXPECT_EQ(standard[3].type, mso::ControlComboBox);
    EXPECT_EQ(standard[3].items, (std::vector<std::string>{"200%", "100%", "75%"}));
}

TEST_F(HostBarsReading, ADisabledToolbarHidesAndASecondMenuBarShowsAsAToolbar) {
    bars->Item(std::string("Formatting"))->SetVisible(true);
    bars->Item(std::string("Standard"))->SetEnabled(false);
    auto mine = bars->Add(std::string("Mine"), mso::BarTop, true);
    mine->Controls()->Add(mso::ControlButton)->SetCaption("一");
    mine->SetVisible(true);

    const HostBars shown = readHostBars(*bars);
    EXPECT_EQ(shown.menuBar->name, "Worksheet Menu Bar");
    EXPECT_EQ(names(shown.toolbars), (std::vector<std::string>{"Formatting", "Mine"}));
    // An edit box has a text and no list.
    const ShownControl& edit = shown.toolbars[0].controls[2];
    EXPECT_EQ(edit.type, mso::ControlEdit);
    EXPECT_TRUE(edit.items.empty());
}

TEST_F(HostBarsReading, TwoReadingsDifferExactlyWhenAPersonWouldSeeOrReachSomethingElse) {
    const HostBars before = readHostBars(*bars);
    EXPECT_EQ(readHostBars(*bars), before);

    auto standard = bars->Item(std::string("Standard"))->Controls();
    standard->Item(1)->SetCaption("新的");
    EXPECT_NE(readHostBars(*bars), before);
    standard->Item(1)->SetCaption("新建(&N)");
    EXPECT_EQ(readHostBars(*bars), before);

    // The same button put back anew is another control: clicks must reach the new one.
    standard->Item(3)->Delete();
    standard->Add(mso::ControlButton, 3, {}, 3);
    const HostBars again = readHostBars(*bars);
    EXPECT_EQ(captions(again.toolbars[0].controls), captions(before.toolbars[0].controls));
    EXPECT_NE(again, before);

    // A hidden control changing does not matter.
    const HostBars now = readHostBars(*bars);
    standard->Item(4)->SetCaption("看不见");
    EXPECT_EQ(readHostBars(*bars), now);
}

TEST(HostBarsText, CaptionsLoseTheirAcceleratorMarks) {
    EXPECT_EQ(withoutAccelerator("保存(&S)"), "保存(S)");
    EXPECT_EQ(withoutAccelerator("&1 Book1.xls"), "1 Book1.xls");
    EXPECT_EQ(withoutAccelerator("A&&B"), "A&B");
    EXPECT_EQ(withoutAccelerator("尾&"), "尾");
    EXPECT_EQ(withoutAccelerator(""), "");
}

TEST(HostBarsText, ActionLogEntriesReadAsWhatTheHostDid) {
    EXPECT_EQ(describeAction("macro:MyMacro"), "运行宏: MyMacro");
    EXPECT_EQ(describeAction("builtin:3 保存(&S)"), "内置命令: 3 保存(&S)");
    EXPECT_EQ(describeAction("sink-error:boom"), "事件出错: boom");
    EXPECT_EQ(describeAction("other"), "other");
    EXPECT_EQ(describeAction("macro"), "macro");
}

}  // namespace
}  // namespace tessaline::ui
