#include "engine/MonthPage.h"
#include "store/MonthNotes.h"

#include "tests/support/ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace almanac {
namespace {

using testing::ScratchFolder;

// A page whose five note files are all populated: a note on every day of the
// month files and of the lunar-yearly files, and every weekday.
void FillNotes() {
    ScratchFolder::MakeNoteFolders();
    for (auto [year, month] : {std::pair{2024, 2}, {1, 2}, {0, 12}, {0, 1}}) {
        NoteTable table;
        table.LoadMonth(year, month);
        for (int slot = 1; slot <= 31; ++slot) table.SetAndSave(slot, "一条记事 a note of some length", 0);
    }
    NoteTable week;
    week.LoadWeek();
    for (int slot = 0; slot <= 6; ++slot) week.SetAndSave(slot, "每周提示", 0);
}

void ShowMonthWithNotes(benchmark::State& state) {
    ScratchFolder scratch;
    FillNotes();
    auto page = std::make_unique<MonthPage>();
    auto notes = std::make_unique<MonthNotes>();
    for (auto _ : state) {
        page->ShowMonth(2024, 2, 10);
        notes->Load(*page);
        benchmark::DoNotOptimize(page->cells[10]);
    }
    if (!notes->oneOffNotes.Slot(31).CarriesNote() && !notes->oneOffNotes.Slot(29).CarriesNote())
        state.SkipWithError("the notes did not load");
}
BENCHMARK(ShowMonthWithNotes)->Unit(benchmark::kMicrosecond);

// One note saved: the whole 31-note file written to a temporary file,
// flushed to the disk and renamed over the old one.
void AtomicSave(benchmark::State& state) {
    ScratchFolder scratch;
    FillNotes();
    NoteTable table;
    table.LoadMonth(2024, 2);
    int round = 0;
    for (auto _ : state) table.SetAndSave(15, (++round & 1) ? "odd" : "even", 0);
}
BENCHMARK(AtomicSave)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace almanac
