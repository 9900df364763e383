#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>

#include "scenario/Script.h"
#include "ui/HostWindow.h"
#include "ui/LiveScenario.h"
#include "ui/MainWindow.h"

namespace tessaline::ui {
namespace {

// A script played live goes through the real window and the host windows, and every command it ran is
// timed; the windows go with the script's Office.
TEST(LiveScenarioTest, PlaysThroughTheWindowsAndTimesEveryCommand) {
    scenario::RunnerOptions options;
    options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    std::ostringstream transcript;
    LiveScenario live(transcript, options);
    const scenario::Script script = scenario::parseScript(
        "# a comment times nothing\noption Excel\nexpect panel 1 = Excel\nhost click Excel Standard 3\n", "t.scn");
    EXPECT_EQ(live.runner().run(script), 0) << transcript.str();
    ASSERT_NE(live.window(), nullptr);
    ASSERT_NE(live.hostWindows(), nullptr);
    HostWindow* excel = live.hostWindows()->window("Excel");
    ASSERT_NE(excel, nullptr);
    EXPECT_NE(excel->toolBar("Standard"), nullptr);
    EXPECT_TRUE(excel->isVisible());

    ASSERT_EQ(live.timings().size(), 3U);
    EXPECT_EQ(live.timings()[0].line, 2);
    EXPECT_EQ(live.timings()[0].command, "option Excel");
    std::ostringstream printed;
    live.printTimings(printed);
    EXPECT_TRUE(std::regex_search(printed.str(), std::regex("^t\\.scn:2  option Excel  [0-9.]+ ms\n")));
    EXPECT_TRUE(std::regex_search(printed.str(), std::regex("\nslowest: [0-9.]+ ms at t\\.scn:[234]\n$")))
        << printed.str();

    live.runner().reset();
    EXPECT_EQ(live.window(), nullptr);
    EXPECT_EQ(live.hostWindows(), nullptr);
}

}  // namespace
}  // namespace tessaline::ui
