// Fuzzes the date-time text reader. The first byte picks the regional settings and the present
// year, the rest is the text. Reading must either give a value of the representable range or
// throw EConvertError naming the text; anything else (another exception, a crash, a sanitizer
// report, a broken property below) is a bug.
#include "rtl/DateTimeReader.h"
#include "rtl/Exceptions.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

rtl::FormatSettings Regional(std::string dateSeparator, std::string shortDateFormat,
                             std::string timeSeparator, std::string am, std::string pm,
                             std::string decimalSeparator) {
    rtl::FormatSettings settings;
    settings.dateSeparator = std::move(dateSeparator);
    settings.shortDateFormat = std::move(shortDateFormat);
    settings.timeSeparator = std::move(timeSeparator);
    settings.timeAMString = std::move(am);
    settings.timePMString = std::move(pm);
    settings.decimalSeparator = std::move(decimalSeparator);
    return settings;
}

struct Variant {
    rtl::FormatSettings settings;
    // Appending spaces to a text never changes its reading, unless a separator or designator
    // itself holds a space (then the spaces may complete it).
    bool trailingSpacesNeutral;
};

const Variant kVariants[] = {
    {Regional("-", "yyyy-MM-dd", ":", "am", "pm", "."), true},
    {rtl::FormatSettings{}, true},
    {Regional(".", "dd.MM.yyyy", ":", "vorm.", "nachm.", ","), true},
    {Regional("/", "yyyy/M/d", ":", "\xC9\xCF\xCE\xE7", "\xCF\xC2\xCE\xE7", "."), true},
    {Regional(". ", "yyyy. MM. dd.", ":", "de.", "du.", ","), false},
    {Regional(":", "M:d:yy", ":", "A", "P", ":"), true},
    {Regional("", "", "", "", "", ""), true},
    {Regional(" ", "d m y", " ", " am", " pm", " "), false},
};
constexpr std::size_t kVariantCount = sizeof kVariants / sizeof kVariants[0];

const int kPresentYears[] = {2021, 1999, 1, 9999};
constexpr std::size_t kPresentYearCount = sizeof kPresentYears / sizeof kPresentYears[0];

constexpr double kMSecsPerDay = 86'400'000.0;
// 1 January 0001 and 31 December 9999 as day numbers.
constexpr double kFirstDay = -693593.0;
constexpr double kLastDay = 2958465.0;

[[noreturn]] void Fail(const char* what, std::string_view text) {
    std::fprintf(stderr, "fuzz_datetime_reader: %s (text of %zu bytes)\n", what, text.size());
    std::abort();
}

// The value read, or nothing when the text is rejected with the expected error.
std::optional<rtl::TDateTime> Read(std::string_view text, const rtl::FormatSettings& settings,
                                   int presentYear) {
    try {
        return rtl::StrToDateTime(text, settings, presentYear);
    } catch (const rtl::EConvertError& error) {
        const std::string expected = "'" + std::string(text) + "' is not a valid date and time";
        if (error.Message() != expected) {
            Fail("the error does not name the text", text);
        }
        return std::nullopt;
    }
}

void CheckValue(rtl::TDateTime value, std::string_view text) {
    if (!std::isfinite(value)) {
        Fail("the value is not finite", text);
    }
    // A day from 1 January 0001 to 31 December 9999, less or plus a time of day.
    if (value <= kFirstDay - 1.0 || value >= kLastDay + 1.0) {
        Fail("the value lies outside the years 1 to 9999", text);
    }
    // Every reading is a whole number of milliseconds: the double nearest to one.
    const double milliseconds = std::nearbyint(value * kMSecsPerDay);
    if (milliseconds / kMSecsPerDay != value) {
        Fail("the value is not a whole number of milliseconds", text);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Variant& variant = kVariants[data[0] % kVariantCount];
    const int presentYear = kPresentYears[(data[0] / kVariantCount) % kPresentYearCount];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    const std::optional<rtl::TDateTime> value = Read(text, variant.settings, presentYear);
    if (value) {
        CheckValue(*value, text);
    }

    // Spaces before the text are skipped: the reading is the same.
    const std::string indented = "  " + std::string(text);
    if (Read(indented, variant.settings, presentYear) != value) {
        Fail("leading spaces change the reading", text);
    }
    if (variant.trailingSpacesNeutral) {
        const std::string padded = std::string(text) + "  ";
        if (Read(padded, variant.settings, presentYear) != value) {
            Fail("trailing spaces change the reading", text);
        }
    }
    return 0;
}
