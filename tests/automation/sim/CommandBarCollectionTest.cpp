#include <gtest/gtest.h>

#include "automation/sim/OfficeTestSupport.h"
#include "automation/sim/SimCommandBars.h"

namespace tessaline::automation::sim::testing {
namespace {

using CommandBarCollection = OfficeFixture;

TEST_F(CommandBarCollection, ItemByNameIgnoresCaseAndTheFirstOfTwoNamesakesWins) {
    EXPECT_EQ(bar("standard")->Index(), 2);
    EXPECT_EQ(bar("WORKSHEET MENU BAR")->Index(), 1);
    const auto cell = bar("Cell");
    EXPECT_EQ(cell->Index(), 4);
    EXPECT_EQ(cell->Controls()->Count(), 2);
}

TEST_F(CommandBarCollection, ItemRefusesIndexesOutsideTheCollectionAndUnknownNames) {
    const int count = bars()->Count();
    EXPECT_EQ(bars()->Item(count)->Name(), "Built-in Menus");
    EXPECT_EQ(bars()->Item(1.0)->Name(), "Worksheet Menu Bar");
    EXPECT_EQ(errorOf([&] { bars()->Item(0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { bars()->Item(count + 1); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { bars()->Item("No such bar"); }), vberr::InvalidCall);
    // Text is a name, never an index.
    EXPECT_EQ(errorOf([&] { bars()->Item("2"); }), vberr::InvalidCall);
}

TEST_F(CommandBarCollection, AddMakesAnInvisibleEnabledCustomBarAtTheEnd) {
    const int before = bars()->Count();
    const auto b = bars()->Add("My Tools");
    EXPECT_EQ(bars()->Count(), before + 1);
    EXPECT_EQ(b->Index(), before + 1);
    EXPECT_EQ(b->Name(), "My Tools");
    EXPECT_EQ(b->NameLocal(), "My Tools");
    EXPECT_FALSE(b->BuiltIn());
    EXPECT_FALSE(b->Visible());
    EXPECT_TRUE(b->Enabled());
    EXPECT_EQ(b->Type(), mso::BarTypeNormal);
    EXPECT_EQ(b->Controls()->Count(), 0);
    EXPECT_EQ(b->Parent(), std::static_pointer_cast<Object>(excel()));
    EXPECT_EQ(bar("my tools"), b);
}

TEST_F(CommandBarCollection, AddTakesItsTypeFromPositionAndMenuBar) {
    const auto popup = bars()->Add("Pop", mso::BarPopup);
    EXPECT_EQ(popup->Type(), mso::BarTypePopup);
    EXPECT_EQ(popup->Position(), mso::BarPopup);
    const auto menu = bars()->Add("Menus", 1, true);
    EXPECT_EQ(menu->Type(), mso::BarTypeMenuBar);
    EXPECT_EQ(menu->Position(), mso::BarTop);
    const auto toolbar = bars()->Add("Tools", "1", false);  // numeric text is coerced
    EXPECT_EQ(toolbar->Type(), mso::BarTypeNormal);
    EXPECT_EQ(toolbar->Position(), mso::BarTop);
}

TEST_F(CommandBarCollection, AddRefusesATakenNameInAnyCaseAndBadPositions) {
    const int count = bars()->Count();
    EXPECT_EQ(errorOf([&] { bars()->Add("STANDARD"); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { bars()->Add("X", 6); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { bars()->Add("X", -1); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { bars()->Add("X", "left"); }), vberr::TypeMismatch);
    EXPECT_EQ(bars()->Count(), count);
}

TEST_F(CommandBarCollection, AddWithoutANameNumbersCustomBars) {
    EXPECT_EQ(bars()->Add()->Name(), "Custom 1");
    EXPECT_EQ(bars()->Add("")->Name(), "Custom 2");
}

TEST_F(CommandBarCollection, VisibleIsRefusedOnShortcutMenusAndDisabledBars) {
    const auto cell = bar("Cell");
    EXPECT_EQ(errorOf([&] { cell->SetVisible(true); }), vberr::MethodFailed);
    EXPECT_FALSE(cell->Visible());

    const auto menus = bar("Built-in Menus");
    EXPECT_FALSE(menus->Enabled());
    EXPECT_EQ(errorOf([&] { menus->SetVisible(true); }), vberr::MethodFailed);

    const auto formatting = bar("Formatting");
    formatting->SetVisible(true);
    EXPECT_TRUE(formatting->Visible());
    formatting->SetEnabled(false);
    EXPECT_FALSE(formatting->Visible());
    formatting->SetEnabled(true);
    formatting->SetVisible(true);
    EXPECT_TRUE(formatting->Visible());
}

TEST_F(CommandBarCollection, PositionCannotTurnABarIntoOrOutOfAShortcutMenu) {
    const auto standard = bar("Standard");
    standard->SetPosition(mso::BarLeft);
    EXPECT_EQ(standard->Position(), mso::BarLeft);
    EXPECT_EQ(errorOf([&] { standard->SetPosition(mso::BarPopup); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { bar("Cell")->SetPosition(mso::BarTop); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { standard->SetPosition(9); }), vberr::InvalidCall);
    EXPECT_EQ(standard->Position(), mso::BarLeft);
}

TEST_F(CommandBarCollection, DeletingABuiltInBarIsRefusedWithOfficesMessage) {
    const int count = bars()->Count();
    try {
        bar("Standard")->Delete();
        FAIL() << "a built-in bar was deleted";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.number(), vberr::MethodFailed);
        EXPECT_EQ(e.description(), "Method 'Delete' of object 'CommandBar' failed");
    }
    EXPECT_EQ(bars()->Count(), count);
}

TEST_F(CommandBarCollection, DeletingACustomBarShiftsTheLaterBarsAndEndsTheBar) {
    const auto first = bars()->Add("First");
    const auto second = bars()->Add("Second");
    const int secondIndex = second->Index();
    first->Delete();
    EXPECT_EQ(second->Index(), secondIndex - 1);
    EXPECT_EQ(errorOf([&] { bars()->Item("First"); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { first->Name(); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { first->Controls(); }), vberr::MethodFailed);
}

TEST_F(CommandBarCollection, ResetIsRefusedOnACustomBar) {
    const auto custom = bars()->Add("Mine");
    try {
        custom->Reset();
        FAIL() << "a custom bar was reset";
    } catch (const AutomationError& e) {
        EXPECT_EQ(e.description(), "Method 'Reset' of object 'CommandBar' failed");
    }
}

TEST_F(CommandBarCollection, ResetRestoresTheShippedControlsAndProperties) {
    const auto standard = bar("Standard");
    const auto shipped = captions(standard);
    const auto save = standard->Controls()->Item(3);
    save->SetCaption("Changed");
    standard->Controls()->Item(1)->Delete();
    standard->Controls()->Add(1);
    control("Formatting", 2)->Copy(standard, 1);
    standard->SetVisible(false);
    standard->SetPosition(mso::BarRight);

    standard->Reset();

    EXPECT_EQ(captions(standard), shipped);
    EXPECT_EQ(standard->Controls()->Item(3)->Caption(), "保存(&S)");
    EXPECT_TRUE(standard->Controls()->Item(3)->BuiltIn());
    EXPECT_TRUE(standard->Visible());
    EXPECT_EQ(standard->Position(), mso::BarTop);
    // The controls from before the reset are gone.
    EXPECT_EQ(errorOf([&] { save->Caption(); }), vberr::MethodFailed);
}

TEST_F(CommandBarCollection, ResetRestoresPopupsWithTheirSubItems) {
    const auto menu = bar("Worksheet Menu Bar");
    const auto file = menu->Controls()->Item(1)->AsPopup();
    file->Controls()->Item(4)->Delete();
    menu->Controls()->Item(2)->Delete();
    menu->Reset();
    EXPECT_EQ(menu->Controls()->Count(), 2);
    const auto restored = menu->Controls()->Item(1)->AsPopup();
    ASSERT_EQ(restored->Controls()->Count(), 4);
    EXPECT_EQ(restored->Controls()->Item(4)->AsPopup()->Controls()->Item(2)->AsPopup()->Controls()->Item(1)->Id(),
              3708);
}

TEST_F(CommandBarCollection, OnePassOverAnEnumerationDeletesEveryMember) {
    const int count = bars()->Count();
    for (int i = 0; i < 4; ++i) bars()->Add("Temp " + std::to_string(i));
    for (const auto& b : bars()->Enumerate()) {
        if (!b->BuiltIn()) b->Delete();
    }
    EXPECT_EQ(bars()->Count(), count);

    const auto standard = bar("Standard");
    for (const auto& c : standard->Controls()->Enumerate()) c->Delete();
    EXPECT_EQ(standard->Controls()->Count(), 0);
}

TEST_F(CommandBarCollection, FindControlReturnsTheFirstMatchInCollectionOrderDepthFirst) {
    const auto save = bars()->FindControl(std::nullopt, 3);
    ASSERT_NE(save, nullptr);
    // The File menu of the worksheet menu bar comes before the Standard toolbar.
    EXPECT_EQ(save->Parent()->Name(), "文件(&F)");
    EXPECT_EQ(save->Index(), 3);

    const auto fax = bars()->FindControl(std::nullopt, 3708);
    ASSERT_NE(fax, nullptr);
    EXPECT_EQ(fax->Caption(), "传真收件人(&F)...");

    EXPECT_EQ(bars()->FindControl(std::nullopt, 424242), nullptr);
    EXPECT_EQ(bars()->FindControl(mso::ControlComboBox)->Id(), 1733);
}

TEST_F(CommandBarCollection, FindControlWithVisibleSkipsHiddenControlsAndBars) {
    EXPECT_NE(bars()->FindControl(std::nullopt, 4), nullptr);
    EXPECT_EQ(bars()->FindControl(std::nullopt, 4, std::nullopt, true), nullptr);
    // The shortcut menu "Cell" never shows as a bar, so its cut command is not visible.
    EXPECT_NE(bars()->FindControl(std::nullopt, 21), nullptr);
    EXPECT_EQ(bars()->FindControl(std::nullopt, 21, std::nullopt, true), nullptr);
    // Hidden popups hide what they hold.
    control("Worksheet Menu Bar", 1)->SetVisible(false);
    EXPECT_EQ(bars()->FindControl(std::nullopt, 18, std::nullopt, true), nullptr);
}

TEST_F(CommandBarCollection, FindControlByTagAndOnOneBarRecursiveOnlyWhenAsked) {
    const auto menu = bar("Worksheet Menu Bar");
    EXPECT_EQ(menu->FindControl(std::nullopt, 3), nullptr);
    EXPECT_EQ(menu->FindControl(std::nullopt, 3, std::nullopt, std::nullopt, true)->Caption(), "保存(&S)");

    const auto tagged = bar("Formatting")->Controls()->Add(1);
    tagged->SetTag("mine");
    EXPECT_EQ(bars()->FindControl(std::nullopt, std::nullopt, "mine"), tagged);
    EXPECT_EQ(bars()->FindControl(std::nullopt, std::nullopt, "MINE"), nullptr);
}

TEST_F(CommandBarCollection, ParentsLeadFromControlsToBarsToPopupsToTheHost) {
    const auto menu = bar("Worksheet Menu Bar");
    EXPECT_EQ(menu->Parent(), std::static_pointer_cast<Object>(excel()));
    const auto file = menu->Controls()->Item(1);
    EXPECT_EQ(file->Parent(), menu);
    const auto fileBar = file->AsPopup()->CommandBar();
    const auto open = fileBar->Controls()->Item(2);
    EXPECT_EQ(open->Parent(), fileBar);
    // A popup's bar has the popup as parent, which can be taken as a button to climb further.
    const auto up = std::dynamic_pointer_cast<CommandBarControl>(fileBar->Parent());
    ASSERT_NE(up, nullptr);
    EXPECT_EQ(up->Id(), 30002);
    EXPECT_EQ(up->AsButton()->Caption(), "文件(&F)");
    EXPECT_EQ(fileBar->Type(), mso::BarTypePopup);
    EXPECT_EQ(fileBar->Index(), 0);
}

TEST_F(CommandBarCollection, BuiltInNamesCannotChangeButCustomOnesCan) {
    EXPECT_EQ(errorOf([&] { bar("Standard")->SetName("Other"); }), vberr::MethodFailed);
    const auto mine = bars()->Add("Mine");
    mine->SetName("Yours");
    EXPECT_EQ(bar("yours"), mine);
    EXPECT_EQ(errorOf([&] { mine->SetName(""); }), vberr::InvalidCall);
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
