#include "display/Contrast.h"

#include <cmath>
#include <utility>

namespace almanac {
namespace {

// An sRGB channel (0 … 255) in linear light.
double Linear(int channel) {
    const double value = channel / 255.0;
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

}  // namespace

double RelativeLuminance(COLORREF colour) {
    return 0.2126 * Linear(GetRValue(colour)) + 0.7152 * Linear(GetGValue(colour)) +
           0.0722 * Linear(GetBValue(colour));
}

double ContrastRatio(COLORREF first, COLORREF second) {
    double lighter = RelativeLuminance(first), darker = RelativeLuminance(second);
    if (lighter < darker) std::swap(lighter, darker);
    return (lighter + 0.05) / (darker + 0.05);
}

COLORREF ReadableOn(COLORREF fill, COLORREF colour) {
    if (ContrastRatio(fill, colour) >= READABLE_CONTRAST) return colour;
    const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
    return ContrastRatio(fill, black) >= ContrastRatio(fill, white) ? black : white;
}

bool HighContrastIsOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

}  // namespace almanac
