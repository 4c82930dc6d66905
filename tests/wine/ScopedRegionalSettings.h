// Regional settings that a test chooses: the application loads them from the given function
// for the lifetime of the object (the system reads its own overrides only at process start).
#pragma once

#include "forms/RegionalSettings.h"

#include <string>
#include <utility>

class ScopedRegionalSettings {
public:
    explicit ScopedRegionalSettings(forms::RegionalSettingsLoader loader)
        : previous_(forms::ReplaceRegionalSettingsLoader(std::move(loader))) {}
    ~ScopedRegionalSettings() { forms::ReplaceRegionalSettingsLoader(std::move(previous_)); }
    ScopedRegionalSettings(const ScopedRegionalSettings&) = delete;
    ScopedRegionalSettings& operator=(const ScopedRegionalSettings&) = delete;

private:
    forms::RegionalSettingsLoader previous_;
};

// Settings with the given separators and short date format; the rest keep their defaults.
inline rtl::FormatSettings RegionalSettings(std::string dateSeparator, std::string shortDateFormat,
                                            std::string timeSeparator) {
    rtl::FormatSettings settings;
    settings.dateSeparator = std::move(dateSeparator);
    settings.shortDateFormat = std::move(shortDateFormat);
    settings.timeSeparator = std::move(timeSeparator);
    return settings;
}
