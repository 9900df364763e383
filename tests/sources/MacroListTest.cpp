#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MacroListFixture.h"

namespace tessaline::sources::testing {
namespace {

using Entries = std::vector<std::string>;

const Entries kFreshEntries = {
    "C:\\Work\\Book1.xls!Module1.Macro1",   "C:\\Work\\Book1.xls!Module1.Test",   "C:\\Work\\Book1.xls!Module1.汇总",
    "C:\\Work\\Book1.xls!Module1.Indented", "C:\\Work\\Book1.xls!Module2.Second", "!Module1.问候",
    "C:\\v1.2!x\\Odd.xls!Mod.Run",
};

// ----- Refresh -----

using MacroListRefresh = MacroListFixture;

TEST_F(MacroListRefresh, ListsParameterlessSubsOfUnlockedStandardModulesInProjectOrder) {
    // Subs with parameters or a comment after "()", "sub" in lower case, End Sub, Functions, class, form and
    // document modules and the locked add-in are all left out; the unsaved workbook's entries start at "!".
    refresh();
    EXPECT_EQ(entries(), kFreshEntries);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MacroListRefresh, ShowsWaitingWhileScanningAndCompletedAtTheEnd) {
    std::vector<std::string> progress;
    form->StatusBar1.subscribe([&] {
        const std::string& text = form->StatusBar1.PanelText(6);
        if (progress.empty() || progress.back() != text) progress.push_back(text);
    });
    int entriesWhenWaitingEnded = -1;
    list().subscribe([&] {
        if (form->StatusBar1.PanelText(6) == "Waiting") entriesWhenWaitingEnded = list().ListCount();
    });
    refresh();
    EXPECT_EQ(progress, (Entries{"Waiting", "Completed"}));
    // The entries arrive while the panel says Waiting.
    EXPECT_EQ(entriesWhenWaitingEnded, static_cast<int>(kFreshEntries.size()));
}

TEST_F(MacroListRefresh, ReplacesTheEntriesInsteadOfAddingToThem) {
    refresh();
    shrink();
    refresh();
    EXPECT_EQ(entries(), kFreshEntries);
}

TEST_F(MacroListRefresh, ScrollsSidewaysOneHundredBeyondTheListWidth) {
    refresh();
    EXPECT_EQ(list().HorizontalExtent(), list().Width() + 100);
}

TEST_F(MacroListRefresh, WithNoHostAttachedEmptiesTheListAndStillCompletes) {
    refresh();
    form->userClick(form->Void);
    list().AddItem("left over");
    refresh();
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MacroListRefresh, WithOutlookOrTheEditorChosenListsNothing) {
    // Both are attached and Excel with its projects keeps running, yet neither offers macros.
    for (shell::OptionButton* option : {&form->Outlook, &form->VBE}) {
        form->userClick(*option);
        ASSERT_NE(form->HostApp, nullptr) << option->Name();
        refresh();
        EXPECT_TRUE(entries().empty()) << option->Name();
        EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed") << option->Name();
    }
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MacroListRefresh, AHostWithoutAVbaEditorGivesAnEmptyListSilently) {
    form->userClick(form->Word);
    ASSERT_NE(form->HostApp, nullptr);
    refresh();
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

class MacroListWithoutVbaAccess : public MacroListFixture {
protected:
    // An Excel with no trusted access to its VBA projects.
    MacroListWithoutVbaAccess() : MacroListFixture(TESSALINE_SOURCE_DIR "/tests/editing/content") {}
};

TEST_F(MacroListWithoutVbaAccess, RefusedProjectsLeaveTheListEmptyWithoutAMessage) {
    ASSERT_NE(form->HostApp, nullptr);
    list().AddItem("left over");
    refresh();
    EXPECT_TRUE(entries().empty());
    EXPECT_EQ(form->StatusBar1.PanelText(6), "Completed");
    EXPECT_TRUE(ui.messages.empty());
}

// ----- Shrink -----

using MacroListShrink = MacroListFixture;

TEST_F(MacroListShrink, FirstCutsAtTheBangSecondAtTheDotThenNothingChanges) {
    refresh();
    shrink();
    // Cut at "!" even where the path holds "."; the path with two "!" keeps only the text between them.
    EXPECT_EQ(entries(), (Entries{"Module1.Macro1", "Module1.Test", "Module1.汇总", "Module1.Indented",
                                  "Module2.Second", "Module1.问候", "x\\Odd.xls"}));
    shrink();
    const Entries bare = {"Macro1", "Test", "汇总", "Indented", "Second", "问候", "xls"};
    EXPECT_EQ(entries(), bare);
    shrink();
    EXPECT_EQ(entries(), bare);
}

TEST_F(MacroListShrink, KeepsTheSelectionAndLeavesAnEmptyListAlone) {
    shrink();
    EXPECT_TRUE(entries().empty());
    refresh();
    form->dispatch([&] { list().SetListIndex(2); });
    shrink();
    EXPECT_EQ(list().ListIndex(), 2);
    EXPECT_EQ(list().Text(), "Module1.汇总");
}

// ----- Pick -----

using MacroListPick = MacroListFixture;

TEST_F(MacroListPick, WritesTheSelectedEntryIntoTheCallbackCellOfTheCurrentRow) {
    refresh();
    selectBar("Standard");
    form->userClickCell(grid(), 2, 2);
    pick(0);
    EXPECT_EQ(grid().TextMatrix(2, 9), "C:\\Work\\Book1.xls!Module1.Macro1");
    EXPECT_EQ(grid().TextMatrix(1, 9), "");
    EXPECT_EQ(grid().TextMatrix(3, 9), "");
    // The list itself is not changed by a pick.
    EXPECT_EQ(entries(), kFreshEntries);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MacroListPick, WritesTheEntryAsShortenedAndOverwritesAnEarlierPick) {
    refresh();
    selectBar("Standard");
    form->userClickCell(grid(), 3, 1);
    pick(5);
    shrink();
    shrink();
    pick(1);
    EXPECT_EQ(grid().TextMatrix(3, 9), "Test");
}

TEST_F(MacroListPick, AClickThatSelectsNothingKeepsTheCell) {
    refresh();
    selectBar("Standard");
    form->userClickCell(grid(), 1, 9);
    grid().SetTextMatrix(1, 9, "MyMacro");
    form->userClick(list());
    EXPECT_EQ(grid().TextMatrix(1, 9), "MyMacro");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(MacroListPick, WithOnlyTheHeaderRowReportsTheErrorAndKeepsTheHeader) {
    refresh();
    // A fresh window whose control grid holds only its header row.
    shell::Form1 fresh(*office, ui);
    attachHandlers(fresh);
    fresh.load();
    fresh.ListMacros.AddItem("!Module1.问候");
    fresh.dispatch([&] { fresh.ListMacros.SetListIndex(0); });
    ASSERT_EQ(fresh.ListAllCommandControls.Rows(), 1);
    fresh.userClick(fresh.ListMacros);
    ASSERT_EQ(ui.messages.size(), 1U);
    EXPECT_EQ(ui.messages[0].prompt, "Invalid Row value");
    EXPECT_EQ(ui.messages[0].buttons, shell::vbmsg::OKOnly);
    EXPECT_EQ(fresh.ListAllCommandControls.TextMatrix(0, 9), "回调");
    EXPECT_FALSE(fresh.isUnloaded());
}

// ----- Menu, showing and hiding -----

using MacroListMenu = MacroListFixture;

TEST_F(MacroListMenu, RightButtonOffersHideRefreshShrinkAndOtherButtonsNothing) {
    form->userMouseDown(list(), shell::vbbutton::Left);
    form->userMouseDown(list(), shell::vbbutton::Middle);
    EXPECT_TRUE(ui.popups.empty());
    form->userMouseDown(list(), shell::vbbutton::Right);
    ASSERT_EQ(ui.popups.size(), 1U);
    EXPECT_EQ(ui.popups[0].menu, "MenuListMacros");
    EXPECT_EQ(ui.popups[0].visibleItems, (Entries{"HideMacroList", "Refresh", "Shrink"}));
}

TEST_F(MacroListMenu, HideUnticksTheBoxAndUncoversTheCodePaneKeepingTheEntries) {
    refresh();
    ASSERT_TRUE(list().Visible());
    chooseListCommand("HideMacroList");
    EXPECT_EQ(form->ShowMacroList.Value(), shell::vbcheck::Unchecked);
    EXPECT_FALSE(list().Visible());
    EXPECT_TRUE(form->RichTextBox1.Visible());
    EXPECT_EQ(entries(), kFreshEntries);

    form->userClick(form->ShowMacroList);
    EXPECT_EQ(form->ShowMacroList.Value(), shell::vbcheck::Checked);
    EXPECT_TRUE(list().Visible());
    EXPECT_EQ(entries(), kFreshEntries);
}

TEST_F(MacroListMenu, UntickingTheBoxFromCodeHidesTheList) {
    // What the designer does after applying a design: it relies on the box's click handling alone.
    form->ShowMacroList.SetValue(shell::vbcheck::Unchecked);
    EXPECT_FALSE(list().Visible());
    form->ShowMacroList.SetValue(shell::vbcheck::Grayed);
    EXPECT_FALSE(list().Visible());
    form->ShowMacroList.SetValue(shell::vbcheck::Checked);
    EXPECT_TRUE(list().Visible());
}

}  // namespace
}  // namespace tessaline::sources::testing
