// Measuring text on the screen in a given font.
#pragma once

#include <windows.h>

#include <string_view>

namespace forms {

// The width and height of text in the font, as drawn on the screen (the height is the font's
// cell height).
SIZE MeasureText(HFONT font, std::wstring_view text);

// The screen's resolution in pixels per inch.
int ScreenPixelsPerInch();

} // namespace forms
