// Layout arithmetic of the window: scaling the designed positions to the measured text height.
#pragma once

namespace rtl {

// a * b / c rounded to the nearest whole number, halves away from zero, as Windows' MulDiv;
// -1 when c is 0 or the result does not fit in an int.
int MulDiv(int a, int b, int c);

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// The designed rectangle scaled by measured / designed: left and top scale on their own, width
// and height by their right and bottom edges, so that neighbouring controls keep touching.
Rect ScaleRect(const Rect& designed, int measured, int designed_text_height);

// The window font's Height at a screen resolution other than the designed one.
int ScaleFontHeightForDpi(int designedHeight, int screenPpi, int designedPpi);

} // namespace rtl
