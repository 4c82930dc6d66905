// The user's regional date and time settings, read from the thread's locale.
#pragma once

#include "rtl/FormatSettings.h"

#include <functional>

namespace forms {

// Reads the six settings with GetLocaleInfoA (byte texts in the ANSI code page, as the date-time
// reader compares bytes). An item the locale cannot give keeps its built-in default.
rtl::FormatSettings LoadRegionalSettings();

// Where the application gets its settings: LoadRegionalSettings unless replaced (tests bring
// their own, as the system reads its overrides only when a process starts).
using RegionalSettingsLoader = std::function<rtl::FormatSettings()>;
// The settings from the loader in force.
rtl::FormatSettings LoadCurrentRegionalSettings();
// Replaces the loader; an empty one restores LoadRegionalSettings. Returns the one before.
RegionalSettingsLoader ReplaceRegionalSettingsLoader(RegionalSettingsLoader loader);

} // namespace forms
