#include "forms/RegionalSettings.h"

#include <windows.h>

#include <string>
#include <utility>

namespace forms {
namespace {

// The item's text, or the fallback when the locale gives none (the call fails).
std::string LocaleText(LCTYPE item, const std::string& fallback) {
    const LCID locale = GetThreadLocale();
    const int size = GetLocaleInfoA(locale, item, nullptr, 0);
    if (size <= 0) {
        return fallback;
    }
    std::string text(static_cast<std::size_t>(size), '\0');
    const int written = GetLocaleInfoA(locale, item, text.data(), size);
    if (written <= 0) {
        return fallback;
    }
    text.resize(static_cast<std::size_t>(written - 1)); // drop the terminating NUL
    return text;
}

RegionalSettingsLoader& Replacement() {
    static RegionalSettingsLoader loader;
    return loader;
}

} // namespace

rtl::FormatSettings LoadRegionalSettings() {
    const rtl::FormatSettings defaults;
    rtl::FormatSettings settings;
    settings.dateSeparator = LocaleText(LOCALE_SDATE, defaults.dateSeparator);
    settings.shortDateFormat = LocaleText(LOCALE_SSHORTDATE, defaults.shortDateFormat);
    settings.timeSeparator = LocaleText(LOCALE_STIME, defaults.timeSeparator);
    settings.timeAMString = LocaleText(LOCALE_S1159, defaults.timeAMString);
    settings.timePMString = LocaleText(LOCALE_S2359, defaults.timePMString);
    settings.decimalSeparator = LocaleText(LOCALE_SDECIMAL, defaults.decimalSeparator);
    return settings;
}

rtl::FormatSettings LoadCurrentRegionalSettings() {
    const RegionalSettingsLoader& loader = Replacement();
    return loader ? loader() : LoadRegionalSettings();
}

RegionalSettingsLoader ReplaceRegionalSettingsLoader(RegionalSettingsLoader loader) {
    RegionalSettingsLoader previous = std::move(Replacement());
    Replacement() = std::move(loader);
    return previous;
}

} // namespace forms
