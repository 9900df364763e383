#include <gtest/gtest.h>

#include "automation/sim/OfficeTestSupport.h"

namespace tessaline::automation::sim::testing {
namespace {

using CommandBarEvents = OfficeFixture;
using Strings = std::vector<std::string>;

TEST_F(CommandBarEvents, AClickWithoutSinksRunsTheDefaultAction) {
    control("Standard", 3)->Execute();
    const auto custom = bar("Standard")->Controls()->Add(1);
    custom->SetOnAction("MyMacro");
    custom->Execute();
    bar("Standard")->Controls()->Add(1)->Execute();  // a custom button without a macro does nothing
    EXPECT_EQ(office->actionLog(), (Strings{"builtin:3 保存(&S)", "macro:MyMacro"}));
}

TEST_F(CommandBarEvents, SinksOfEveryControlWithTheSameIdAndTagHearInConnectionOrder) {
    std::vector<std::string> heard;
    const auto menuSave = bars()->FindControl(std::nullopt, 3)->AsButton();  // File > Save
    const auto toolbarSave = control("Standard", 3)->AsButton();
    const auto open = control("Standard", 2)->AsButton();
    toolbarSave->ConnectClick([&](const ButtonPtr& ctrl, bool& cancel) {
        heard.push_back("toolbar sink, cancel=" + std::to_string(cancel) + ", ctrl=" + ctrl->Parent()->Name());
        cancel = true;
    });
    menuSave->ConnectClick(
        [&](const ButtonPtr&, bool& cancel) { heard.push_back("menu sink, cancel=" + std::to_string(cancel)); });
    open->ConnectClick([&](const ButtonPtr&, bool&) { heard.push_back("open sink"); });

    menuSave->Execute();

    EXPECT_EQ(heard, (Strings{"toolbar sink, cancel=0, ctrl=文件(&F)", "menu sink, cancel=1"}));
    EXPECT_TRUE(office->actionLog().empty());  // cancelled
}

TEST_F(CommandBarEvents, TheDefaultRunsAfterTheSinksWhenNoneCancels) {
    const auto save = control("Standard", 3)->AsButton();
    int calls = 0;
    save->ConnectClick([&](const ButtonPtr& ctrl, bool&) {
        ++calls;
        EXPECT_EQ(ctrl, save);
        EXPECT_TRUE(office->actionLog().empty());
    });
    save->Execute();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(office->actionLog(), (Strings{"builtin:3 保存(&S)"}));
}

TEST_F(CommandBarEvents, ADifferentTagIsADifferentCommand) {
    const auto save = control("Standard", 3)->AsButton();
    const auto copy = save->Copy()->AsButton();
    copy->SetTag("mine");
    int heard = 0;
    save->ConnectClick([&](const ButtonPtr&, bool&) { ++heard; });
    copy->Execute();
    EXPECT_EQ(heard, 0);
    save->Copy()->Execute();  // same Id, same empty Tag
    EXPECT_EQ(heard, 1);
}

TEST_F(CommandBarEvents, AllCustomButtonsShareTheirHooks) {
    const auto a = bar("Standard")->Controls()->Add(1)->AsButton();
    const auto b = bars()->Add("Mine")->Controls()->Add(1)->AsButton();
    std::vector<ButtonPtr> clicked;
    a->ConnectClick([&](const ButtonPtr& ctrl, bool&) { clicked.push_back(ctrl); });
    b->Execute();
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], b);
}

TEST_F(CommandBarEvents, DisconnectedSinksHearNothing) {
    const auto save = control("Standard", 3)->AsButton();
    int heard = 0;
    const int cookie = save->ConnectClick([&](const ButtonPtr&, bool& cancel) {
        ++heard;
        cancel = true;
    });
    save->DisconnectClick(cookie);
    save->Execute();
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(office->actionLog().size(), 1u);
}

TEST_F(CommandBarEvents, SinksMayDisconnectOthersOrThemselvesDuringAClick) {
    const auto save = control("Standard", 3)->AsButton();
    std::vector<std::string> heard;
    int second = 0;
    int self = 0;
    self = save->ConnectClick([&](const ButtonPtr&, bool&) {
        heard.push_back("first");
        save->DisconnectClick(self);
        save->DisconnectClick(second);
    });
    second = save->ConnectClick([&](const ButtonPtr&, bool&) { heard.push_back("second"); });
    save->ConnectClick([&](const ButtonPtr&, bool&) { heard.push_back("third"); });
    save->Execute();
    save->Execute();
    EXPECT_EQ(heard, (Strings{"first", "third", "third"}));
}

TEST_F(CommandBarEvents, ASinkMayDeleteTheClickedControl) {
    const auto custom = bar("Standard")->Controls()->Add(1)->AsButton();
    custom->SetOnAction("Later");
    custom->ConnectClick([&](const ButtonPtr& ctrl, bool&) { ctrl->Delete(); });
    custom->Execute();
    EXPECT_EQ(bar("Standard")->Controls()->Count(), 5);
    EXPECT_EQ(office->actionLog(), (Strings{"macro:Later"}));
}

TEST_F(CommandBarEvents, AFailingSinkIsLoggedAndTheOthersStillHear) {
    const auto save = control("Standard", 3)->AsButton();
    bool secondHeard = false;
    save->ConnectClick([&](const ButtonPtr&, bool&) { throw AutomationError(91, "Object variable not set"); });
    save->ConnectClick([&](const ButtonPtr&, bool&) { secondHeard = true; });
    EXPECT_NO_THROW(save->Execute());
    EXPECT_TRUE(secondHeard);
    EXPECT_EQ(office->actionLog(), (Strings{"sink-error:Object variable not set", "builtin:3 保存(&S)"}));
}

TEST_F(CommandBarEvents, OnlyButtonsTakeClickSinksAndDisabledControlsDoNotRun) {
    const auto zoom = std::dynamic_pointer_cast<CommandBarButton>(control("Standard", 5));
    ASSERT_NE(zoom, nullptr);
    EXPECT_EQ(errorOf([&] { zoom->ConnectClick([](const ButtonPtr&, bool&) {}); }), vberr::TypeMismatch);
    const auto paste = bars()->FindControl(std::nullopt, 22);
    EXPECT_FALSE(paste->Enabled());
    EXPECT_EQ(errorOf([&] { paste->Execute(); }), vberr::MethodFailed);
    EXPECT_TRUE(office->actionLog().empty());
}

TEST_F(CommandBarEvents, HooksBelongToOneHost) {
    int heard = 0;
    control("Standard", 3)->AsButton()->ConnectClick([&](const ButtonPtr&, bool&) { ++heard; });
    const auto word = std::dynamic_pointer_cast<CommandBarHost>(office->GetObject("Word.Application"));
    word->CommandBars()->Item("Standard")->Controls()->Item(1)->Execute();
    EXPECT_EQ(heard, 0);
    EXPECT_EQ(office->actionLog(), (Strings{"builtin:3 保存(&S)"}));
}

}  // namespace
}  // namespace tessaline::automation::sim::testing
