// Number formatting for the display.
#pragma once

#include <string>

namespace rtl {

// Decimal, no sign, no leading zeros ("2021").
std::string IntToStr(int value);
// "%.2d": at least two digits, filled on the left with "0" ("07", "59", "123").
std::string FormatTwoDigits(int value);

} // namespace rtl
