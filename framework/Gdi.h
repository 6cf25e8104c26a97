// GDI objects and device contexts, each released by its owner's destructor.
#pragma once

#include "base/Text.h"
#include "base/UniqueHandle.h"
#include "framework/Dpi.h"

#include <windows.h>

#include <string_view>

namespace almanac::win {

// Fonts, brushes, pens, bitmaps.
template <typename GdiHandle>
struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle Adopt(Handle handle) { return handle; }
    static bool Close(Handle handle) { return DeleteObject(handle) != 0; }
};

// Owned GDI objects, deleted with their owner.
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Pen = UniqueHandle<GdiObjectTraits<HPEN>>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;

// Selects an object into a device context and puts the previous one back.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_) SelectObject(dc_, previous_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// BeginPaint … EndPaint.
class PaintContext {
public:
    explicit PaintContext(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
    ~PaintContext() { EndPaint(window_, &paint_); }
    PaintContext(const PaintContext&) = delete;
    PaintContext& operator=(const PaintContext&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// WM_PAINT and WM_PRINTCLIENT in one handler, for windows that paint their
// whole client area themselves: paint gets the device context that
// WM_PRINTCLIENT brings, or else the window's own between BeginPaint and
// EndPaint.
template <typename Paint>
LRESULT PaintMessage(HWND window, WPARAM givenContext, Paint paint) {
    if (givenContext) {
        paint(reinterpret_cast<HDC>(givenContext));
        return 0;
    }
    PaintContext context(window);
    paint(context.Get());
    return 0;
}

// GetDC … ReleaseDC.
class WindowContext {
public:
    explicit WindowContext(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowContext() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowContext(const WindowContext&) = delete;
    WindowContext& operator=(const WindowContext&) = delete;
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context holding a 24-bit top-down DIB section whose
// pixels can be read directly.
class MemoryCanvas {
public:
    MemoryCanvas(int width, int height);
    ~MemoryCanvas();
    MemoryCanvas(const MemoryCanvas&) = delete;
    MemoryCanvas& operator=(const MemoryCanvas&) = delete;

    HDC Get() const { return dc_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // The pixel as a colour reference (red in the low byte); black outside.
    COLORREF Pixel(int x, int y) const;
    const unsigned char* Bits() const { return bits_; }
    int Stride() const { return (width_ * 3 + 3) & ~3; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    Bitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    unsigned char* bits_ = nullptr;
};

// How a font's strokes are drawn: as the system and the font ask (smoothed
// at some sizes), or always plain, whole pixels of the text's colour.
enum class Strokes { AsTheFontAsks, Plain };

// A font by face name and cell height in pixels (positive), as the grid and
// the pop-up create theirs: width 0, no italic, underline or strike-out,
// character set 0, default precision and pitch.
Font CreatePixelFont(std::string_view face, int height, int weight, Strokes strokes = Strokes::AsTheFontAsks);

// A font by face name and size in tenths of a point, at a scale: its
// character height is the scale's PointHeight (given as a negative height),
// DEFAULT_CHARSET.
Font CreatePointFont(std::string_view face, int tenthsOfPoint, const DpiScale& scale);

// A font by face name and character height in pixels (given as a negative
// height), as the dialog manager makes a template's font: DEFAULT_CHARSET.
Font CreateCharacterFont(std::string_view face, int characterHeight);

// Fills a rectangle with a solid colour; the brush lives for this fill only.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);

// Draws one line of GB18030 text with its top-left corner at (x, y).
void DrawTextAt(HDC dc, int x, int y, std::string_view gb18030);

// The extent of one line of GB18030 text in the selected font.
SIZE TextExtent(HDC dc, std::string_view gb18030);

}  // namespace almanac::win
