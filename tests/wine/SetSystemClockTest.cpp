// The clock writer on its own: UTC+8 whatever the computer's zone, the computer's zone through
// the platform's conversion, and what a failed conversion or write leaves behind.
#include "StepButtonFixture.h"
#include "TestDoubles.h"
#include "Unit1.h"
#include "rtl/DateTime.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Call = FakeClock::Call;

class SetSystemClockTest : public ::testing::Test {
protected:
    FakeClock clock;
    ScopedClock useClock{clock};
};

// Runs in every zone of the test run: the result must not depend on it.
TEST_F(SetSystemClockTest, UtcPlus8TakesOffEightHoursWhateverTheComputersZone) {
    struct Case {
        rtl::TDateTime local;
        const char* utc;
    };
    const Case cases[] = {
        {rtl::EncodeDateTime(2025, 1, 1, 3, 0, 0, 0), "2024-12-31 19:00:00.000"},
        {rtl::EncodeDateTime(2024, 3, 1, 5, 30, 0, 250), "2024-02-29 21:30:00.250"},
        {rtl::EncodeDateTime(2024, 7, 1, 12, 0, 0, 0), "2024-07-01 04:00:00.000"},
        // Less than half a millisecond before 08:00 rounds up to midnight UTC of that day.
        {rtl::EncodeDateTime(2024, 7, 2, 8, 0, 0, 0) - 0.4 / 86'400'000.0,
         "2024-07-02 00:00:00.000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utc);
        clock.calls.clear();
        clock.writes.clear();
        SetSystemClock(c.local, TLocalZone::UtcPlus8);
        EXPECT_EQ(clock.calls, (std::vector<Call>{Call::Write, Call::Broadcast}));
        ASSERT_EQ(clock.writes.size(), 1u);
        EXPECT_EQ(TimeText(clock.writes.front()), c.utc);
    }
}

TEST_F(SetSystemClockTest, AFailureRaisesTheSystemsErrorAfterTheBroadcast) {
    struct Case {
        const char* what;
        TLocalZone zone;
        DWORD conversionError;
        DWORD writeError;
        std::vector<Call> calls;
        SystemText expected;
    };
    const SystemText noText{0x2000'0001u, "System error 536870913", "System error 536870913"};
    const Case cases[] = {
        {"refused write, computer's zone",
         TLocalZone::Computer,
         0,
         ERROR_PRIVILEGE_NOT_HELD,
         {Call::LocalToUtc, Call::Write, Call::Broadcast},
         kPrivilegeNotHeld},
        {"refused write, UTC+8",
         TLocalZone::UtcPlus8,
         0,
         ERROR_PRIVILEGE_NOT_HELD,
         {Call::Write, Call::Broadcast},
         kPrivilegeNotHeld},
        {"failed conversion: no write",
         TLocalZone::Computer,
         ERROR_INVALID_PARAMETER,
         0,
         {Call::LocalToUtc, Call::Broadcast},
         kInvalidParameter},
        {"a code without a text",
         TLocalZone::UtcPlus8,
         0,
         noText.code,
         {Call::Write, Call::Broadcast},
         noText},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        clock.calls.clear();
        clock.conversionError = c.conversionError;
        clock.writeError = c.writeError;
        try {
            SetSystemClock(rtl::EncodeDateTime(2024, 6, 15, 12, 0, 0, 0), c.zone);
            ADD_FAILURE() << "no error raised";
        } catch (const rtl::EOSError& error) {
            EXPECT_EQ(error.ErrorCode(), c.expected.code);
            EXPECT_TRUE(c.expected.Matches(error.Message())) << error.Message();
        }
        EXPECT_EQ(clock.calls, c.calls);
    }
}

} // namespace
