#include "store/CalendarExport.h"
#include "store/NoteStore.h"

#include "testkit/ScratchFolder.h"

#include <benchmark/benchmark.h>

namespace almanac {
namespace {

using testing::ScratchFolder;

// A notes folder as full as years of use make it: a note on every day of
// the twelve lunar-yearly and twelve Gregorian-yearly files, every weekday,
// and one-off notes on every day of twenty years. The export reads every
// month file of 1900–2100, present or not.
void FillFolder(const NotesFolder& folder) {
    ScratchFolder::MakeNoteFolders();
    auto fill = [&folder](int year, int month) {
        NoteTable table;
        table.LoadMonth(folder, year, month);
        for (int slot = 1; slot <= 30; ++slot) table.SetAndSave(slot, "一条记事 a note of some length\r\n第二行", 0);
    };
    for (int month = 1; month <= 12; ++month) {
        fill(0, month);
        fill(1, month);
        for (int year = 2010; year < 2030; ++year) fill(year, month);
    }
    NoteTable week;
    week.LoadWeek(folder);
    for (int slot = 0; slot <= 6; ++slot) week.SetAndSave(slot, "每周提示", 0);
}

void ExportFullFolder(benchmark::State& state) {
    ScratchFolder scratch;
    FillFolder(scratch.Notes());
    ExportOptions options{2025, EXPORT_DEFAULT_YEARS, state.range(0) ? LunarForm::Rules : LunarForm::Dates,
                          "20250101T000000Z"};
    std::size_t bytes = 0;
    for (auto _ : state) {
        NotesExport result = ExportNotes(scratch.Notes(), options);
        bytes = result.calendar.size();
        benchmark::DoNotOptimize(result.calendar.data());
        if (!result.problems.empty()) state.SkipWithError("a file could not be read");
    }
    state.counters["bytes"] = double(bytes);
}
// 0: lunar notes as dated occurrences (20 years), 1: as lunar rules.
BENCHMARK(ExportFullFolder)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace almanac
