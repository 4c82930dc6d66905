// The application's regional settings: loaded when it is initialised, and again when the system
// announces a change of settings to the main window, not before.
#include "Form1Fixture.h"
#include "ScopedRegionalSettings.h"

#include <vector>

namespace {

bool SameSettings(const rtl::FormatSettings& a, const rtl::FormatSettings& b) {
    return a.dateSeparator == b.dateSeparator && a.shortDateFormat == b.shortDateFormat &&
           a.timeSeparator == b.timeSeparator && a.timeAMString == b.timeAMString &&
           a.timePMString == b.timePMString && a.decimalSeparator == b.decimalSeparator;
}

class RegionalSettingsTest : public Form1Fixture {
protected:
    std::vector<rtl::FormatSettings> offered;
    int loads = 0;
    ScopedRegionalSettings useSettings{[this] {
        const rtl::FormatSettings settings = offered.at(static_cast<std::size_t>(loads));
        ++loads;
        return settings;
    }};
};

TEST_F(RegionalSettingsTest, AreLoadedAtStartUpAndAgainOnEachSettingsChange) {
    const rtl::FormatSettings iso = RegionalSettings("-", "yyyy-MM-dd", ":");
    const rtl::FormatSettings german = RegionalSettings(".", "dd.MM.yyyy", ":");
    rtl::FormatSettings chinese = RegionalSettings("/", "yyyy/M/d", ":");
    chinese.timeAMString = "\xC9\xCF\xCE\xE7";
    chinese.timePMString = "\xCF\xC2\xCE\xE7";
    chinese.decimalSeparator = ",";
    offered = {iso, german, chinese};

    EXPECT_TRUE(SameSettings(application.FormatSettings(), rtl::FormatSettings{}))
        << "the built-in defaults hold before the application is initialised";
    CreateForm1();
    EXPECT_EQ(loads, 1);
    EXPECT_TRUE(SameSettings(application.FormatSettings(), iso));

    // Other messages, and time passing, leave them as they are.
    SendMessageW(Form1->Handle(), WM_TIMECHANGE, 0, 0);
    SendMessageW(Form1->Handle(), WM_PAINT, 0, 0);
    EXPECT_EQ(loads, 1);

    // WM_SETTINGCHANGE (the same message as WM_WININICHANGE), whatever section it names.
    SendMessageW(Form1->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"intl"));
    EXPECT_EQ(loads, 2);
    EXPECT_TRUE(SameSettings(application.FormatSettings(), german));
    SendMessageW(Form1->Handle(), WM_WININICHANGE, 0, 0);
    EXPECT_EQ(loads, 3);
    EXPECT_TRUE(SameSettings(application.FormatSettings(), chinese));
}

TEST_F(RegionalSettingsTest, TheSystemsOwnSettingsAreLoadedWithoutAReplacement) {
    const ScopedRegionalSettings systemSettings{nullptr};
    CreateForm1();
    // What the thread's locale gives, item by item, as bytes of the ANSI code page.
    const auto item = [](LCTYPE type) {
        char text[128] = {};
        GetLocaleInfoA(GetThreadLocale(), type, text, sizeof text);
        return std::string(text);
    };
    const rtl::FormatSettings& loaded = application.FormatSettings();
    EXPECT_EQ(loaded.dateSeparator, item(LOCALE_SDATE));
    EXPECT_EQ(loaded.shortDateFormat, item(LOCALE_SSHORTDATE));
    EXPECT_EQ(loaded.timeSeparator, item(LOCALE_STIME));
    EXPECT_EQ(loaded.timeAMString, item(LOCALE_S1159));
    EXPECT_EQ(loaded.timePMString, item(LOCALE_S2359));
    EXPECT_EQ(loaded.decimalSeparator, item(LOCALE_SDECIMAL));
    EXPECT_EQ(loads, 0);
}

} // namespace
