#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "EmptyDesktop.h"
#include "shell/Form1.h"
#include "shell/ScriptedUi.h"

namespace tessaline::shell {
namespace {

// Views of the host learn through afterEvent that an event has run to its end.
class AfterEventTest : public ::testing::Test {
protected:
    AfterEventTest() : form(desktop, ui) {
        form.load();
        form.afterEvent = [this] { ends.push_back(depthSeen); };
    }

    testing::EmptyDesktop desktop;
    ScriptedUi ui;
    Form1 form;
    std::vector<int> ends;
    int depthSeen = 0;
};

TEST_F(AfterEventTest, ComesOnceAfterTheOutermostHandlerEvenWhenHandlersNest) {
    form.menu("menuAbout").onClick = [this] {
        depthSeen = 1;
        // A handler that lets another event run inside it, as DoEvents or a popup menu does.
        form.clickMenu("menuHowtouse");
        EXPECT_TRUE(ends.empty()) << "the outer handler has not finished yet";
        depthSeen = 2;
    };
    form.menu("menuHowtouse").onClick = [] {};
    form.clickMenu("menuAbout");
    EXPECT_EQ(ends, std::vector<int>{2});
}

TEST_F(AfterEventTest, ComesAlsoAfterAFailedHandlerAndAFailingListenerHarmsNothing) {
    form.menu("menuAbout").onClick = [] { throw std::runtime_error("boom"); };
    form.clickMenu("menuAbout");
    EXPECT_EQ(ends.size(), 1U);
    EXPECT_EQ(ui.messages.size(), 1U);

    form.afterEvent = [] { throw std::runtime_error("listener"); };
    form.menu("menuAbout").onClick = [] {};
    form.clickMenu("menuAbout");
    EXPECT_EQ(ui.messages.size(), 1U) << "the listener's failure is not reported as the event's";
}

TEST_F(AfterEventTest, AClosedWindowRunsNoEventAndSaysNothing) {
    form.unload();
    ends.clear();
    form.clickMenu("menuAbout");
    EXPECT_TRUE(ends.empty());
}

}  // namespace
}  // namespace tessaline::shell
