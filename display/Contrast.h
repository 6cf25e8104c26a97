// How well one colour reads on another, by the relative luminance and the
// contrast ratio of WCAG 2 (sRGB): a text or mark is readable on a fill when
// the ratio reaches 4.5 : 1.
#pragma once

#include <windows.h>

namespace almanac {

inline constexpr double READABLE_CONTRAST = 4.5;

// 0 for black … 1 for white.
double RelativeLuminance(COLORREF colour);
// (the lighter's luminance + 0.05) / (the darker's + 0.05): 1 … 21.
double ContrastRatio(COLORREF first, COLORREF second);
// The colour itself when it is readable on the fill; otherwise black or
// white, whichever stands out more from the fill.
COLORREF ReadableOn(COLORREF fill, COLORREF colour);

// High contrast as the system has it now (SPI_GETHIGHCONTRAST): then the
// panel draws with the system's colours.
bool HighContrastIsOn();

}  // namespace almanac
