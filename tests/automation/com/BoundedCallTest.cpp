// A server stuck in a call must not hold the tool: the call fails after the limit.
#include <gtest/gtest.h>

#include <memory>

#include "automation/AutomationError.h"
#include "automation/Excel.h"
#include "automation/com/RemoteOffice.h"

namespace tessaline::automation::com {
namespace {

TEST(BoundedCallTest, AServerStuckInACallIsEndedAndTheCallFails) {
    RemoteOffice::Options options;
    options.serverPath = TESSALINE_HUNG_SERVER_EXE;
    options.callLimitMs = 2000;
    const DWORD started = GetTickCount();
    {
        RemoteOffice office(options);
        const DWORD callStarted = GetTickCount();
        try {
            office.isRunning("Excel");
            ADD_FAILURE() << "the stuck call returned";
        } catch (const AutomationError& e) {
            EXPECT_EQ(e.number(), static_cast<int>(HRESULT_FROM_WIN32(RPC_S_CALL_FAILED))) << e.description();
        }
        const DWORD took = GetTickCount() - callStarted;
        EXPECT_GE(took, 2000u);
        EXPECT_LT(took, 10000u);
    }
    EXPECT_LT(GetTickCount() - started, 15000u);
}

TEST(BoundedCallTest, AServerStuckInQuitIsEnded) {
    RemoteOffice::Options options;
    options.serverPath = TESSALINE_HUNG_SERVER_EXE;
    options.callLimitMs = 2000;
    auto office = std::make_unique<RemoteOffice>(options);
    const DWORD started = GetTickCount();
    office.reset();
    EXPECT_LT(GetTickCount() - started, 6000u);
}

TEST(BoundedCallTest, AClickWhoseSinkWorksLongerThanTheLimitIsNotStuck) {
    RemoteOffice::Options options;
    options.contentFolder = TESSALINE_SOURCE_DIR "/tests/data/office-small";
    options.serverPath = TESSALINE_OFFICE_EXE;
    options.callLimitMs = 1000;
    RemoteOffice office(options);
    ASSERT_TRUE(office.startHost("Excel"));
    const auto bars = std::dynamic_pointer_cast<ExcelApplication>(office.host("Excel"))->CommandBars();
    const auto save = bars->Item(Variant("Standard"))->Controls()->Item(Variant(3))->AsButton();
    int calls = 0;
    save->ConnectClick([&](const ButtonPtr&, bool&) {
        // The tool at work inside the event: calls of its own, for longer than the limit.
        const DWORD started = GetTickCount();
        while (GetTickCount() - started < 2500) calls += bars->Count() > 0;
    });
    EXPECT_TRUE(office.clickButton("Excel", "Standard", {3}));
    EXPECT_GT(calls, 0);
    EXPECT_TRUE(office.isRunning("Excel"));
}

}  // namespace
}  // namespace tessaline::automation::com
