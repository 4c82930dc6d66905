// Layout arithmetic: MulDiv rounding and overflow, the scaling of designed rectangles, and the
// font height at another screen resolution.
#include "rtl/Layout.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

// Comparison and printing for the tests, found by argument-dependent lookup.
namespace rtl {
bool operator==(const Rect& x, const Rect& y) {
    return x.left == y.left && x.top == y.top && x.width == y.width && x.height == y.height;
}

void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.width << ", " << r.height << "}";
}
} // namespace rtl

namespace {

TEST(MulDiv, RoundsHalvesAwayFromZero) {
    const struct {
        int a, b, c, expected;
    } cases[] = {
        {-27, 120, 96, -34}, // -33.75
        {27, 120, 96, 34},
        {1, 1, 2, 1},   // 0.5
        {-1, 1, 2, -1}, // -0.5
        {1, -1, 2, -1},
        {1, 1, -2, -1},
        {-1, -1, 2, 1},
        {-1, 1, -2, 1},
        {3, 1, 2, 2}, // 1.5
        {5, 1, 4, 1}, // 1.25
        {3, 1, 4, 1}, // 0.75
        {-3, 1, 4, -1},
        {-5, 1, 4, -1},
        {1, 1, 3, 0}, // 0.33
        {2, 1, 3, 1}, // 0.67
        {-2, 1, 3, -1},
        {0, 5, 7, 0},
        {436, 44, 35, 548},           // 548.11
        {65536, 65536, 65536, 65536}, // the product needs more than 32 bits
        {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
        {INT_MAX, 2, 2, INT_MAX},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::MulDiv(c.a, c.b, c.c), c.expected) << c.a << " * " << c.b << " / " << c.c;
    }
}

TEST(MulDiv, GivesMinusOneOnDivisionByZeroOrOverflow) {
    const struct {
        int a, b, c;
    } cases[] = {{1, 1, 0},       {0, 0, 0},        {INT_MAX, 2, 1},
                 {INT_MIN, 2, 1}, {INT_MIN, -1, 1}, {INT_MAX, INT_MAX, 1}};
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::MulDiv(c.a, c.b, c.c), -1) << c.a << " * " << c.b << " / " << c.c;
    }
}

TEST(ScaleRect, ScalesEdgesRatherThanSizes) {
    const struct {
        rtl::Rect designed;
        int measured;
        rtl::Rect expected;
    } cases[] = {
        // At the designed text height nothing moves.
        {{32, 21, 39, 34}, 35, {32, 21, 39, 34}},
        {{16, 56, 69, 43}, 35, {16, 56, 69, 43}},
        // Larger text: 32*44/35 = 40.2, 21*44/35 = 26.4, right 71*44/35 = 89.3, bottom
        // 55*44/35 = 69.1; the width and height are what is left between the rounded edges.
        {{32, 21, 39, 34}, 44, {40, 26, 49, 43}},
        {{302, 58, 7, 35}, 44, {380, 73, 8, 44}},
        // Smaller text.
        {{360, 99, 39, 34}, 28, {288, 79, 31, 27}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::ScaleRect(c.designed, c.measured, 35), c.expected) << c.measured;
    }
}

// Controls that touch in the design still touch after scaling, whatever the text height.
TEST(ScaleRect, KeepsNeighboursTouching) {
    const rtl::Rect above{262, 21, 39, 34};  // a "+" button
    const rtl::Rect middle{262, 55, 39, 44}; // whose bottom edge is this box's top edge
    const rtl::Rect right{301, 55, 11, 44};  // whose left edge is this box's right edge
    for (int measured = 20; measured <= 80; ++measured) {
        const rtl::Rect a = rtl::ScaleRect(above, measured, 35);
        const rtl::Rect m = rtl::ScaleRect(middle, measured, 35);
        const rtl::Rect r = rtl::ScaleRect(right, measured, 35);
        EXPECT_EQ(a.top + a.height, m.top) << measured;
        EXPECT_EQ(m.left + m.width, r.left) << measured;
        EXPECT_EQ(m.left, a.left) << measured;
    }
}

TEST(ScaleFontHeightForDpi, ScalesOnlyAtAnotherResolution) {
    const struct {
        int height, ppi, expected;
    } cases[] = {{-27, 96, -27}, {-27, 120, -34}, {-27, 144, -41}, // -40.5 away from zero
                 {-27, 72, -20}, {-40, 120, -50}, {27, 120, 34}};
    for (const auto& c : cases) {
        EXPECT_EQ(rtl::ScaleFontHeightForDpi(c.height, c.ppi, 96), c.expected)
            << c.height << " at " << c.ppi;
    }
}

} // namespace
