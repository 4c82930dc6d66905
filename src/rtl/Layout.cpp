// Layout arithmetic of the window.
#include "Layout.h"

#include <cstdint>
#include <limits>

namespace rtl {

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const std::int64_t product = std::int64_t{a} * b;
    const bool negative = (product < 0) != (c < 0);
    const std::uint64_t magnitude = product < 0
                                        ? std::uint64_t{0} - static_cast<std::uint64_t>(product)
                                        : static_cast<std::uint64_t>(product);
    const std::uint64_t divisor =
        c < 0 ? std::uint64_t{0} - static_cast<std::uint64_t>(c) : static_cast<std::uint64_t>(c);
    // Half of the divisor added first: halves round away from zero.
    const std::uint64_t quotient = (magnitude + divisor / 2) / divisor;
    const std::uint64_t limit = negative ? std::uint64_t{1} + std::numeric_limits<int>::max()
                                         : std::numeric_limits<int>::max();
    if (quotient > limit) {
        return -1;
    }
    return negative ? static_cast<int>(-static_cast<std::int64_t>(quotient))
                    : static_cast<int>(quotient);
}

Rect ScaleRect(const Rect& designed, int measured, int designed_text_height) {
    Rect scaled;
    scaled.left = MulDiv(designed.left, measured, designed_text_height);
    scaled.top = MulDiv(designed.top, measured, designed_text_height);
    scaled.width =
        MulDiv(designed.left + designed.width, measured, designed_text_height) - scaled.left;
    scaled.height =
        MulDiv(designed.top + designed.height, measured, designed_text_height) - scaled.top;
    return scaled;
}

int ScaleFontHeightForDpi(int designedHeight, int screenPpi, int designedPpi) {
    if (screenPpi == designedPpi) {
        return designedHeight;
    }
    return MulDiv(designedHeight, screenPpi, designedPpi);
}

} // namespace rtl
