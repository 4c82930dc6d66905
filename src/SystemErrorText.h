// The system's own text for an error code.
#pragma once

#include <windows.h>

#include <string>

// FormatMessageW's text for the code, as UTF-8, without its trailing line break and spaces.
// A code the system has no text for gives "System error N".
std::string SystemErrorText(DWORD code);
