#include "engine/MonthPage.h"
#include "store/MonthNotes.h"

#include "testkit/ScratchFolder.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace almanac {
namespace {

using testing::ScratchFolder;

// A page whose five note files are all populated: a note on every day of the
// month files and of the lunar-yearly files, and every weekday.
void FillNotes(const NotesFolder& folder) {
    ScratchFolder::MakeNoteFolders();
    for (auto [year, month] : {std::pair{2024, 2}, {1, 2}, {0, 12}, {0, 1}}) {
        NoteTable table;
        table.LoadMonth(folder, year, month);
        for (int slot = 1; slot <= 31; ++slot) table.SetAndSave(slot, "一条记事 a note of some length", 0);
    }
    NoteTable week;
    week.LoadWeek(folder);
    for (int slot = 0; slot <= 6; ++slot) week.SetAndSave(slot, "每周提示", 0);
}

void ShowMonthWithNotes(benchmark::State& state) {
    ScratchFolder scratch;
    FillNotes(scratch.Notes());
    auto page = std::make_unique<MonthPage>();
    auto notes = std::make_unique<MonthNotes>(scratch.Notes());
    for (auto _ : state) {
        page->Build(2024, 2, 10);
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
    FillNotes(scratch.Notes());
    NoteTable table;
    table.LoadMonth(scratch.Notes(), 2024, 2);
    int round = 0;
    for (auto _ : state) table.SetAndSave(15, (++round & 1) ? "odd" : "even", 0);
}
BENCHMARK(AtomicSave)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace almanac
