#include "framework/Gdi.h"

namespace almanac::win {

MemoryCanvas::MemoryCanvas(int width, int height) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    dc_ = CreateCompatibleDC(nullptr);
    bitmap_.Reset(CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<unsigned char*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
}

MemoryCanvas::~MemoryCanvas() {
    SelectObject(dc_, previous_);
    DeleteDC(dc_);
}

COLORREF MemoryCanvas::Pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_) return RGB(0, 0, 0);
    GdiFlush();
    const unsigned char* p = bits_ + y * Stride() + x * 3;
    return RGB(p[2], p[1], p[0]);
}

Font CreatePixelFont(std::string_view face, int height, int weight, Strokes strokes) {
    const DWORD quality = strokes == Strokes::Plain ? NONANTIALIASED_QUALITY : DEFAULT_QUALITY;
    return Font(CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, 0, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                            quality, DEFAULT_PITCH | FF_DONTCARE, text::Wide(face).c_str()));
}

// A negative height asks for the character height (the cell without its
// internal leading), as a point size means.
Font CreateCharacterFont(std::string_view face, int characterHeight) {
    return Font(CreateFontW(-characterHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            text::Wide(face).c_str()));
}

Font CreatePointFont(std::string_view face, int tenthsOfPoint, const DpiScale& scale) {
    return CreateCharacterFont(face, scale.PointHeight(tenthsOfPoint));
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    Brush brush(CreateSolidBrush(colour));
    FillRect(dc, &rect, brush);
}

void DrawTextAt(HDC dc, int x, int y, std::string_view gb18030) {
    std::wstring text = text::Wide(gb18030);
    TextOutW(dc, x, y, text.c_str(), int(text.size()));
}

SIZE TextExtent(HDC dc, std::string_view gb18030) {
    std::wstring text = text::Wide(gb18030);
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
    return size;
}

}  // namespace almanac::win
