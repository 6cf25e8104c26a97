// Every face the program draws Chinese text with must show the characters,
// not boxes: the test prefix maps the faces to installed fonts and links
// Latin faces to a Chinese one, as the program's own prefix does.
#include "framework/Gdi.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

struct Face {
    const char* name;
    int height;
    int weight;
};

// What a text looks like in a face, as pixels.
std::vector<COLORREF> Drawn(const Face& face, std::string_view text) {
    win::MemoryCanvas canvas(120, 40);
    win::FillSolid(canvas.Get(), {0, 0, 120, 40}, RGB(255, 255, 255));
    win::Font font = win::CreatePixelFont(face.name, face.height, face.weight);
    win::Selection selected(canvas.Get(), font);
    SetBkMode(canvas.Get(), TRANSPARENT);
    SetTextColor(canvas.Get(), RGB(0, 0, 0));
    win::DrawTextAt(canvas.Get(), 2, 2, text);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) pixels.push_back(canvas.Pixel(x, y));
    return pixels;
}

// Names the case in test listings instead of dumping its bytes (the face's
// name escaped, as it is GB18030).
void PrintTo(const Face& face, std::ostream* out) {
    *out << ::testing::PrintToString(std::string(face.name)) << ' ' << face.height << " px, weight " << face.weight;
}

class FontsTest : public ::testing::TestWithParam<Face> {};

TEST_P(FontsTest, ChineseCharactersAreNotBoxes) {
    // Three private-use characters (U+E000 … U+E002) have no glyph in any
    // font, so they show as the face's boxes; real characters must not.
    const std::string privateUse = "\xAA\xA1\xAA\xA2\xAA\xA3";
    std::vector<COLORREF> real = Drawn(GetParam(), "六月小");
    EXPECT_NE(real, Drawn(GetParam(), "")) << GetParam().name << ": nothing drawn";
    EXPECT_NE(real, Drawn(GetParam(), privateUse)) << GetParam().name << ": boxes";
}

// A text drawn in a colour shows that colour in its strokes: the prefix's
// faces draw the captions' sizes with plain strokes, not smoothed into the
// background (grey, pale or orange instead of the colour).
struct ColouredText {
    Face face;
    const char* text;
    COLORREF colour, background;
};

class ColouredTextTest : public ::testing::TestWithParam<ColouredText> {};

TEST_P(ColouredTextTest, StrokesShowTheColour) {
    const ColouredText& c = GetParam();
    win::MemoryCanvas canvas(160, 40);
    win::FillSolid(canvas.Get(), {0, 0, 160, 40}, c.background);
    win::Font font = win::CreatePixelFont(c.face.name, c.face.height, c.face.weight);
    win::Selection selected(canvas.Get(), font);
    SetBkMode(canvas.Get(), TRANSPARENT);
    SetTextColor(canvas.Get(), c.colour);
    win::DrawTextAt(canvas.Get(), 2, 2, c.text);
    int ink = 0, exact = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x) {
            COLORREF pixel = canvas.Pixel(x, y);
            if (pixel != c.background) ++ink;
            if (pixel == c.colour) ++exact;
        }
    ASSERT_GT(ink, 20) << c.face.name << ": nothing drawn";
    EXPECT_GE(exact * 10, ink * 9) << c.face.name << " " << c.face.height << ": " << exact << " of " << ink
                                   << " ink pixels in the colour";
}

// The program's coloured texts: the link line, the pop-up, the top buttons,
// the strip's labels, the selectors (宋体 10 points: character height 13),
// and the grid's lunar texts. (The bold month names are smoothed: Liberation
// Sans Bold asks for it from 11 pixels on.)
INSTANTIATE_TEST_SUITE_P(
    Captions, ColouredTextTest,
    ::testing::Values(ColouredText{{"宋体", -13, FW_NORMAL}, "链接文字 link", RGB(0, 0, 208), RGB(212, 208, 200)},
                      ColouredText{{"宋体", 15, FW_NORMAL}, "今天：项目会议", RGB(255, 0, 0), RGB(255, 255, 0)},
                      ColouredText{{"楷体_gb2312", -13, FW_NORMAL}, "上月下月返回", RGB(189, 183, 107), RGB(50, 80, 90)},
                      ColouredText{{"宋体", -13, FW_NORMAL}, "Vorlitz 丙午【马】年", RGB(0, 0, 0), RGB(255, 215, 0)},
                      ColouredText{{"Arial", 14, FW_NORMAL}, "冬至初二", RGB(0, 0, 255), RGB(245, 245, 230)}),
    [](const auto& info) { return "caption" + std::to_string(info.index); });

INSTANTIATE_TEST_SUITE_P(Faces, FontsTest,
                         ::testing::Values(Face{"Arial", 14, FW_NORMAL}, Face{"Arial", 14, FW_BOLD},
                                           Face{"Arial Black", 17, FW_NORMAL}, Face{"宋体", 19, FW_NORMAL},
                                           Face{"宋体", 15, FW_NORMAL}, Face{"宋体", 13, FW_NORMAL},
                                           Face{"楷体_gb2312", 13, FW_NORMAL}),
                         [](const auto& info) { return "face" + std::to_string(info.index); });

}  // namespace
}  // namespace almanac
