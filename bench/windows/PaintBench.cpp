// Painting a full page with notes of every kind into a memory bitmap, and
// reading its files again after a change in the notes folder.
#include "display/MonthView.h"

#include "testkit/ScratchFolder.h"

#include <benchmark/benchmark.h>

namespace almanac {
namespace {

using testing::NoteFileBytes;
using testing::ScratchFolder;

// February 2024 with every kind of note on it: one-off fills, both stars,
// reminder dots on a weekday and today's ring.
struct PageWithNotes {
    PageWithNotes() {
        ScratchFolder::MakeNoteFolders();
        ScratchFolder::WriteBytes("日历\\202402", NoteFileBytes({{5, "a"}, {6, "b", NOTE_CUSTOM_COLOUR | 0x00FF00}, {20, "c"}}));
        ScratchFolder::WriteBytes("日历\\102", NoteFileBytes({{7, "d"}, {14, "e"}}));
        ScratchFolder::WriteBytes("日历\\001", NoteFileBytes({{1, "f"}, {15, "g"}}));
        ScratchFolder::WriteBytes("日历\\week", NoteFileBytes({{3, "h"}}));
        host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, MonthView::WIDTH, MonthView::HEIGHT, nullptr, nullptr,
                               win::Instance(), nullptr);
        view.Create({0, 0, MonthView::WIDTH, MonthView::HEIGHT}, host, 107, win::DpiScale());
        view.ShowMonth(2024, 2, 10);
    }
    ~PageWithNotes() { DestroyWindow(host); }

    ScratchFolder scratch;
    HWND host;
    MonthView view{nullptr, ScratchFolder::Here()};
};

// The grid's own paint: strip, header, 42 cells, marks and the ring.
void PaintGrid(benchmark::State& state) {
    PageWithNotes page;
    win::MemoryCanvas canvas(MonthView::WIDTH, MonthView::HEIGHT);
    for (auto _ : state) {
        page.view.Paint(canvas.Get());
        GdiFlush();
    }
}
BENCHMARK(PaintGrid)->Unit(benchmark::kMicrosecond);

// The grid with its two labels, as the window shows.
void PaintGridWithLabels(benchmark::State& state) {
    PageWithNotes page;
    win::MemoryCanvas canvas(MonthView::WIDTH, MonthView::HEIGHT);
    for (auto _ : state) {
        win::PrintWindowTree(page.view, canvas.Get());
        GdiFlush();
    }
}
BENCHMARK(PaintGridWithLabels)->Unit(benchmark::kMicrosecond);

// Building the page: conversions, texts and six note files read.
void ShowMonth(benchmark::State& state) {
    PageWithNotes page;
    MonthPage monthPage;
    MonthNotes notes(ScratchFolder::Here());
    for (auto _ : state) {
        monthPage.Build(2024, 2, 10);
        notes.Load(monthPage);
    }
}
BENCHMARK(ShowMonth)->Unit(benchmark::kMicrosecond);

// What a change in the notes folder costs the window's thread when the
// page's files hold what it shows (this program's own save, or a file of
// another month): the six files read again and compared, no paint.
void LookAfterAFolderChange(benchmark::State& state) {
    PageWithNotes page;
    for (auto _ : state) page.view.TakeOutsideChanges(false);
}
BENCHMARK(LookAfterAFolderChange)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace almanac
