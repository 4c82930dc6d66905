// Reading date-time texts with regional settings: dates, times, designators, the time-alone
// retry and the exact error text.
#include "rtl/DateTimeReader.h"
#include "rtl/Exceptions.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

using rtl::FormatSettings;
using rtl::StrToDateTime;
using rtl::StrToDateTimeFully;
using rtl::TDateTime;
using namespace std::string_literals;

constexpr std::int64_t kMSecsPerDay = 86'400'000;
constexpr int kPresentYear = 2021;

FormatSettings Regional(std::string dateSeparator, std::string shortDateFormat,
                        std::string timeSeparator = ":", std::string am = "am",
                        std::string pm = "pm", std::string decimalSeparator = ".") {
    FormatSettings settings;
    settings.dateSeparator = std::move(dateSeparator);
    settings.shortDateFormat = std::move(shortDateFormat);
    settings.timeSeparator = std::move(timeSeparator);
    settings.timeAMString = std::move(am);
    settings.timePMString = std::move(pm);
    settings.decimalSeparator = std::move(decimalSeparator);
    return settings;
}

// The regional settings of the time service's layout "2021-09-09 10:30:59".
const FormatSettings kIso = Regional("-", "yyyy-MM-dd");
// What the program uses when the locale gives nothing.
const FormatSettings kDefaults = FormatSettings{};
const FormatSettings kGerman = Regional(".", "dd.MM.yyyy", ":", "vorm.", "nachm.", ",");
// Chinese designators in the GBK code page: "上午" and "下午".
const FormatSettings kChineseGbk =
    Regional("/", "yyyy/M/d", ":", "\xC9\xCF\xCE\xE7", "\xCF\xC2\xCE\xE7");
// A multi-byte date separator that begins with a dot and ends with a space.
const FormatSettings kHungarian = Regional(". ", "yyyy. MM. dd.");

// The expected local date and time of a reading.
struct When {
    int year, month, day;
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The value of a date and time, computed independently from the calendar of <chrono>: days
// since 30 December 1899, plus the time of day (minus it for days before that).
TDateTime ValueOf(const When& when) {
    namespace chr = std::chrono;
    const chr::sys_days date{chr::year{when.year} / when.month / when.day};
    const chr::sys_days dayZero{chr::year{1899} / chr::December / 30};
    const std::int64_t days = (date - dayZero).count();
    const std::int64_t time =
        when.hour * 3'600'000LL + when.minute * 60'000LL + when.second * 1'000LL + when.millisecond;
    return static_cast<double>(days * kMSecsPerDay + (days >= 0 ? time : -time)) /
           static_cast<double>(kMSecsPerDay);
}

std::string Describe(const When& when) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", when.year,
                  when.month, when.day, when.hour, when.minute, when.second, when.millisecond);
    return buffer;
}

// The message names the whole text, NUL bytes included.
std::string NotValidMessage(const std::string& text) {
    return "'" + text + "' is not a valid date and time";
}

// Half a millisecond: two values closer than this are the same point of time.
constexpr double kHalfMillisecond = 0.5 / static_cast<double>(kMSecsPerDay);

// StrToDateTime or StrToDateTimeFully.
using Reader = TDateTime (*)(std::string_view, const FormatSettings&, int);

// The message of the EConvertError that reading the text raises, or a note of the value read.
std::string ErrorOf(const std::string& text, const FormatSettings& settings,
                    int presentYear = kPresentYear, Reader read = StrToDateTime) {
    try {
        const TDateTime value = read(text, settings, presentYear);
        return "(no error: read as " + std::to_string(value) + ")";
    } catch (const rtl::EConvertError& error) {
        return error.Message();
    }
}

struct Case {
    std::string text;
    FormatSettings settings;
    std::optional<When> expected; // nothing: the text must be rejected
    int presentYear = kPresentYear;
};

// Reads every case's text and checks the value, or the error with its exact message.
void CheckCases(const std::vector<Case>& cases, Reader read = StrToDateTime) {
    for (const Case& c : cases) {
        SCOPED_TRACE("text \"" + c.text + "\", date separator \"" + c.settings.dateSeparator +
                     "\", short date \"" + c.settings.shortDateFormat + "\", time separator \"" +
                     c.settings.timeSeparator + "\", present year " +
                     std::to_string(c.presentYear));
        if (c.expected) {
            TDateTime value = 0;
            ASSERT_NO_THROW(value = read(c.text, c.settings, c.presentYear));
            EXPECT_NEAR(value, ValueOf(*c.expected), kHalfMillisecond)
                << "expected " << Describe(*c.expected);
        } else {
            EXPECT_EQ(ErrorOf(c.text, c.settings, c.presentYear, read), NotValidMessage(c.text));
        }
    }
}

// Day 0 (30 December 1899) at the given time: what a time alone reads as.
When OnDayZero(int hour, int minute = 0, int second = 0, int millisecond = 0) {
    return {1899, 12, 30, hour, minute, second, millisecond};
}

TEST(DateTimeReader, ReadsTheServiceTextOnlyUnderMatchingSettings) {
    const When serviceTime{2021, 9, 9, 10, 30, 59};
    CheckCases({
        {"2021-09-09 10:30:59", kIso, serviceTime},
        // A date separator that is not in the text, or an order with the day or month first.
        {"2021-09-09 10:30:59", Regional("/", "yyyy/MM/dd"), {}},
        {"2021-09-09 10:30:59", Regional("-", "dd-MM-yyyy"), {}},
        {"2021-09-09 10:30:59", Regional("-", "MM-dd-yyyy"), {}},
        {"2021-09-09 10:30:59", kDefaults, {}},
        // Another time separator: the reading stops after the hour, without an error.
        {"2021-09-09 10:30:59", Regional("-", "yyyy-MM-dd", "."), When{2021, 9, 9, 10}},
        // Shorter windows of the body.
        {"2021-09-09 10:30:5", kIso, When{2021, 9, 9, 10, 30, 5}},
        {"2021-09-09 10:30", kIso, When{2021, 9, 9, 10, 30}},
        {"2021-09-09 10:3", kIso, When{2021, 9, 9, 10, 3}},
        {"2021-09-09 10", kIso, When{2021, 9, 9, 10}},
        {"2021-09-09 1", kIso, When{2021, 9, 9, 1}},
        {"2021-09-09 ", kIso, When{2021, 9, 9}},
        {"2021-09-09", kIso, When{2021, 9, 9}},
        {"2021-09-0", kIso, {}},
        {"2021-09-", kIso, {}},
        {"2021-09", kIso, {}},
        {"2021", kIso, {}},
        {"", kIso, {}},
        // Leading spaces are skipped; a tab, CR, LF or NUL in the same place is not.
        {" 2021-09-09 10:30:5", kIso, When{2021, 9, 9, 10, 30, 5}},
        {"    2021-09-09 10:3", kIso, When{2021, 9, 9, 10, 3}},
        {"\t2021-09-09 10:30:5", kIso, {}},
        {"\r2021-09-09 10:30:5", kIso, {}},
        {"\n2021-09-09 10:30:5", kIso, {}},
        {"\0"s
         "2021-09-09 10:30:5",
         kIso,
         {}},
        // What follows a complete time is ignored.
        {"2021-09-09 10:30:59\",\"sysTime2\"", kIso, serviceTime},
        {"2021-09-09 10:30:59\r\n", kIso, serviceTime},
    });
}

TEST(DateTimeReader, SkipsOnlySpaces) {
    CheckCases({
        {"  2021 -  09 - 09   10 : 30 :  59 .  5   pm  ", kIso, When{2021, 9, 9, 22, 30, 59, 5}},
        {"2021- 9 -9", kIso, When{2021, 9, 9}},
        // Where a number, a separator or a designator is due, any other blank ends the part.
        {"2021\t-09-09", kIso, {}},
        {"2021-\t09-09", kIso, {}},
        {"2021-09-09\t10:30", kIso, {}},
        {"2021-09-09\n10:30", kIso, {}},
        {"2021-09-09\0 10:30"s, kIso, {}},
        // ... but after a complete time it is just ignored, and so the minutes are lost.
        {"2021-09-09 10\t:30", kIso, When{2021, 9, 9, 10}},
        {"2021-09-09 10:30\tpm", kIso, When{2021, 9, 9, 10, 30}},
    });
}

TEST(DateTimeReader, TakesTheOrderOfTheDateFromTheShortDateFormat) {
    struct OrderCase {
        std::string shortDateFormat;
        When expected;
    };
    // "3/2/1": the one-digit numbers tell the order apart (1 and 3 become 2001 and 2003).
    const std::vector<OrderCase> orders = {
        {"yyyy/MM/dd", {2003, 2, 1}},
        {"YYYY/M/D", {2003, 2, 1}},
        {"dd/MM/yyyy", {2001, 2, 3}},
        {"D/M/Y", {2001, 2, 3}},
        {"M/d/yyyy", {2001, 3, 2}},
        {"MM/dd/yy", {2001, 3, 2}},
        {"", {2001, 3, 2}},
        {"/-.", {2001, 3, 2}},
        {"gg y/M/d", {2003, 2, 1}},
        // Only the first d, m or y counts, wherever it stands.
        {"'a' dMy", {2001, 2, 3}},
    };
    std::vector<Case> cases;
    for (const OrderCase& order : orders) {
        cases.push_back({"3/2/1", Regional("/", order.shortDateFormat), order.expected});
    }
    CheckCases(cases);
}

TEST(DateTimeReader, ReadsDatesOfTwoOrThreeNumbers) {
    const FormatSettings dayFirst = Regional(".", "dd.MM.yyyy");
    CheckCases({
        {"9/10/2021", kDefaults, When{2021, 9, 10}},
        {"10.9.2021", dayFirst, When{2021, 9, 10}},
        // Two numbers: the present year, month and day in the order of the format.
        {"9/10", kDefaults, When{2021, 9, 10}},
        {"10.9", dayFirst, When{2021, 9, 10}},
        {"9-10", kIso, When{2021, 9, 10}},
        {"2/29", kDefaults, When{2024, 2, 29}, 2024},
        {"2/29", kDefaults, {}, 2023},
        // One trailing date separator is accepted, a second one is not.
        {"10.9.", dayFirst, When{2021, 9, 10}},
        {"10.9.2021.", dayFirst, When{2021, 9, 10}},
        {"10.9.2021. 8:15", dayFirst, When{2021, 9, 10, 8, 15}},
        {"10.9.2021..", dayFirst, {}},
        {"10.", dayFirst, {}},
        {"10", dayFirst, When{OnDayZero(10)}},
        // Leading zeros are read.
        {"0009/00010/002021", kDefaults, When{2021, 9, 10}},
        // The date must exist.
        {"2/29/2021", kDefaults, {}},
        {"2/29/2020", kDefaults, When{2020, 2, 29}},
        {"2/29/1900", kDefaults, {}},
        {"2/29/2000", kDefaults, When{2000, 2, 29}},
        {"4/31/2021", kDefaults, {}},
        {"4/30/2021", kDefaults, When{2021, 4, 30}},
        {"13/1/2021", kDefaults, {}},
        {"0/1/2021", kDefaults, {}},
        {"1/0/2021", kDefaults, {}},
        {"1/32/2021", kDefaults, {}},
        {"12/31/9999", kDefaults, When{9999, 12, 31}},
        {"1/1/0001", kDefaults, When{1, 1, 1}},
        {"1/1/0000", kDefaults, {}},
        // A number is digits only.
        {"-1/1/2021", kDefaults, {}},
        {"+1/1/2021", kDefaults, {}},
    });
}

TEST(DateTimeReader, PlacesShortYearsInAFiftyYearWindow) {
    CheckCases({
        // In 2021 the window is 1971 to 2070.
        {"1/1/71", kDefaults, When{1971, 1, 1}},
        {"1/1/99", kDefaults, When{1999, 1, 1}},
        {"1/1/00", kDefaults, When{2000, 1, 1}},
        {"1/1/0", kDefaults, When{2000, 1, 1}},
        {"1/1/5", kDefaults, When{2005, 1, 1}},
        {"1/1/70", kDefaults, When{2070, 1, 1}},
        // Three or four digits, leading zeros included, are taken as written.
        {"1/1/021", kDefaults, When{21, 1, 1}},
        {"1/1/0021", kDefaults, When{21, 1, 1}},
        {"1/1/100", kDefaults, When{100, 1, 1}},
        {"1/1/000", kDefaults, {}},
        // The window moves with the present year.
        {"1/1/50", kDefaults, When{1950, 1, 1}, 2000},
        {"1/1/49", kDefaults, When{2049, 1, 1}, 2000},
        {"1/1/25", kDefaults, When{2025, 1, 1}, 2075},
        {"1/1/24", kDefaults, When{2124, 1, 1}, 2075},
        {"1/1/99", kDefaults, When{1999, 1, 1}, 2049},
        {"1/1/99", kDefaults, When{2099, 1, 1}, 2050},
        // A window that reaches past 9999 gives no date.
        {"1/1/48", kDefaults, {}, 9999},
        {"1/1/49", kDefaults, When{9949, 1, 1}, 9999},
        // The year comes from the format's place, also when it is first.
        {"71-1-2", kIso, When{1971, 1, 2}},
        {"70-1-2", kIso, When{2070, 1, 2}},
    });
}

TEST(DateTimeReader, ReadsAtMostFourSignificantDigitsPerNumber) {
    CheckCases({
        // The fifth digit is left over and starts the time.
        {"9/9/20211", kDefaults, When{2021, 9, 9, 1}},
        {"9/9/99999", kDefaults, When{9999, 9, 9, 9}},
        {"2021-09-09 10:30:59.12345", kIso, {}},
        // Zeros before the first significant digit do not count towards the four.
        {"9/9/02021", kDefaults, When{2021, 9, 9}},
        {"2021-09-09 00000010:0000030:000059.0000999", kIso, When{2021, 9, 9, 10, 30, 59, 999}},
        // A number that stops early cannot be followed by the separator.
        {"12345/1/2021", kDefaults, {}},
        {"2021-09-09 10:30:12345", kIso, {}},
    });
}

TEST(DateTimeReader, ReadsMultiByteSeparators) {
    CheckCases({
        {"2021. 09. 09. 10:30:59", kHungarian, When{2021, 9, 9, 10, 30, 59}},
        {"2021. 09. 09", kHungarian, When{2021, 9, 9}},
        {"2021.09.09", kHungarian, {}},
        {"2021--09--09 10::30", Regional("--", "yyyy--MM--dd", "::"), When{2021, 9, 9, 10, 30}},
        {"2021-09-09", Regional("--", "yyyy--MM--dd"), {}},
        {"2021\xC4\xEA"
         "9\xC4\xEA"
         "9",
         Regional("\xC4\xEA", "yyyy\xC4\xEAM\xC4\xEA"
                              "d"),
         When{2021, 9, 9}},
        {"10:30:59,25", kGerman, OnDayZero(10, 30, 59, 25)},
        {"10:30:59.25", kGerman, {}},
        {"10:30:59,250 nachm.", kGerman, OnDayZero(22, 30, 59, 250)},
        // A separator that begins with a space is still found when spaces are skipped before it.
        {"2021 - 9 - 9", Regional(" - ", "y/m/d"), When{2021, 9, 9}},
        {"2021 9 9 10 30", Regional(" ", "y m d", " "), When{2021, 9, 9, 10, 30}},
        // An empty separator never matches.
        {"2021-09-09", Regional("", "yyyy-MM-dd"), {}},
        {"2021-09-09 10:30", Regional("-", "yyyy-MM-dd", ""), When{2021, 9, 9, 10}},
        {"10:30", Regional("", "yyyy-MM-dd"), OnDayZero(10, 30)},
    });
}

TEST(DateTimeReader, ReadsTheTimeOfDay) {
    CheckCases({
        {"2021-09-09 7", kIso, When{2021, 9, 9, 7}},
        {"2021-09-09 0:0:0.0", kIso, When{2021, 9, 9}},
        {"2021-09-09 23:59:59.999", kIso, When{2021, 9, 9, 23, 59, 59, 999}},
        // Milliseconds are taken as the number written.
        {"2021-09-09 10:30:59.5", kIso, When{2021, 9, 9, 10, 30, 59, 5}},
        {"2021-09-09 10:30:59.05", kIso, When{2021, 9, 9, 10, 30, 59, 5}},
        {"2021-09-09 10:30:59.500", kIso, When{2021, 9, 9, 10, 30, 59, 500}},
        // Milliseconds only after seconds, and only after the decimal separator.
        {"2021-09-09 10:30.5", kIso, When{2021, 9, 9, 10, 30}},
        {"2021-09-09 10:30:59,5", kIso, When{2021, 9, 9, 10, 30, 59}},
        {"2021-09-09 10:30:59:12", kIso, When{2021, 9, 9, 10, 30, 59}},
        // Limits.
        {"2021-09-09 24:00", kIso, {}},
        {"2021-09-09 23:60", kIso, {}},
        {"2021-09-09 23:59:60", kIso, {}},
        {"2021-09-09 23:59:59.1000", kIso, {}},
        // A separator promises its number.
        {"2021-09-09 10:", kIso, {}},
        {"2021-09-09 10:30:", kIso, {}},
        {"2021-09-09 10:30:59.", kIso, {}},
        // Something after the date that is no time.
        {"2021-09-09 x", kIso, {}},
        {"2021-09-09 :30", kIso, {}},
    });
}

TEST(DateTimeReader, ReadsMorningAndAfternoonDesignators) {
    const FormatSettings noDesignators = Regional("-", "yyyy-MM-dd", ":", "", "");
    const FormatSettings oneLetter = Regional("-", "yyyy-MM-dd", ":", "A", "P");
    CheckCases({
        // After the time or before it, any case, with or without spaces.
        {"2021-09-09 10:30 PM", kIso, When{2021, 9, 9, 22, 30}},
        {"2021-09-09 10:30pm", kIso, When{2021, 9, 9, 22, 30}},
        {"2021-09-09 10:30:15.5 Pm", kIso, When{2021, 9, 9, 22, 30, 15, 5}},
        {"2021-09-09 PM 10:30", kIso, When{2021, 9, 9, 22, 30}},
        {"2021-09-09 pm10", kIso, When{2021, 9, 9, 22}},
        {"2021-09-09 10:30 am", kIso, When{2021, 9, 9, 10, 30}},
        // 12 counts as 0; the hour must be 1 to 12.
        {"2021-09-09 12:00 AM", kIso, When{2021, 9, 9, 0}},
        {"2021-09-09 12:59 PM", kIso, When{2021, 9, 9, 12, 59}},
        {"2021-09-09 1 pm", kIso, When{2021, 9, 9, 13}},
        {"2021-09-09 0:30 AM", kIso, {}},
        {"2021-09-09 13:00 PM", kIso, {}},
        {"2021-09-09 AM 13", kIso, {}},
        // A designator before the time wins; one after it is then just trailing text.
        {"2021-09-09 PM 3 AM", kIso, When{2021, 9, 9, 15}},
        {"PM 3 AM", kIso, {}},
        {"2021-09-09 PM", kIso, {}},
        // Regional designators, multi-byte and with dots, next to the literal ones.
        {"2021/9/9 \xCF\xC2\xCE\xE7 3:30", kChineseGbk, When{2021, 9, 9, 15, 30}},
        {"2021/9/9 \xC9\xCF\xCE\xE7"
         "12:05",
         kChineseGbk, When{2021, 9, 9, 0, 5}},
        {"2021/9/9 3:30 PM", kChineseGbk, When{2021, 9, 9, 15, 30}},
        {"3:30 NACHM.", kGerman, OnDayZero(15, 30)},
        {"vorm. 12:30", kGerman, OnDayZero(0, 30)},
        {"3:30 pm", kGerman, OnDayZero(15, 30)},
        // Empty regional designators never match; the literal ones still do.
        {"2021-09-09 13:30", noDesignators, When{2021, 9, 9, 13, 30}},
        {"13:30", noDesignators, OnDayZero(13, 30)},
        {"1:30 PM", noDesignators, OnDayZero(13, 30)},
        // A one-letter regional designator does not cut the literal one in two.
        {"10 AM", oneLetter, OnDayZero(10)},
        {"10 p", oneLetter, OnDayZero(22)},
    });
}

TEST(DateTimeReader, ReadsATimeAloneOnDayZero) {
    // With the same date and time separator, "10:30:15" is a date: the "PM" after it is no time,
    // so the whole text is read again as a time.
    const FormatSettings colons = Regional(":", "M:d:yy");
    CheckCases({
        {"10:30", kIso, OnDayZero(10, 30)},
        {"  10:30:15.250 PM  ", kIso, OnDayZero(22, 30, 15, 250)},
        {"PM 1", kIso, OnDayZero(13)},
        {"23", kIso, OnDayZero(23)},
        {"2", kIso, OnDayZero(2)},
        {"24", kIso, {}},
        // Nothing but spaces may follow a time alone.
        {"10:30 x", kIso, {}},
        {"10:30x", kIso, {}},
        {"10:30\t", kIso, {}},
        {"10:30:59\r\n", kIso, {}},
        {"10 PM PM", kIso, {}},
        // A date followed by no time, then no time alone either.
        {"9/9 x", kDefaults, {}},
        {"13/45", kDefaults, {}},
        {"10:30:15 PM", colons, OnDayZero(22, 30, 15)},
        {"10:30:15", colons, When{2015, 10, 30}},
        {"10:30", colons, When{2021, 10, 30}},
    });
}

TEST(DateTimeReader, CountsBackFromDayZeroForEarlierDates) {
    struct ValueCase {
        std::string text;
        TDateTime expected;
    };
    const std::vector<ValueCase> cases = {
        {"1899-12-30", 0.0},        {"1899-12-30 12:00", 0.5},   {"1899-12-31 06:00", 1.25},
        {"1899-12-29", -1.0},       {"1899-12-29 06:00", -1.25}, {"1899-12-29 18:00", -1.75},
        {"1899-12-28 12:00", -2.5}, {"1900-01-01", 2.0},         {"2021-09-09 12:00", 44448.5},
        {"0001-01-01", -693593.0},  {"9999-12-31", 2958465.0},   {"06:00", 0.25},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(StrToDateTime(c.text, kIso, kPresentYear), c.expected);
    }
    CheckCases({{"0001-01-01 23:59:59.999", kIso, When{1, 1, 1, 23, 59, 59, 999}},
                {"1899-12-29 23:59:59.999", kIso, When{1899, 12, 29, 23, 59, 59, 999}},
                {"9999-12-31 23:59:59.999", kIso, When{9999, 12, 31, 23, 59, 59, 999}}});
}

TEST(DateTimeReader, QuotesTheWholeUntrimmedTextInTheError) {
    const std::vector<std::string> texts = {
        "",
        " ",
        "  bad text  ",
        "it's",
        "\t2021-09-09 10:30:59",
        "2021-09-09x\0\x01"s,
        "\xCF\xC2\xCE\xE7",
        "2021/09/09 10:30:59",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ErrorOf(text, Regional("-", "yyyy-MM-dd", ".")), NotValidMessage(text));
    }
    // The error names the empty text when a short body leaves nothing to read.
    EXPECT_EQ(ErrorOf("", kIso), "'' is not a valid date and time");
}

// The whole-text reading: a text that reads to its end (spaces aside) gives what StrToDateTime
// gives; one where the reading stops early and leaves anything else unread fails.
TEST(DateTimeReader, FullReadingRejectsTextsLeftPartlyUnread) {
    const When serviceTime{2021, 9, 9, 10, 30, 59};
    const std::vector<Case> cases = {
        {"2021-09-09 10:30:59", kIso, serviceTime},
        {"2021-09-09 10:30:59   ", kIso, serviceTime},
        {" 2021-09-09 10:30:59", kIso, serviceTime},
        {"2021-09-09 10:30:59.5 pm", kIso, When{2021, 9, 9, 22, 30, 59, 5}},
        {"2021-09-09 pm 10:30", kIso, When{2021, 9, 9, 22, 30}},
        // Shorter windows of the body read completely.
        {"2021-09-09 10:30", kIso, When{2021, 9, 9, 10, 30}},
        {"2021-09-09 10", kIso, When{2021, 9, 9, 10}},
        {"2021-09-09 ", kIso, When{2021, 9, 9}},
        {"2021-09-09-", kIso, When{2021, 9, 9}},
        {"09-09", kIso, When{2021, 9, 9}},
        {"10:30:59", kIso, OnDayZero(10, 30, 59)},
        {"", kIso, {}},
        // Another time separator: the minutes and seconds would be lost.
        {"2021-09-09 10:30:59", Regional("-", "yyyy-MM-dd", "."), {}},
        {"2021-09-09 10.30.59", Regional("-", "yyyy-MM-dd", "."), serviceTime},
        {"2021-09-09 10:30", Regional("-", "yyyy-MM-dd", "."), {}},
        // Another decimal separator: the milliseconds would be lost.
        {"2021-09-09 10:30:59.5", Regional("-", "yyyy-MM-dd", ":", "am", "pm", ","), {}},
        // Whatever follows a complete time counts as unread, but for trailing blanks and line ends.
        {"2021-09-09 10:30:59\",", kIso, {}},
        {"2021-09-09 10:30:59\r\n", kIso, serviceTime},
        {"2021-09-09 10:30\t", kIso, When{2021, 9, 9, 10, 30}},
        {"2021-09-09 10:30\r\n", kIso, When{2021, 9, 9, 10, 30}},
        {"2021-09-09 10:30\r\nx", kIso, {}},
        {"2021-09-09 10:30:59\0"s, kIso, {}},
        {"2021-09-09 10\t:30", kIso, {}},
        {"2021-09-09 10:30:59 x", kIso, {}},
        // Texts that fail anyway keep their error.
        {"2021/09/09 10:30:59", kIso, {}},
        {"2021-09-09 10:30:59", Regional("/", "yyyy/MM/dd"), {}},
        {"\t2021-09-09 10:30:5", kIso, {}},
    };
    CheckCases(cases, StrToDateTimeFully);
    // Where the whole text reads, the value is the one StrToDateTime gives.
    for (const Case& c : cases) {
        if (c.expected) {
            SCOPED_TRACE(c.text);
            EXPECT_EQ(StrToDateTimeFully(c.text, c.settings, c.presentYear),
                      StrToDateTime(c.text, c.settings, c.presentYear));
        }
    }
}

// Every date from year 1 to 9999 (in steps), written out with each settings variant, reads back
// as that date and time.
TEST(DateTimeReader, ReadsBackWrittenDatesAcrossTheWholeRange) {
    namespace chr = std::chrono;
    struct Writer {
        FormatSettings settings;
        bool twelveHour;
    };
    const std::vector<Writer> writers = {
        {kIso, false},       {Regional("/", "M/d/yyyy"), true},
        {kGerman, false},    {kHungarian, false},
        {kChineseGbk, true},
    };
    const chr::sys_days first{chr::year{1} / 1 / 1};
    const chr::sys_days last{chr::year{9999} / 12 / 31};
    for (chr::sys_days day = first; day <= last; day += chr::days{61}) {
        const chr::year_month_day ymd{day};
        const int serial = static_cast<int>((day - first).count());
        When when{static_cast<int>(ymd.year()),
                  static_cast<int>(unsigned(ymd.month())),
                  static_cast<int>(unsigned(ymd.day())),
                  serial % 24,
                  serial % 60,
                  (serial / 7) % 60,
                  serial % 1000};
        for (const Writer& writer : writers) {
            const FormatSettings& s = writer.settings;
            const std::string year = std::to_string(when.year);
            const std::string fullYear = std::string(4 - year.size(), '0') + year;
            const std::string month = std::to_string(when.month);
            const std::string dayOfMonth = std::to_string(when.day);
            std::string text;
            const char order = s.shortDateFormat[0];
            if (order == 'y') {
                text = fullYear + s.dateSeparator + month + s.dateSeparator + dayOfMonth;
            } else if (order == 'd') {
                text = dayOfMonth + s.dateSeparator + month + s.dateSeparator + fullYear;
            } else {
                text = month + s.dateSeparator + dayOfMonth + s.dateSeparator + fullYear;
            }
            int hour = when.hour;
            std::string designator;
            if (writer.twelveHour) {
                designator = hour < 12 ? s.timeAMString : s.timePMString;
                hour = hour % 12 == 0 ? 12 : hour % 12;
            }
            text += " " + std::to_string(hour) + s.timeSeparator + std::to_string(when.minute) +
                    s.timeSeparator + std::to_string(when.second) + s.decimalSeparator +
                    std::to_string(when.millisecond) + " " + designator;
            SCOPED_TRACE(text);
            TDateTime value = 0;
            ASSERT_NO_THROW(value = StrToDateTime(text, s, kPresentYear));
            ASSERT_NEAR(value, ValueOf(when), kHalfMillisecond) << Describe(when);
        }
    }
}

} // namespace
