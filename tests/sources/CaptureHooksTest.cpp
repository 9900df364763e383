#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/sim/SimOffice.h"
#include "sources/ButtonEventCol.h"

namespace tessaline::sources {
namespace {

using automation::ButtonPtr;
using automation::ControlPtr;
using automation::Variant;

// The hooks on their own, against the small Office of the capture tests (see CaptureTest.cpp).
class CaptureHooks : public ::testing::Test {
protected:
    CaptureHooks() {
        office = automation::sim::SimOffice::load(TESSALINE_SOURCE_DIR "/tests/sources/capture-content");
        auto excel = std::dynamic_pointer_cast<automation::ExcelApplication>(office->host("Excel"));
        standard = excel->CommandBars()->Item(Variant("Standard"));
    }

    ControlPtr control(int index) { return standard->Controls()->Item(Variant(index)); }

    // Clicks Standard's control `index`; true when the host ran the button's own action.
    bool click(int index) {
        office->clearActionLog();
        office->clickButton("Excel", "Standard", {index});
        return !office->actionLog().empty();
    }

    // What the hooks heard: the caption of each clicked control.
    ButtonEvent::ClickHandler recorder(bool cancel) {
        return [this, cancel](const ButtonPtr& ctrl, bool& cancelDefault) {
            heard.push_back(ctrl->Caption());
            if (cancel) cancelDefault = true;
        };
    }

    std::unique_ptr<automation::sim::SimOffice> office;
    automation::CommandBarPtr standard;
    std::vector<std::string> heard;
};

TEST_F(CaptureHooks, OnlyButtonsAndPopupsCanBeHooked) {
    ButtonEventCol hooks(recorder(true));
    hooks.Attach(control(1));  // a button
    hooks.Attach(control(3));  // a split button popup, taken as a button
    try {
        hooks.Attach(control(4));  // a combo box
        FAIL() << "a combo box was taken as a button";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), automation::vberr::TypeMismatch);
    }
    try {
        hooks.Attach(nullptr);
        FAIL() << "Nothing was hooked";
    } catch (const automation::AutomationError& e) {
        EXPECT_EQ(e.number(), automation::vberr::ObjectNotSet);
    }
    EXPECT_EQ(hooks.Count(), 2);
    EXPECT_FALSE(click(1));
    EXPECT_EQ(heard, std::vector<std::string>{"新建(&N)"});
}

TEST_F(CaptureHooks, EveryHookOfAButtonHearsTheClickAndAnyOfThemCancels) {
    ButtonEventCol listening(recorder(false));
    ButtonEventCol cancelling(recorder(true));
    listening.Attach(control(5));
    cancelling.Attach(control(5));
    listening.Attach(control(5));  // no duplicate check: a second hook on the same button
    EXPECT_FALSE(click(5));
    EXPECT_EQ(heard.size(), 3u);

    heard.clear();
    ButtonEventCol onlyListening(recorder(false));
    onlyListening.Attach(control(2));
    EXPECT_TRUE(click(2));
    EXPECT_EQ(heard, std::vector<std::string>{"打开(&O)"});
}

TEST_F(CaptureHooks, ReleasingTheSetLetsTheButtonsActAgain) {
    auto hooks = std::make_unique<ButtonEventCol>(recorder(true));
    hooks->Attach(control(5));
    ASSERT_FALSE(click(5));
    hooks.reset();
    EXPECT_TRUE(click(5));
    EXPECT_EQ(heard.size(), 1u);
}

TEST_F(CaptureHooks, ASetReleasedWhileItsClickIsDeliveredFinishesThatClickSafely) {
    std::unique_ptr<ButtonEventCol> hooks;
    int calls = 0;
    hooks = std::make_unique<ButtonEventCol>([&](const ButtonPtr&, bool& cancelDefault) {
        ++calls;
        hooks.reset();  // the handler lets go of every hook, its own included
        cancelDefault = true;
    });
    hooks->Attach(control(5));
    hooks->Attach(control(5));
    EXPECT_FALSE(click(5));
    // The second hook was released by the first before its turn came.
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(click(5));
}

TEST_F(CaptureHooks, AHookOutlivingItsButtonOrItsHostIsReleasedQuietly) {
    auto hooks = std::make_unique<ButtonEventCol>(recorder(true));
    hooks->Attach(control(1));
    hooks->Attach(control(2));
    control(1)->Delete();
    office->stopHost("Excel");
    EXPECT_NO_THROW(hooks.reset());
}

}  // namespace
}  // namespace tessaline::sources
