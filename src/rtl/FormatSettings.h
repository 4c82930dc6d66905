// The user's regional date and time settings that the reading of a date-time text uses.
#pragma once

#include <string>

namespace rtl {

struct FormatSettings {
    std::string dateSeparator = "/";
    std::string shortDateFormat = "m/d/yy";
    std::string timeSeparator = ":";
    std::string timeAMString = "am";
    std::string timePMString = "pm";
    std::string decimalSeparator = ".";
};

} // namespace rtl
