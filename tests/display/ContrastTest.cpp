#include "display/Contrast.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

// Ratios as WCAG 2's own examples and the common checkers publish them.
TEST(ContrastTest, RatiosOfKnownPairs) {
    struct Case {
        COLORREF first, second;
        double ratio;
    } cases[] = {
        {RGB(0, 0, 0), RGB(255, 255, 255), 21.0},
        {RGB(255, 255, 255), RGB(0, 0, 0), 21.0},       // either order
        {RGB(118, 118, 118), RGB(255, 255, 255), 4.54},  // #767676, the lightest grey readable on white
        {RGB(119, 119, 119), RGB(255, 255, 255), 4.48},  // #777777, just short of it
        {RGB(255, 0, 0), RGB(255, 255, 255), 4.00},
        {RGB(0, 0, 255), RGB(255, 255, 255), 8.59},
        {RGB(0, 128, 0), RGB(255, 255, 255), 5.14},
        {RGB(10, 20, 30), RGB(10, 20, 30), 1.0},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(ContrastRatio(c.first, c.second), c.ratio, 0.005)
            << std::hex << c.first << " on " << c.second;
}

// What a day's black text and a red mark become on fills a user may pick:
// kept where they reach 4.5 : 1, else black or white, whichever stands out.
TEST(ContrastTest, TextOnFillsAUserMayPick) {
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255), red = RGB(255, 0, 0);
    struct Case {
        const char* fill_name;
        COLORREF fill, colour, expected;
    } cases[] = {
        {"the one-off note's light sky blue", RGB(135, 206, 250), black, black},
        {"the cell's background", RGB(245, 245, 230), black, black},
        {"yellow", RGB(255, 255, 0), black, black},
        {"mid grey", RGB(128, 128, 128), black, black},  // 5.3 : 1
        {"dark green", RGB(0, 100, 0), black, white},
        {"navy", RGB(0, 0, 128), black, white},
        {"black", RGB(0, 0, 0), black, white},
        {"the lunar note's purple", RGB(128, 0, 255), black, white},
        {"red: a red mark on it", red, red, black},
        {"dark green: a red mark on it", RGB(0, 100, 0), red, white},
        {"white: a red mark on it", white, red, black},  // 4.0 : 1
        {"white: a blue mark on it", white, RGB(0, 0, 255), RGB(0, 0, 255)},
        {"dark green: a yellow mark on it", RGB(0, 100, 0), RGB(255, 255, 0), RGB(255, 255, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadableOn(c.fill, c.colour), c.expected) << c.fill_name;
        EXPECT_GE(ContrastRatio(c.fill, ReadableOn(c.fill, c.colour)), READABLE_CONTRAST) << c.fill_name;
    }
}

}  // namespace
}  // namespace almanac
