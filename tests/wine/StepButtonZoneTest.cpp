// The twelve step buttons in the computer's own time zone: each click moves the local time by
// exactly its unit from the moment of the click, and the clock is written as the UTC time of that
// local time by the zone's rules, daylight saving included. The test program runs once per zone
// (TZ); each zone has its own table.
#include "MessagePump.h"
#include "StepButtonFixture.h"

#include <cstdlib>
#include <vector>

using namespace std::chrono_literals;

namespace {

struct Moment {
    int year, month, day, hour, minute, second, millisecond;
};

rtl::DateTimeFields FieldsOf(const Moment& m) {
    rtl::DateTimeFields fields;
    fields.year = m.year;
    fields.month = m.month;
    fields.day = m.day;
    fields.hour = m.hour;
    fields.minute = m.minute;
    fields.second = m.second;
    fields.millisecond = m.millisecond;
    return fields;
}

// The six fields' texts for a moment.
std::array<std::wstring, 6> ShownOf(const Moment& m) {
    const auto two = [](int value) { return (value < 10 ? L"0" : L"") + std::to_wstring(value); };
    return {std::to_wstring(m.year), two(m.month), two(m.day), two(m.hour),
            two(m.minute),           two(m.second)};
}

struct ZoneCase {
    const char* zone;
    Moment clock;       // local time at the click
    const char* button; // component name
    const char* utc;    // what must be written
};

// clang-format off
const ZoneCase kCases[] = {
    // UTC+8: the written time is the stepped local time less eight hours, here back across
    // midnight; 29 February clamps to 28 February in a common year; a leap day is kept.
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button1",  "2025-02-27 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button7",  "2023-02-27 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button2",  "2024-03-28 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button8",  "2024-01-28 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button3",  "2024-02-29 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button9",  "2024-02-27 21:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button4",  "2024-02-28 22:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button10", "2024-02-28 20:30:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button5",  "2024-02-28 21:31:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button11", "2024-02-28 21:29:00.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button6",  "2024-02-28 21:30:01.250"},
    {"Asia/Shanghai", {2024, 2, 29, 5, 30, 0, 250}, "Button12", "2024-02-28 21:29:59.250"},
    {"Asia/Shanghai", {2024, 1, 31, 10, 15, 20, 345}, "Button2", "2024-02-29 02:15:20.345"},
    {"Asia/Shanghai", {2024, 12, 15, 12, 0, 0, 0},   "Button2", "2025-01-15 04:00:00.000"},
    // UTC: the written time is the local time itself; every unit carries into the new year.
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button1",  "2025-12-31 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button7",  "2023-12-31 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button2",  "2025-01-31 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button8",  "2024-11-30 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button3",  "2025-01-01 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button9",  "2024-12-30 23:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button4",  "2025-01-01 00:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button10", "2024-12-31 22:59:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button5",  "2025-01-01 00:00:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button11", "2024-12-31 23:58:59.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button6",  "2025-01-01 00:00:00.500"},
    {"UTC", {2024, 12, 31, 23, 59, 59, 500}, "Button12", "2024-12-31 23:59:58.500"},
    {"UTC", {2025, 1, 1, 0, 0, 0, 250},      "Button12", "2024-12-31 23:59:59.250"},
    {"UTC", {2024, 3, 1, 0, 30, 0, 0},       "Button10", "2024-02-29 23:30:00.000"},
    // New York, the day before daylight saving begins (10 March 2024, 02:00 EST): noon EST is
    // 17:00 UTC, noon EDT 16:00 UTC. Daylight saving began on 12 March in 2023 and on 9 March in
    // 2025, so a year back stays in standard time and a year on lands in summer time.
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button1",  "2025-03-09 16:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button7",  "2023-03-09 17:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button2",  "2024-04-09 16:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button8",  "2024-02-09 17:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button3",  "2024-03-10 16:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button9",  "2024-03-08 17:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button4",  "2024-03-09 18:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button10", "2024-03-09 16:00:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button5",  "2024-03-09 17:01:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button11", "2024-03-09 16:59:00.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button6",  "2024-03-09 17:00:01.125"},
    {"America/New_York", {2024, 3, 9, 12, 0, 0, 125}, "Button12", "2024-03-09 16:59:59.125"},
    // Daylight saving ended on 3 November 2024 (02:00 EDT): a day back from noon EST is noon EDT,
    // 25 hours earlier in UTC; a month back from 30 November clamps nothing and lands in EDT.
    {"America/New_York", {2024, 11, 3, 12, 0, 0, 0},  "Button9",  "2024-11-02 16:00:00.000"},
    {"America/New_York", {2024, 11, 30, 8, 0, 0, 0},  "Button8",  "2024-10-30 12:00:00.000"},
    {"America/New_York", {2024, 10, 31, 8, 0, 0, 0},  "Button2",  "2024-11-30 13:00:00.000"},
};
// clang-format on

// The standard bias (minutes west of UTC) that each zone's table expects of the process.
struct ZoneBias {
    const char* zone;
    LONG bias;
};
const ZoneBias kZoneBiases[] = {{"Asia/Shanghai", -480}, {"UTC", 0}, {"America/New_York", 300}};

std::string ProcessZone() {
    const char* zone = std::getenv("TZ");
    return zone != nullptr ? zone : "";
}

class StepButtonZoneTest : public StepButtonFixture {};

TEST_F(StepButtonZoneTest, EachButtonWritesTheSteppedLocalTimeAsUtc) {
    const std::string zone = ProcessZone();
    bool known = false;
    for (const ZoneBias& entry : kZoneBiases) {
        if (zone == entry.zone) {
            known = true;
            TIME_ZONE_INFORMATION information{};
            GetTimeZoneInformation(&information);
            ASSERT_EQ(information.Bias, entry.bias) << "the process does not run in " << zone;
        }
    }
    ASSERT_TRUE(known) << "no table for TZ='" << zone << "'";

    CreateForm1();
    for (const ZoneCase& c : kCases) {
        if (zone != c.zone) {
            continue;
        }
        const Moment& m = c.clock;
        SCOPED_TRACE(std::string(c.button) + " at " + TimeText(FieldsOf(m)));
        clock.Set(m.year, m.month, m.day, m.hour, m.minute, m.second, m.millisecond);
        // What the fields show or hold plays no part.
        for (int i = 0; i < 6; ++i) {
            Field(i)->SetText(L"7");
        }
        clock.calls.clear();
        clock.writes.clear();
        boxes.shown.clear();

        Click(c.button);

        ASSERT_EQ(clock.writes.size(), 1u);
        EXPECT_EQ(TimeText(clock.writes.front()), c.utc);
        EXPECT_EQ(clock.calls, (std::vector<FakeClock::Call>{
                                   FakeClock::Call::Read, FakeClock::Call::LocalToUtc,
                                   FakeClock::Call::Write, FakeClock::Call::Broadcast}));
        EXPECT_TRUE(boxes.shown.empty());
    }
}

// With a clock that takes its writes, clicks add up, each from the date the last one left: four
// years on from 29 February 2024 is 28 February 2028, since the first click clamps the day. The
// display does not change within the click and catches up at the next tick.
TEST_F(StepButtonZoneTest, ClicksAddUpAndTheDisplayFollowsAtTheNextTick) {
    struct Case {
        const char* button;
        int clicks;
        Moment from;
        Moment to;
    };
    const Case cases[] = {
        // The first click clamps 29 February; the later ones keep the 28th.
        {"Button1", 4, {2024, 2, 29, 10, 15, 20, 345}, {2028, 2, 28, 10, 15, 20, 345}},
        // 31 January, 31 December, then 30 November clamps, and 30 October keeps the 30th.
        {"Button8", 3, {2025, 1, 31, 23, 59, 59, 999}, {2024, 10, 30, 23, 59, 59, 999}},
        {"Button6", 2, {2024, 12, 31, 23, 59, 59, 0}, {2025, 1, 1, 0, 0, 1, 0}},
    };
    clock.followWrites = true;
    CreateForm1();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        const Moment& f = c.from;
        clock.Set(f.year, f.month, f.day, f.hour, f.minute, f.second, f.millisecond);
        ASSERT_TRUE(PumpUntil([&] { return Fields() == ShownOf(f); }, 1000ms));
        clock.writes.clear();
        for (int i = 0; i < c.clicks; ++i) {
            Click(c.button);
        }
        EXPECT_EQ(Fields(), ShownOf(f)) << "a click does not refresh the display itself";
        ASSERT_EQ(clock.writes.size(), static_cast<std::size_t>(c.clicks));
        EXPECT_EQ(TimeText(clock.now), TimeText(FieldsOf(c.to)));
        EXPECT_TRUE(PumpUntil([&] { return Fields() == ShownOf(c.to); }, 400ms))
            << "the display follows at the next tick";
        EXPECT_TRUE(boxes.shown.empty());
    }
}

} // namespace
