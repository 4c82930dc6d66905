// Reading a date-time text with the regional settings.
#pragma once

#include "DateTime.h"
#include "FormatSettings.h"

#include <string_view>

namespace rtl {

// Reads text (bytes, as they came) as a local date and time. presentYear places years written
// with one or two digits and completes dates without a year. Throws EConvertError
// "'<text>' is not a valid date and time" with the whole, untrimmed text.
TDateTime StrToDateTime(std::string_view text, const FormatSettings& settings, int presentYear);

// As StrToDateTime, but the whole text must be read: where the reading stops early and leaves
// anything but blanks unread (say the minutes and seconds, when the text's time separator is not
// the regional one), it throws the same EConvertError instead of returning the part it read.
// Blanks after a complete reading (spaces, tabs, a line end) are not part of the value and are
// allowed.
TDateTime StrToDateTimeFully(std::string_view text, const FormatSettings& settings,
                             int presentYear);

} // namespace rtl
