// The design is laid out in pixels at 96 dpi. On a screen of another dpi
// every figure of it is scaled by dpi / 96 here, and only here, so that the
// panel is as sharp and whole at 150 % as at 100 %.
//
// A figure is rounded to the nearest device pixel, halves away from zero:
// 363 at 144 dpi is 544.5 and becomes 545, and -7 becomes -11 as 7 becomes
// 11, so whatever is laid out symmetrically stays symmetric. Lines of one
// pixel are not scaled at all: they are placed where the scaled edges put
// them and stay one device pixel wide (see the month grid's geometry).
#pragma once

#include <windows.h>

namespace almanac::win {

class DpiScale {
public:
    static constexpr int DESIGN_DPI = 96;

    constexpr DpiScale() = default;
    // A dpi of 0 or less (a system that could not tell) counts as 96.
    constexpr explicit DpiScale(int dpi) : dpi_(dpi > 0 ? dpi : DESIGN_DPI) {}

    constexpr int Dpi() const { return dpi_; }

    // Design pixels in device pixels. Exact in integers: n × dpi / 96
    // rounded is (2 × n × dpi + 96) / 192 rounded down, for n ≥ 0.
    constexpr int operator()(int designPixels) const {
        if (designPixels < 0) return -(*this)(-designPixels);
        return (2 * designPixels * dpi_ + DESIGN_DPI) / (2 * DESIGN_DPI);
    }
    constexpr RECT operator()(const RECT& design) const {
        return {LONG((*this)(int(design.left))), LONG((*this)(int(design.top))), LONG((*this)(int(design.right))),
                LONG((*this)(int(design.bottom)))};
    }
    constexpr POINT operator()(const POINT& design) const {
        return {LONG((*this)(int(design.x))), LONG((*this)(int(design.y)))};
    }

    // The character height of a point size (in tenths of a point): what it
    // is at 96 dpi, as GDI gives it there (truncated), then scaled.
    constexpr int PointHeight(int tenthsOfPoint) const { return (*this)(tenthsOfPoint * DESIGN_DPI / 720); }

    constexpr bool operator==(const DpiScale&) const = default;

private:
    int dpi_ = DESIGN_DPI;
};

static_assert(DpiScale(144)(363) == 545 && DpiScale(144)(280) == 420, "544.5 rounds up");
static_assert(DpiScale(120)(363) == 454 && DpiScale(192)(363) == 726);
static_assert(DpiScale(144)(-7) == -11 && DpiScale(144)(7) == 11, "halves away from zero on both sides");
static_assert(DpiScale(96)(51) == 51 && DpiScale(96).PointHeight(100) == 13);
static_assert(DpiScale(144).PointHeight(100) == 20 && DpiScale(120).PointHeight(100) == 16);

// The dpi a window is laid out for: the dpi of the monitor it is on, where
// the system tells it (Windows 8.1 and later), else the system's dpi.
int DpiOf(HWND window);

// The scale a WM_DPICHANGED message brings (wParam: the new dpi).
inline DpiScale ScaleOfDpiChange(WPARAM wParam) { return DpiScale(HIWORD(wParam)); }

// A dialog that lays itself out again on a change of dpi: the dialog
// manager's own rescaling of its template (Windows 10 1703 and later) is
// turned off, so that it does not come on top of ours. Nothing where the
// system has no such rescaling.
void LayOutOwnDpiChanges(HWND dialog);

}  // namespace almanac::win
