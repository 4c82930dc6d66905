// Text conversion between the probe's UTF-16 window texts and the UTF-8 it prints.
#pragma once

#include <string>
#include <string_view>

namespace probe {

std::string toUtf8(std::wstring_view text);
std::wstring fromUtf8(std::string_view text);

// Writes one line of UTF-8 to standard output, unchanged by any code page.
void printLine(std::string_view line);
void printLine(std::wstring_view line);
// The same to standard error.
void printError(std::string_view line);

} // namespace probe
