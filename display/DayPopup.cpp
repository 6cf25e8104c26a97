#include "display/DayPopup.h"

#include "base/Text.h"
#include "display/Contrast.h"
#include "resources/resource.h"

#include <algorithm>
#include <string_view>

namespace almanac {

DayPopup::DayPopup() : PanelDialog(IDD_DAY_POPUP) {}

namespace {

constexpr int kFontHeight = 15;
// From the anchor, in design pixels: the design's place 12 pixels under it
// and 2 to the right of centre; above it, a little clear of the pointer's tip.
constexpr int kGapBelow = 12;
constexpr int kGapAbove = 4;
constexpr int kShift = 2;

// Ideographs, kana, Hangul and full-width forms: a line may break before or
// after any of them. Elsewhere it breaks at a space, or within a word only
// where the word alone is longer than the line.
bool BreaksAnywhere(wchar_t c) { return c >= 0x2E80 || c == L' '; }

int WidthOf(HDC dc, std::wstring_view text) {
    SIZE size{};
    if (!text.empty()) GetTextExtentPoint32W(dc, text.data(), int(text.size()), &size);
    return size.cx;
}

// The line in pieces no wider than maxWidth (a single character that is
// wider stays whole), "\r\n" between them.
std::wstring WrapLine(HDC dc, std::wstring_view line, int maxWidth) {
    std::wstring wrapped;
    while (!line.empty()) {
        INT fit = 0;
        SIZE size{};
        GetTextExtentExPointW(dc, line.data(), int(line.size()), maxWidth, &fit, nullptr, &size);
        std::size_t cut = std::clamp<std::size_t>(std::size_t(fit), 1, line.size());
        if (cut < line.size()) {
            if (IS_HIGH_SURROGATE(line[cut - 1])) cut = cut > 1 ? cut - 1 : 2;
            if (!BreaksAnywhere(line[cut - 1]) && !BreaksAnywhere(line[cut])) {
                std::size_t wordStart = cut - 1;
                while (wordStart > 0 && !BreaksAnywhere(line[wordStart - 1])) --wordStart;
                if (wordStart > 0) cut = wordStart;
            }
        }
        if (!wrapped.empty()) wrapped += L"\r\n";
        wrapped += line.substr(0, cut);
        line.remove_prefix(cut);
    }
    return wrapped;
}

}  // namespace

RECT PlacePopup(SIZE size, POINT anchor, int shift, int gapBelow, int gapAbove, const RECT& workArea) {
    const int width = std::min<int>(size.cx, workArea.right - workArea.left);
    const int left = std::clamp<int>(anchor.x - size.cx / 2 + shift, workArea.left, workArea.right - width);
    const int roomBelow = std::max<int>(0, workArea.bottom - (anchor.y + gapBelow));
    const int roomAbove = std::max<int>(0, (anchor.y - gapAbove) - workArea.top);
    if (size.cy <= roomBelow || roomBelow >= roomAbove) {
        const int top = anchor.y + gapBelow;
        return {left, top, left + width, top + std::min<int>(size.cy, roomBelow)};
    }
    const int bottom = anchor.y - gapAbove;
    return {left, bottom - std::min<int>(size.cy, roomAbove), left + width, bottom};
}

BOOL DayPopup::OnInitDialog() {
    font_ = win::CreatePixelFont("宋体", scale_(kFontHeight), FW_NORMAL);
    return Dialog::OnInitDialog();
}

void DayPopup::SetScale(const win::DpiScale& scale) {
    if (scale == scale_ && font_) return;
    scale_ = scale;
    font_ = win::CreatePixelFont("宋体", scale_(kFontHeight), FW_NORMAL);
}

void DayPopup::ShowText(std::string details, std::string text, POINT anchor) {
    details_ = std::move(details);
    text_ = std::move(text);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    GetMonitorInfoW(MonitorFromPoint(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    const RECT work = monitor.rcWork;
    {
        win::WindowContext dc(hwnd_);
        win::Selection font(dc.Get(), font_);
        const int wrapWidth =
            std::min<int>(WRAP_IDEOGRAPHS * WidthOf(dc.Get(), L"中"), work.right - work.left);
        auto wrapped = [&](const std::string& source) {
            const std::wstring text = text::Wide(source);
            std::wstring lines;
            for (std::size_t start = 0;;) {
                const std::size_t end = text.find(L"\r\n", start);
                if (start > 0) lines += L"\r\n";
                lines += WrapLine(dc.Get(), std::wstring_view(text).substr(start, end - start), wrapWidth);
                if (end == std::wstring::npos) break;
                start = end + 2;
            }
            return lines;
        };
        shown_.clear();
        detailsLines_ = 0;
        if (!details_.empty()) {
            shown_ = wrapped(details_);
            detailsLines_ = 1 + int(std::count(shown_.begin(), shown_.end(), L'\n'));
        }
        if (!text_.empty()) {
            if (!shown_.empty()) shown_ += L"\r\n";
            shown_ += wrapped(text_);
        }
        width_ = 0;
        int lines = 0;
        for (std::size_t start = 0;;) {
            const std::size_t end = shown_.find(L"\r\n", start);
            width_ = std::max(width_, WidthOf(dc.Get(), std::wstring_view(shown_).substr(start, end - start)));
            ++lines;
            if (end == std::wstring::npos) break;
            start = end + 2;
        }
        lineHeight_ = win::TextExtent(dc.Get(), "a").cy;
        height_ = lines * lineHeight_;
    }
    const RECT place = PlacePopup({width_, height_}, anchor, scale_(kShift), scale_(kGapBelow), scale_(kGapAbove), work);
    Move(place.left, place.top, place.right - place.left, place.bottom - place.top, true);
    Invalidate(false);
}

bool DayPopup::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<DayPopup> table[] = {
        win::OnMessage(WM_PAINT, &DayPopup::OnPaint),
        win::OnMessage(WM_PRINTCLIENT, &DayPopup::OnPaint),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT DayPopup::OnPaint(WPARAM dc, LPARAM) {
    return win::PaintMessage(hwnd_, dc, [this](HDC context) { Paint(context); });
}

void DayPopup::Paint(HDC dc) {
    win::Selection font(dc, font_);
    RECT client = {0, 0, width_, height_};
    // With high contrast on, the system's colours for tooltips, one for all.
    const bool system = HighContrastIsOn();
    win::FillSolid(dc, client, system ? GetSysColor(COLOR_INFOBK) : BACKGROUND);
    SetBkMode(dc, TRANSPARENT);
    // The details' lines, then the notes' below them.
    std::size_t notesStart = 0;
    for (int line = 0; line < detailsLines_; ++line) {
        const std::size_t end = shown_.find(L"\r\n", notesStart);
        notesStart = end == std::wstring::npos ? shown_.size() : end + 2;
    }
    if (detailsLines_) {
        SetTextColor(dc, system ? GetSysColor(COLOR_INFOTEXT) : DETAILS_COLOUR);
        const std::wstring_view details = std::wstring_view(shown_).substr(0, notesStart);
        DrawTextW(dc, details.data(), int(details.size()), &client, DT_LEFT | DT_TOP | DT_NOPREFIX);
    }
    client.top += detailsLines_ * lineHeight_;
    SetTextColor(dc, system ? GetSysColor(COLOR_INFOTEXT) : TEXT_COLOUR);
    DrawTextW(dc, shown_.c_str() + notesStart, int(shown_.size() - notesStart), &client, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

}  // namespace almanac
