#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "scenario/ScenarioRunner.h"

namespace tessaline::scenario {
namespace {

// Every script under tests/scenarios is one test: it fails when any of its checks fails.
std::vector<std::string> scenarioScripts() {
    std::vector<std::string> scripts;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(TESSALINE_SOURCE_DIR "/tests/scenarios", ec)) {
        if (entry.path().extension() == ".scn") scripts.push_back(entry.path().filename().string());
    }
    std::sort(scripts.begin(), scripts.end());
    return scripts;
}

class ScenarioScript : public ::testing::TestWithParam<std::string> {};

TEST_P(ScenarioScript, PassesEveryCheck) {
    std::ostringstream transcript;
    RunnerOptions options;
    options.contentFolder = TESSALINE_DATA_DIR "/office";
    options.programFiles = TESSALINE_WORKBOOK_DIR;
    ScenarioRunner runner(transcript, options);
    const int failures = runner.runFile(TESSALINE_SOURCE_DIR "/tests/scenarios/" + GetParam());
    EXPECT_EQ(failures, 0) << transcript.str();
    EXPECT_GT(runner.checks(), 0) << "a script that checks nothing proves nothing";
}

std::string testName(const ::testing::TestParamInfo<std::string>& info) {
    std::string name = info.param.substr(0, info.param.size() - 4);
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScenarioScript, ::testing::ValuesIn(scenarioScripts()), testName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(ScenarioScript);

}  // namespace
}  // namespace tessaline::scenario
