#include "DesignerFixture.h"
#include "designer/CodePane.h"

namespace tessaline::designer {
namespace {

class ApplyDesign : public testing::DesignerFixture {
protected:
    // Lists the bar and starts a design for it.
    void startDesign(const std::string& bar) {
        selectBar(bar);
        enterDesignMode();
    }
    // A new empty toolbar of the host, listed and current.
    void startDesignOnNewBar(const std::string& name) {
        hostBars().Add(name);
        form->userClick(form->Excel);
        startDesign(name);
    }
    automation::CommandBarControl& control(const std::string& bar, int index) {
        return *hostBar(bar).Controls()->Item(index);
    }
    const std::vector<std::string> standard{"新建(&N)", "打开(&O)...", "保存(&S)", "打印(&P)", "显示比例(&Z):"};
};

TEST_F(ApplyDesign, AddtoFirstPutsTheButtonAheadAndWritesItsStub) {
    startDesign("Standard");
    design({{.type = "1", .caption = "A", .onAction = "M1", .faceId = "59"}});
    chooseDesignCommand("AddtoFirst");

    ASSERT_EQ(hostBar("Standard").Controls()->Count(), 6);
    automation::CommandBarControl& added = control("Standard", 1);
    EXPECT_EQ(added.Caption(), "A");
    EXPECT_EQ(added.Type(), 1);
    EXPECT_EQ(added.Id(), 1);
    EXPECT_EQ(added.GetProperty("FaceId").toLong(), 59);
    EXPECT_EQ(added.OnAction(), "M1");
    // Empty flag cells are no Booleans: the host's defaults stay.
    EXPECT_FALSE(added.BeginGroup());
    EXPECT_TRUE(added.Enabled());
    EXPECT_TRUE(added.Visible());
    EXPECT_EQ(control("Standard", 2).Caption(), "新建(&N)");

    EXPECT_EQ(form->RichTextBox1.Text(), "Sub M1()\r\n\tMsgbox \"M1\"\r\nEnd Sub\r\n");
    // The bar is listed again in place of the design; design mode and the locked bar grid stay.
    ASSERT_EQ(grid().Rows(), 7);
    EXPECT_EQ(grid().TextMatrix(1, 2), "A");
    EXPECT_EQ(grid().TextMatrix(1, 9), "M1");
    EXPECT_EQ(form->DesignMode.Value(), shell::vbcheck::Checked);
    EXPECT_FALSE(form->ListAllCommandbars.Enabled());
    EXPECT_EQ(form->ShowMacroList.Value(), shell::vbcheck::Unchecked);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ApplyDesign, AddtoFirstKeepsTheDesignOrderAheadOfTheExistingControls) {
    startDesign("Standard");
    design({{.type = "1", .caption = "A"}, {.type = "1", .caption = "B"}, {.type = "1", .caption = "C"}});
    chooseDesignCommand("AddtoFirst");
    std::vector<std::string> expected{"A", "B", "C"};
    expected.insert(expected.end(), standard.begin(), standard.end());
    EXPECT_EQ(captions("Standard"), expected);
}

TEST_F(ApplyDesign, AddToLastAppendsButtonsAndASubMenuAndStubsThemAll) {
    startDesign("Standard");
    design({{.type = "1", .caption = "B1", .onAction = "M1", .faceId = "59", .style = "3"},
            {.type = "10", .caption = "子菜单", .onAction = "M2", .faceId = "60", .tooltip = "tip", .style = "3"},
            {.type = "1", .caption = "B3", .onAction = "M3"}});
    chooseDesignCommand("AddToLast");

    std::vector<std::string> expected = standard;
    expected.insert(expected.end(), {"B1", "子菜单", "B3"});
    ASSERT_EQ(captions("Standard"), expected);
    automation::CommandBarControl& popup = control("Standard", 7);
    EXPECT_EQ(popup.Type(), 10);
    // The button-only cells fail on the sub menu alone; its other properties are set.
    EXPECT_EQ(popup.TooltipText(), "tip");
    EXPECT_THROW(popup.GetProperty("FaceId"), automation::AutomationError);
    EXPECT_EQ(control("Standard", 6).GetProperty("Style").toLong(), 3);
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("M1") + MacroStub("M2") + MacroStub("M3"));
}

TEST_F(ApplyDesign, ReplaceOriginalLeavesExactlyTheDesignedControls) {
    startDesign("Standard");
    design({{.type = "1", .caption = "X"}, {.type = "4", .caption = "Y"}});
    chooseDesignCommand("ReplaceOriginal");
    EXPECT_EQ(captions("Standard"), (std::vector<std::string>{"X", "Y"}));
    EXPECT_EQ(control("Standard", 2).Type(), 4);
    ASSERT_EQ(grid().Rows(), 3);
    EXPECT_EQ(grid().TextMatrix(2, 2), "Y");
}

TEST_F(ApplyDesign, ARowThatAddsNothingLeavesNoGapAtTheEnd) {
    startDesign("Standard");
    design({{.type = "1", .caption = "first"}, {.caption = "no type"}, {.type = "1", .caption = "third"}});
    chooseDesignCommand("AddToLast");
    std::vector<std::string> expected = standard;
    expected.insert(expected.end(), {"first", "third"});
    EXPECT_EQ(captions("Standard"), expected);
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("") + MacroStub(""));
}

TEST_F(ApplyDesign, ARowThatAddsNothingLeavesNoGapAtTheFront) {
    startDesign("Standard");
    design({{.type = "x", .caption = "bad type"}, {.type = "1", .caption = "A"}, {.type = "1", .caption = "B"}});
    chooseDesignCommand("AddtoFirst");
    std::vector<std::string> expected{"A", "B"};
    expected.insert(expected.end(), standard.begin(), standard.end());
    EXPECT_EQ(captions("Standard"), expected);
}

TEST_F(ApplyDesign, ReplacingWithAFailingFirstRowStillAddsTheOtherRows) {
    // On an emptied target a later row's grid index lies beyond the end; each control must go right after
    // the ones added before it instead.
    startDesign("Standard");
    design({{.caption = "empty"}, {.type = "1", .caption = "A"}, {.type = "1", .caption = "B"}});
    chooseDesignCommand("ReplaceOriginal");
    EXPECT_EQ(captions("Standard"), (std::vector<std::string>{"A", "B"}));
}

TEST_F(ApplyDesign, FlagsTakeTrueAndFalseInAnyCaseAndNumbers) {
    startDesignOnNewBar("Flags");
    design({{.type = "1", .beginGroup = "true", .enabled = "0", .visible = "FALSE"},
            {.type = "1", .beginGroup = "-1", .enabled = "yes", .visible = "0"}});
    chooseDesignCommand("AddToLast");
    automation::CommandBarControl& first = control("Flags", 1);
    EXPECT_TRUE(first.BeginGroup());
    EXPECT_FALSE(first.Enabled());
    EXPECT_FALSE(first.Visible());
    automation::CommandBarControl& second = control("Flags", 2);
    EXPECT_TRUE(second.BeginGroup());
    EXPECT_TRUE(second.Enabled()) << "a word other than True/False must leave the default";
    EXPECT_FALSE(second.Visible());
}

TEST_F(ApplyDesign, ARefusedPropertyKeepsTheDefaultAndTheRestOfTheRowIsSet) {
    startDesignOnNewBar("Props");
    design({{.type = "1",
             .caption = "A",
             .onAction = "M1",
             .faceId = "abc",
             .tooltip = "tip",
             .style = "9",
             .shortcut = "Ctrl+K"},
            {.type = "1", .caption = "B", .shortcut = "Ctrl+L"}});
    chooseDesignCommand("AddToLast");
    automation::CommandBarControl& a = control("Props", 1);
    EXPECT_EQ(a.GetProperty("FaceId").toLong(), 0);
    EXPECT_EQ(a.GetProperty("Style").toLong(), 0);
    EXPECT_EQ(a.TooltipText(), "tip");
    // The macro is set before the shortcut, which the host takes only on a button with a macro.
    EXPECT_EQ(a.GetProperty("ShortcutText").toString(), "Ctrl+K");
    EXPECT_EQ(control("Props", 2).GetProperty("ShortcutText").toString(), "");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ApplyDesign, AButtonPopupGetsItsControlButNoStub) {
    startDesignOnNewBar("Mixed");
    design(
        {{.type = "12", .caption = "button popup", .onAction = "P"}, {.type = "1", .caption = "B", .onAction = "M2"}});
    chooseDesignCommand("AddToLast");
    EXPECT_EQ(captions("Mixed"), (std::vector<std::string>{"button popup", "B"}));
    EXPECT_EQ(control("Mixed", 1).Type(), 12);
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("M2"));
}

TEST_F(ApplyDesign, ThePaneIsReplacedEvenWhenNoStubIsWritten) {
    form->RichTextBox1.SetText("old code");
    form->ShowMacroList.SetValue(shell::vbcheck::Checked);
    startDesignOnNewBar("Quiet");
    design({{.type = "12", .caption = "only a button popup"}});
    chooseDesignCommand("AddtoFirst");
    EXPECT_EQ(form->RichTextBox1.Text(), "");
    // Nothing to show in the pane: the macro list stays where it was.
    EXPECT_EQ(form->ShowMacroList.Value(), shell::vbcheck::Checked);
}

TEST_F(ApplyDesign, WithAPopupOpenTheRowsGoIntoItAndTheTopLevelStays) {
    startDesign("Worksheet Menu Bar");
    automation::PopupPtr file = hostBar("Worksheet Menu Bar").Controls()->Item(1)->AsPopup();
    const int items = file->Controls()->Count();
    form->CurrentPopup = file;
    design({{.type = "1", .caption = "子项", .onAction = "Sub1"}});
    chooseDesignCommand("AddToLast");
    ASSERT_EQ(file->Controls()->Count(), items + 1);
    EXPECT_EQ(file->Controls()->Item(items + 1)->Caption(), "子项");
    EXPECT_EQ(hostBar("Worksheet Menu Bar").Controls()->Count(), 2);
    // Listing the bar again closes the popup.
    EXPECT_EQ(form->CurrentPopup, nullptr);
    EXPECT_EQ(grid().Rows(), 3);
}

TEST_F(ApplyDesign, WithTheBarGridOutsideTheNameColumnTheDesignRowsStay) {
    selectBar("Standard");
    form->userClickCell(form->ListAllCommandbars, 2, 3);
    enterDesignMode();
    design({{.type = "1", .caption = "A"}});
    chooseDesignCommand("AddToLast");
    EXPECT_EQ(hostBar("Standard").Controls()->Count(), 6);
    ASSERT_EQ(grid().Rows(), 2);
    EXPECT_EQ(grid().TextMatrix(1, 2), "A");
    EXPECT_EQ(grid().TextMatrix(1, 0), "");
    // Without the listing the last control added is still the current one.
    EXPECT_EQ(form->CurrentControl->Caption(), "A");
}

TEST_F(ApplyDesign, ASecondApplyAddsControlsMadeFromTheListedRows) {
    startDesignOnNewBar("Twice");
    design({{.type = "1", .caption = "A", .onAction = "MA"}, {.type = "1", .caption = "B", .onAction = "MB"}});
    chooseDesignCommand("AddToLast");
    chooseDesignCommand("AddToLast");
    EXPECT_EQ(captions("Twice"), (std::vector<std::string>{"A", "B", "A", "B"}));
    EXPECT_EQ(form->RichTextBox1.Text(), MacroStub("MA") + MacroStub("MB"));
}

TEST_F(ApplyDesign, WithoutATargetNothingIsAddedAndThePaneIsEmptied) {
    form->userClick(form->Void);
    form->RichTextBox1.SetText("old code");
    enterDesignMode();
    design({{.type = "1", .caption = "A"}});
    for (const char* command : {"AddtoFirst", "AddToLast", "ReplaceOriginal"}) {
        form->RichTextBox1.SetText("old code");
        chooseDesignCommand(command);
        EXPECT_EQ(form->RichTextBox1.Text(), "") << command;
    }
    EXPECT_TRUE(ui.messages.empty());
    // The listing still runs and, with no bar to list, leaves the headings alone.
    EXPECT_EQ(grid().Rows(), 1);
}

TEST_F(ApplyDesign, AnEmptyDesignRowIsTriedAndAddsNothing) {
    startDesign("Standard");
    chooseDesignCommand("AddToLast");
    EXPECT_EQ(captions("Standard"), standard);
    EXPECT_EQ(form->RichTextBox1.Text(), "");
}

}  // namespace
}  // namespace tessaline::designer
