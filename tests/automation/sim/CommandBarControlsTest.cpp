#include <gtest/gtest.h>

#include "automation/sim/OfficeTestSupport.h"

namespace tessaline::automation::sim::testing {
namespace {

using CommandBarControls = OfficeFixture;
using Strings = std::vector<std::string>;

TEST_F(CommandBarControls, AddCreatesOnlyTheTypesTheDesignCommandsUse) {
    const auto mine = bars()->Add("Mine");
    for (const int type : {1, 2, 3, 4, 10, 12, 13}) {
        EXPECT_EQ(mine->Controls()->Add(type)->Type(), type) << type;
    }
    for (const int type : {0, 5, 11, 14, 15, 99, -1}) {
        EXPECT_EQ(errorOf([&] { mine->Controls()->Add(type); }), vberr::InvalidCall) << type;
    }
    EXPECT_EQ(mine->Controls()->Add("10")->Type(), mso::ControlPopup);
    EXPECT_EQ(errorOf([&] { mine->Controls()->Add(""); }), vberr::TypeMismatch);
    EXPECT_EQ(errorOf([&] { mine->Controls()->Add("button"); }), vberr::TypeMismatch);
    EXPECT_EQ(mine->Controls()->Count(), 8);
    EXPECT_EQ(mine->Controls()->Add()->Type(), mso::ControlButton);
}

TEST_F(CommandBarControls, AddPlacesBeforeTheGivenPositionAndLaterIndexesMoveUp) {
    const auto standard = bar("Standard");
    const auto open = standard->Controls()->Item(2);
    const auto added = standard->Controls()->Add(1, std::nullopt, std::nullopt, 2);
    EXPECT_EQ(added->Index(), 2);
    EXPECT_EQ(open->Index(), 3);
    EXPECT_EQ(indexes(standard), (std::vector<int>{1, 2, 3, 4, 5, 6}));

    const auto last = standard->Controls()->Add(1, std::nullopt, std::nullopt, "7");
    EXPECT_EQ(last->Index(), 7);
    EXPECT_EQ(standard->Controls()->Add(1, std::nullopt, std::nullopt, 1)->Index(), 1);
    EXPECT_EQ(last->Index(), 8);

    EXPECT_EQ(errorOf([&] { standard->Controls()->Add(1, std::nullopt, std::nullopt, 0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { standard->Controls()->Add(1, std::nullopt, std::nullopt, 10); }), vberr::InvalidCall);
    EXPECT_EQ(standard->Controls()->Count(), 8);
}

TEST_F(CommandBarControls, CustomControlsHaveIdOneAndStartPlain) {
    const auto c = bar("Standard")->Controls()->Add(1);
    EXPECT_EQ(c->Id(), 1);
    EXPECT_FALSE(c->BuiltIn());
    EXPECT_EQ(c->Caption(), "");
    EXPECT_EQ(c->TooltipText(), "");
    EXPECT_EQ(c->OnAction(), "");
    EXPECT_TRUE(c->Visible());
    EXPECT_TRUE(c->Enabled());
    EXPECT_EQ(c->AsButton()->FaceId(), 0);
}

TEST_F(CommandBarControls, AddWithABuiltInIdBringsThatCommand) {
    const auto mine = bars()->Add("Mine");
    const auto save = mine->Controls()->Add(1, 3);
    EXPECT_EQ(save->Id(), 3);
    EXPECT_TRUE(save->BuiltIn());
    EXPECT_EQ(save->Caption(), "保存(&S)");
    const auto send = mine->Controls()->Add(10, 30095);
    EXPECT_EQ(send->AsPopup()->Controls()->Count(), 2);
    EXPECT_EQ(errorOf([&] { mine->Controls()->Add(1, 987654); }), vberr::InvalidCall);
}

TEST_F(CommandBarControls, ItemFindsCaptionsIgnoringCaseAndAcceleratorMarks) {
    const auto menu = bar("Worksheet Menu Bar");
    EXPECT_EQ(menu->Controls()->Item("文件(&F)")->Id(), 30002);
    EXPECT_EQ(menu->Controls()->Item("编辑(e)")->Id(), 30003);
    EXPECT_EQ(errorOf([&] { menu->Controls()->Item("视图(&V)"); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { menu->Controls()->Item(3); }), vberr::InvalidCall);
}

TEST_F(CommandBarControls, CopyKeepsIdAndBuiltInAndLandsBeforeTheGivenPosition) {
    const auto save = control("Standard", 3);
    const auto formatting = bar("Formatting");
    const auto copy = save->Copy(formatting, 2);
    EXPECT_EQ(copy->Index(), 2);
    EXPECT_EQ(copy->Parent(), formatting);
    EXPECT_EQ(copy->Id(), 3);
    EXPECT_TRUE(copy->BuiltIn());
    EXPECT_EQ(copy->TooltipText(), "保存");
    EXPECT_EQ(captions(formatting), (Strings{"字体(&F):", "保存(&S)", "加粗(&B)", "编辑框"}));
    // The original stays where it was.
    EXPECT_EQ(save->Index(), 3);
    EXPECT_EQ(bar("Standard")->Controls()->Count(), 5);
    // Without Before the copy goes last; without Bar it stays in the same bar.
    EXPECT_EQ(save->Copy(formatting)->Index(), 5);
    EXPECT_EQ(save->Copy()->Index(), 6);
}

TEST_F(CommandBarControls, CopyRefusesPositionsOutsideTheTargetAsItWas) {
    const auto formatting = bar("Formatting");
    const auto save = control("Standard", 3);
    EXPECT_EQ(save->Copy(formatting, 4)->Index(), 4);
    EXPECT_EQ(errorOf([&] { save->Copy(formatting, 6); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { save->Copy(formatting, 0); }), vberr::InvalidCall);
    EXPECT_EQ(formatting->Controls()->Count(), 4);
}

TEST_F(CommandBarControls, ControlsCannotCrossIntoAnotherApplication) {
    const auto word = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    const auto wordStandard = word->CommandBars()->Item("Standard");
    const auto save = control("Standard", 3);
    EXPECT_EQ(errorOf([&] { save->Copy(wordStandard); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { save->Move(wordStandard); }), vberr::MethodFailed);
    EXPECT_EQ(wordStandard->Controls()->Count(), 1);
    EXPECT_EQ(save->Parent(), bar("Standard"));
}

TEST_F(CommandBarControls, CopyOfAPopupCopiesItsSubItemsIndependently) {
    const auto file = control("Worksheet Menu Bar", 1);
    const auto copy = file->Copy(bar("Standard"))->AsPopup();
    ASSERT_EQ(copy->Controls()->Count(), 4);
    const auto nested = copy->Controls()->Item(4)->AsPopup()->Controls()->Item(2)->AsPopup();
    EXPECT_EQ(nested->Controls()->Item(1)->Id(), 3708);
    EXPECT_EQ(nested->CommandBar()->Parent(), std::static_pointer_cast<Object>(nested));
    copy->Controls()->Item(1)->Delete();
    EXPECT_EQ(copy->Controls()->Count(), 3);
    EXPECT_EQ(file->AsPopup()->Controls()->Count(), 4);
}

TEST_F(CommandBarControls, MoveWithinABarGoesBeforeTheControlNowAtBefore) {
    const auto standard = bar("Standard");
    const Strings shipped = captions(standard);  // A B C D E
    const auto b = standard->Controls()->Item(2);
    b->Move(standard, 4);
    EXPECT_EQ(captions(standard), (Strings{shipped[0], shipped[2], shipped[1], shipped[3], shipped[4]}));
    EXPECT_EQ(b->Index(), 3);

    const auto e = standard->Controls()->Item(5);
    e->Move(standard, 1);
    EXPECT_EQ(captions(standard), (Strings{shipped[4], shipped[0], shipped[2], shipped[1], shipped[3]}));
    EXPECT_EQ(indexes(standard), (std::vector<int>{1, 2, 3, 4, 5}));

    e->Move(standard, 6);  // Count + 1: to the end
    EXPECT_EQ(e->Index(), 5);
    e->Move();  // no Bar, no Before: the end of its own bar
    EXPECT_EQ(e->Index(), 5);
    const auto first = standard->Controls()->Item(1);
    first->Move(standard, 2);  // just before its right-hand neighbour: no change
    EXPECT_EQ(first->Index(), 1);
}

TEST_F(CommandBarControls, MoveRefusesAnOutOfRangeBeforeAndLeavesTheBarAlone) {
    const auto standard = bar("Standard");
    const Strings shipped = captions(standard);
    const auto c = standard->Controls()->Item(2);
    EXPECT_EQ(errorOf([&] { c->Move(standard, 7); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { c->Move(standard, 0); }), vberr::InvalidCall);
    EXPECT_EQ(captions(standard), shipped);
}

TEST_F(CommandBarControls, MoveToAnotherBarChangesParentAndBothBarsRenumber) {
    const auto standard = bar("Standard");
    const auto formatting = bar("Formatting");
    const auto open = standard->Controls()->Item(2);
    const auto save = standard->Controls()->Item(3);
    open->Move(formatting, 1);
    EXPECT_EQ(open->Parent(), formatting);
    EXPECT_EQ(open->Index(), 1);
    EXPECT_EQ(save->Index(), 2);
    EXPECT_EQ(indexes(formatting), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(standard->Controls()->Count(), 4);
}

TEST_F(CommandBarControls, APopupCannotMoveIntoItsOwnSubItems) {
    const auto file = control("Worksheet Menu Bar", 1)->AsPopup();
    const auto send = file->Controls()->Item(4)->AsPopup();
    EXPECT_EQ(errorOf([&] { file->Move(file->CommandBar()); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { file->Move(send->CommandBar(), 1); }), vberr::InvalidCall);
    EXPECT_EQ(file->Index(), 1);
    // Moving a sub popup out to the menu bar is fine.
    send->Move(bar("Worksheet Menu Bar"), 2);
    EXPECT_EQ(send->Index(), 2);
    EXPECT_EQ(file->Controls()->Count(), 3);
}

TEST_F(CommandBarControls, DeleteRenumbersTheRestAndEndsTheControl) {
    const auto standard = bar("Standard");
    const auto open = standard->Controls()->Item(2);
    const auto save = standard->Controls()->Item(3);
    open->Delete();
    EXPECT_EQ(save->Index(), 2);
    EXPECT_EQ(standard->Controls()->Count(), 4);
    EXPECT_EQ(errorOf([&] { open->Caption(); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { open->Delete(); }), vberr::MethodFailed);

    const auto file = control("Worksheet Menu Bar", 1)->AsPopup();
    const auto inner = file->Controls()->Item(1);
    file->Delete();
    EXPECT_EQ(errorOf([&] { inner->Index(); }), vberr::MethodFailed);
}

TEST_F(CommandBarControls, ANonEmptyOnActionTakesTheBuiltInMarkAway) {
    const auto save = control("Standard", 3);
    save->SetOnAction("");
    EXPECT_TRUE(save->BuiltIn());
    save->SetOnAction("MySave");
    EXPECT_FALSE(save->BuiltIn());
    EXPECT_EQ(save->Id(), 3);
}

TEST_F(CommandBarControls, FaceIdStyleAndShortcutTextBelongToPlainButtonsOnly) {
    const auto zoom = control("Standard", 5);
    EXPECT_EQ(errorOf([&] { zoom->GetProperty("FaceId"); }), vberr::NoSuchMember);
    EXPECT_EQ(errorOf([&] { zoom->SetProperty("Style", 1); }), vberr::NoSuchMember);
    EXPECT_EQ(errorOf([&] { zoom->GetProperty("ShortcutText"); }), vberr::NoSuchMember);
    const auto file = control("Worksheet Menu Bar", 1)->AsButton();  // a popup taken as a button
    EXPECT_EQ(errorOf([&] { file->FaceId(); }), vberr::NoSuchMember);
    EXPECT_EQ(errorOf([&] { file->SetStyle(1); }), vberr::NoSuchMember);
    // The other members still work on the same control.
    EXPECT_EQ(zoom->GetProperty("Caption"), Variant("显示比例(&Z):"));
}

TEST_F(CommandBarControls, FaceIdTakesWholeNumbersUpTo32767) {
    const auto b = control("Standard", 3);
    b->SetProperty("FaceId", "59");
    EXPECT_EQ(b->GetProperty("faceid"), Variant(59));
    b->SetProperty("FaceId", 32767);
    b->SetProperty("FaceId", 0);
    for (const Variant& bad : {Variant(32768), Variant(-1), Variant(2.5)}) {
        EXPECT_EQ(errorOf([&] { b->SetProperty("FaceId", bad); }), vberr::InvalidCall);
    }
    EXPECT_EQ(errorOf([&] { b->SetProperty("FaceId", "smile"); }), vberr::TypeMismatch);
    EXPECT_EQ(b->GetProperty("FaceId"), Variant(0));
}

TEST_F(CommandBarControls, StyleTakesOnlyOfficesButtonStyles) {
    const auto b = control("Standard", 3)->AsButton();
    for (const int style : {0, 1, 2, 3, 7, 11, 14, 15}) {
        b->SetStyle(style);
        EXPECT_EQ(b->Style(), style);
    }
    for (const int style : {4, 5, 16, -1}) {
        EXPECT_EQ(errorOf([&] { b->SetStyle(style); }), vberr::InvalidCall) << style;
    }
    EXPECT_EQ(b->Style(), 15);
}

TEST_F(CommandBarControls, ShortcutTextNeedsAMacro) {
    const auto b = bar("Standard")->Controls()->Add(1)->AsButton();
    EXPECT_EQ(errorOf([&] { b->SetShortcutText("Ctrl+Q"); }), vberr::MethodFailed);
    EXPECT_EQ(b->ShortcutText(), "");
    b->SetOnAction("Quit");
    b->SetShortcutText("Ctrl+Q");
    EXPECT_EQ(b->GetProperty("ShortcutText"), Variant("Ctrl+Q"));
}

TEST_F(CommandBarControls, PropertiesByNameIgnoreCaseAndReadOnlyOnesRefuseWrites) {
    const auto b = control("Standard", 3);
    b->SetProperty("caption", "Keep");
    b->SetProperty("BEGINGROUP", "True");
    b->SetProperty("Visible", 0);
    b->SetProperty("TooltipText", "tip");
    b->SetProperty("Tag", "t");
    b->SetProperty("Width", "40");
    EXPECT_EQ(b->Caption(), "Keep");
    EXPECT_TRUE(b->BeginGroup());
    EXPECT_FALSE(b->Visible());
    EXPECT_EQ(b->GetProperty("Index"), Variant(3));
    EXPECT_EQ(b->GetProperty("Id"), Variant(3));
    EXPECT_EQ(b->GetProperty("Type"), Variant(1));
    EXPECT_EQ(b->GetProperty("BuiltIn"), Variant(true));
    EXPECT_EQ(b->GetProperty("TooltipText"), Variant("tip"));
    EXPECT_EQ(b->GetProperty("Width"), Variant(40));
    for (const char* readOnly : {"Index", "Id", "Type", "BuiltIn"}) {
        EXPECT_EQ(errorOf([&] { b->SetProperty(readOnly, 1); }), vberr::NoSuchMember) << readOnly;
    }
    EXPECT_EQ(errorOf([&] { b->GetProperty("Colour"); }), vberr::NoSuchMember);
    EXPECT_EQ(errorOf([&] { b->SetProperty("Enabled", "maybe"); }), vberr::TypeMismatch);
}

TEST_F(CommandBarControls, TypedViewsFollowTheControlType) {
    const auto save = control("Standard", 3);
    const auto zoom = control("Standard", 5);
    const auto file = control("Worksheet Menu Bar", 1);
    const auto edit = control("Formatting", 3);
    EXPECT_NO_THROW(save->AsButton());
    EXPECT_NO_THROW(file->AsButton());
    EXPECT_NO_THROW(file->AsPopup());
    EXPECT_NO_THROW(zoom->AsComboBox());
    EXPECT_NO_THROW(edit->AsComboBox());
    EXPECT_EQ(errorOf([&] { zoom->AsButton(); }), vberr::TypeMismatch);
    EXPECT_EQ(errorOf([&] { save->AsPopup(); }), vberr::TypeMismatch);
    EXPECT_EQ(errorOf([&] { save->AsComboBox(); }), vberr::TypeMismatch);
    EXPECT_EQ(save->TypeName(), "CommandBarButton");
    EXPECT_EQ(file->TypeName(), "CommandBarPopup");
    EXPECT_EQ(zoom->TypeName(), "CommandBarComboBox");
    for (const int type : {12, 13}) {
        const auto p = bar("Standard")->Controls()->Add(type);
        EXPECT_NO_THROW(p->AsPopup()->Controls()->Add(1));
        EXPECT_NO_THROW(p->AsButton());
    }
}

TEST_F(CommandBarControls, CustomComboBoxesKeepAListInOrder) {
    const auto combo = bar("Standard")->Controls()->Add(mso::ControlComboBox)->AsComboBox();
    combo->AddItem("b");
    combo->AddItem("c");
    combo->AddItem("a", 1);
    EXPECT_EQ(combo->ListCount(), 3);
    EXPECT_EQ(combo->List(1), "a");
    EXPECT_EQ(combo->List(3), "c");
    EXPECT_EQ(errorOf([&] { combo->AddItem(""); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { combo->AddItem("z", 5); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { combo->RemoveItem(0); }), vberr::InvalidCall);
    EXPECT_EQ(errorOf([&] { combo->RemoveItem(4); }), vberr::InvalidCall);
    combo->RemoveItem("2");
    EXPECT_EQ(combo->List(2), "c");
    combo->Clear();
    EXPECT_EQ(combo->ListCount(), 0);
    EXPECT_EQ(errorOf([&] { combo->List(1); }), vberr::InvalidCall);
}

TEST_F(CommandBarControls, BuiltInListsAndEditBoxesRefuseListChanges) {
    const auto zoom = control("Standard", 5)->AsComboBox();
    EXPECT_EQ(errorOf([&] { zoom->AddItem("50%"); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { zoom->RemoveItem(1); }), vberr::MethodFailed);
    EXPECT_EQ(errorOf([&] { zoom->Clear(); }), vberr::MethodFailed);
    EXPECT_EQ(zoom->ListCount(), 3);
    EXPECT_EQ(zoom->Text(), "100%");

    const auto edit = bar("Standard")->Controls()->Add(mso::ControlEdit)->AsComboBox();
    EXPECT_EQ(errorOf([&] { edit->AddItem("x"); }), vberr::MethodFailed);
    edit->SetText("typed");
    EXPECT_EQ(edit->GetProperty("Text"), Variant("typed"));
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
