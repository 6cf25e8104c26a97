#include "display/Labels.h"

#include "tests/display/TestWindows.h"

#include <gtest/gtest.h>

namespace almanac {
namespace {

using testing::HostWindow;

constexpr COLORREF kBackground = RGB(50, 80, 90);
constexpr COLORREF kText = RGB(189, 183, 107);
constexpr int kId = 1044;

class LabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(label.Create({190, 3, 220, 20}, host, kId, kBackground, kText, 100, "楷体_gb2312", win::DpiScale()));
    }

    // The caption's extent in the label's own font, measured the same way.
    SIZE ExtentOf(std::string_view caption) {
        win::WindowContext dc(label);
        win::Font same = win::CreatePointFont("楷体_gb2312", 100, win::DpiScale());
        win::Selection selected(dc.Get(), same);
        int width, height;
        MeasureText(dc.Get(), caption, width, height);
        return {width, height};
    }

    // What a mouse message at (x, y) of the label's client area does.
    void MouseAt(UINT message, int x, int y) { label.Send(message, 0, MAKELPARAM(x, y)); }

    bool TakeClick(WPARAM& id) {
        MSG message;
        if (!PeekMessageW(&message, host, WM_LINK_CLICKED, WM_LINK_CLICKED, PM_REMOVE)) return false;
        id = message.wParam;
        return message.lParam == 0;
    }

    HostWindow host;
    LinkLabel label;
};

TEST_F(LabelTest, ACaptionSizesTheLabelToItsExtent) {
    label.SetCaption("上月", true);
    UpdateWindow(label);
    RECT client = label.ClientRect();
    SIZE extent = ExtentOf("上月");
    EXPECT_EQ(client.right, extent.cx);
    EXPECT_EQ(client.bottom, extent.cy);
    EXPECT_EQ(label.Rect().left, 190);  // the top-left corner stays
    EXPECT_EQ(label.Rect().top, 3);
    EXPECT_EQ(label.Rect().right, 190 + extent.cx);

    // Several lines: as wide as the widest, a line height per line, and a
    // final line end begins one more line.
    label.SetCaption("a\r\n下月下月\r\n", true);
    UpdateWindow(label);
    SIZE lines = ExtentOf("a\r\n下月下月\r\n");
    SIZE one = ExtentOf("a");
    EXPECT_EQ(lines.cy, 3 * one.cy);
    EXPECT_EQ(lines.cx, ExtentOf("下月下月").cx);
    EXPECT_EQ(label.ClientRect().right, lines.cx);
    EXPECT_EQ(label.ClientRect().bottom, lines.cy);
}

// The design's numbers at 96 pixels per inch: a 10-point face has
// characters 13 pixels high (points × dpi / 72), so two Chinese characters
// are 26 pixels wide. The line adds the face's internal leading: 2 pixels
// in Windows' 楷体_GB2312 (15), none in the prefix's Kai face (13).
TEST_F(LabelTest, ATenPointCaptionHasTheDesignsSize) {
    win::WindowContext screen(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSY), 96);
    label.SetCaption("上月", true);
    UpdateWindow(label);
    EXPECT_EQ(label.ClientRect().right, 26);
    EXPECT_GE(label.ClientRect().bottom, 13);
    EXPECT_LE(label.ClientRect().bottom, 15);

    win::Font font = win::CreatePointFont("楷体_gb2312", 100, win::DpiScale());
    win::Selection selected(screen.Get(), font);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.Get(), &metrics);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 13);
}

// A label that keeps its rectangle answers anywhere in it, as the small
// "×" does in its rectangle (338, 3)–(363, 20).
TEST_F(LabelTest, ALabelThatKeepsItsRectangleAnswersInAllOfIt) {
    LinkLabel close;
    ASSERT_TRUE(close.Create({338, 3, 363, 20}, host, 1058, kBackground, kText, 100, "楷体_gb2312", win::DpiScale()));
    close.KeepCreationRectangle();
    close.SetCaption("×", true);
    UpdateWindow(close);
    for (POINT corner : {POINT{338, 3}, POINT{362, 3}, POINT{338, 19}, POINT{362, 19}})
        EXPECT_EQ(ChildWindowFromPoint(host, corner), close.Handle()) << corner.x << ',' << corner.y;
    EXPECT_NE(ChildWindowFromPoint(host, {337, 10}), close.Handle());
    EXPECT_NE(ChildWindowFromPoint(host, {350, 20}), close.Handle());
    win::MemoryCanvas canvas(400, 300);
    testing::Capture(host, canvas);
    EXPECT_GT(testing::CountPixels(canvas, {338, 3, 363, 20}, kText), 5);
    EXPECT_GT(testing::CountPixels(canvas, {355, 3, 363, 20}, kBackground), 100);  // right of the glyph
}

TEST_F(LabelTest, ACaptionWithoutShowKeepsAHiddenLabelHidden) {
    label.SetCaption("返回", false);
    EXPECT_FALSE(label.IsVisible());
    label.Show(SW_SHOW);
    UpdateWindow(label);  // fits at its first paint
    EXPECT_EQ(label.ClientRect().right, ExtentOf("返回").cx);
}

TEST_F(LabelTest, TheHighlightFollowsThePointer) {
    label.SetCaption("下月", true);
    UpdateWindow(label);
    MouseAt(WM_MOUSEMOVE, 3, 3);
    EXPECT_EQ(GetCapture(), label.Handle());
    EXPECT_TRUE(label.IsHovering());
    EXPECT_EQ(label.TextColour(), LinkLabel::HIGHLIGHT_COLOUR);

    MouseAt(WM_MOUSEMOVE, 5, 4);  // still over it
    EXPECT_EQ(label.TextColour(), LinkLabel::HIGHLIGHT_COLOUR);

    MouseAt(WM_MOUSEMOVE, label.ClientRect().right + 5, 3);  // off it
    EXPECT_NE(GetCapture(), label.Handle());
    EXPECT_FALSE(label.IsHovering());
    EXPECT_EQ(label.TextColour(), kText);
}

TEST_F(LabelTest, AColourSetWhileHighlightedGivesWayToTheSavedOne) {
    label.SetCaption("下月", true);
    MouseAt(WM_MOUSEMOVE, 3, 3);
    label.SetTextColour(RGB(1, 2, 3));
    MouseAt(WM_MOUSEMOVE, -20, 3);
    EXPECT_EQ(label.TextColour(), kText);
}

TEST_F(LabelTest, AReleasePostsTheClickToTheParent) {
    label.SetCaption("×", true);
    MouseAt(WM_MOUSEMOVE, 3, 3);
    MouseAt(WM_LBUTTONUP, 3, 3);
    EXPECT_NE(GetCapture(), label.Handle());
    EXPECT_EQ(label.TextColour(), kText);  // normal again, though the pointer is still there
    WPARAM id = 0;
    ASSERT_TRUE(TakeClick(id));
    EXPECT_EQ(id, WPARAM(kId));
    EXPECT_FALSE(TakeClick(id));  // posted once

    // Moving on with the button held from elsewhere and releasing also counts.
    MouseAt(WM_LBUTTONUP, 2, 2);
    EXPECT_TRUE(TakeClick(id));
}

TEST_F(LabelTest, ThePaintedCaptionUsesTheLabelsColours) {
    label.SetCaption("上月", true);
    win::MemoryCanvas canvas(400, 300);
    testing::Capture(host, canvas);
    RECT rect = label.Rect();
    EXPECT_GT(testing::CountPixels(canvas, rect, kBackground), 0);
    EXPECT_GT(testing::CountPixels(canvas, rect, kText), 0);
    MouseAt(WM_MOUSEMOVE, 3, 3);
    testing::Capture(host, canvas);
    EXPECT_GT(testing::CountPixels(canvas, rect, LinkLabel::HIGHLIGHT_COLOUR), 0);
    EXPECT_EQ(testing::CountPixels(canvas, rect, kText), 0);
}

TEST(MeasureTextTest, LinesAndEmptyTexts) {
    win::WindowContext dc(nullptr);
    win::Font font = win::CreatePixelFont("宋体", 15, FW_NORMAL);
    win::Selection selected(dc.Get(), font);
    int width, height, lineHeight;
    MeasureText(dc.Get(), "a", width, lineHeight);
    MeasureText(dc.Get(), "", width, height);
    EXPECT_EQ(width, 0);
    EXPECT_EQ(height, lineHeight);
    MeasureText(dc.Get(), "\r\n", width, height);
    EXPECT_EQ(height, 2 * lineHeight);
    MeasureText(dc.Get(), "x\ry\nz", width, height);  // a lone CR or LF ends no line
    EXPECT_EQ(height, lineHeight);
}

}  // namespace
}  // namespace almanac
