// Number formatting for the display.
#include "Format.h"

#include <cstdio>

namespace rtl {

std::string IntToStr(int value) {
    return std::to_string(value);
}

std::string FormatTwoDigits(int value) {
    char buffer[16];
    const int length = std::snprintf(buffer, sizeof buffer, "%.2d", value);
    return std::string(buffer, static_cast<std::size_t>(length));
}

} // namespace rtl
