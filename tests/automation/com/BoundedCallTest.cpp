// A server stuck in a call must not hold the tool: the call fails after the limit.
#include <gtest/gtest.h>

#include <memory>

#include "automation/AutomationError.h"
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

}  // namespace
}  // namespace tessaline::automation::com
