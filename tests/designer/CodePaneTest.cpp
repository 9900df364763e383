#include "DesignerFixture.h"
#include "designer/CodePane.h"

namespace tessaline::designer {
namespace {

TEST(MacroStub, IsThreeCrLfLinesWithATabAndLowerCaseMsgbox) {
    EXPECT_EQ(MacroStub("M1"), "Sub M1()\r\n\tMsgbox \"M1\"\r\nEnd Sub\r\n");
    EXPECT_EQ(MacroStub("我来了"), "Sub 我来了()\r\n\tMsgbox \"我来了\"\r\nEnd Sub\r\n");
    // No name still gives a stub: the user sees which control has nothing to run.
    EXPECT_EQ(MacroStub(""), "Sub ()\r\n\tMsgbox \"\"\r\nEnd Sub\r\n");
}

class CodePane : public testing::DesignerFixture {
protected:
    shell::RichTextBox& pane() { return form->RichTextBox1; }
};

TEST_F(CodePane, RightClickOffersTheThreeCommandsAndALeftClickNothing) {
    form->userMouseDown(pane(), shell::vbbutton::Left);
    EXPECT_TRUE(ui.popups.empty());
    chooseCodePaneCommand("");
    ASSERT_EQ(ui.popups.size(), 1u);
    EXPECT_EQ(ui.popups[0].menu, "menuCallback");
    EXPECT_EQ(ui.popups[0].visibleItems,
              (std::vector<std::string>{"menuCopyCode", "menuSelectAll", "menuClearCallback"}));
}

TEST_F(CodePane, SelectAllThenCopyPutsTheWholeTextOnTheClipboard) {
    const std::string text = MacroStub("宏一") + MacroStub("M2");
    pane().SetText(text);
    chooseCodePaneCommand("menuSelectAll");
    EXPECT_EQ(pane().SelStart(), 0);
    EXPECT_EQ(pane().SelText(), text);
    chooseCodePaneCommand("menuCopyCode");
    EXPECT_EQ(ui.clipboard, text);
    // Copying leaves the pane as it was.
    EXPECT_EQ(pane().Text(), text);
}

TEST_F(CodePane, CopyCopiesOnlyTheSelection) {
    pane().SetText("Sub 宏一()\r\n");
    pane().SetSelStart(4);
    pane().SetSelLength(2);
    chooseCodePaneCommand("menuCopyCode");
    EXPECT_EQ(ui.clipboard, "宏一");
}

TEST_F(CodePane, CopyWithNothingSelectedEmptiesTheClipboard) {
    ui.clipboard = "earlier";
    pane().SetText(MacroStub("M1"));
    chooseCodePaneCommand("menuCopyCode");
    EXPECT_EQ(ui.clipboard, "");
}

TEST_F(CodePane, ClearEmptiesThePane) {
    pane().SetText(MacroStub("M1"));
    chooseCodePaneCommand("menuClearCallback");
    EXPECT_EQ(pane().Text(), "");
}

// A clipboard another program holds open cannot be written.
class LockedClipboardUi : public shell::ScriptedUi {
public:
    void ClipboardSetText(const std::string&) override {
        throw automation::AutomationError(521, "Can't open Clipboard");
    }
};

TEST(CodePaneClipboard, ALockedClipboardIsReportedAndTheProgramGoesOn) {
    auto office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/data/office-small");
    LockedClipboardUi ui;
    shell::Form1 form(*office, ui);
    attachHandlers(form);
    form.load();
    form.RichTextBox1.SetText("text");
    form.clickMenu("menuCopyCode");
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].prompt, "Can't open Clipboard");
    EXPECT_FALSE(form.isUnloaded());
}

}  // namespace
}  // namespace tessaline::designer
