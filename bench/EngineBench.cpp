#include "engine/DayDetails.h"
#include "engine/LunarDate.h"
#include "engine/PageRange.h"

#include <benchmark/benchmark.h>

namespace almanac {
namespace {

// The whole range, FIRST_DAY to LAST_DAY, one NextDay per day.
void WalkWholeRange(benchmark::State& state) {
    const int days = DaysBetween(LAST_DAY.year, LAST_DAY.month, LAST_DAY.day, FIRST_DAY.year, FIRST_DAY.month,
                                 FIRST_DAY.day) + 1;
    for (auto _ : state) {
        LunarDate date = LunarDate::FromGregorian(FIRST_DAY.year, FIRST_DAY.month, FIRST_DAY.day);
        for (int i = 1; i < days; ++i) date.NextDay();
        benchmark::DoNotOptimize(date);
    }
    state.SetItemsProcessed(state.iterations() * days);
}
BENCHMARK(WalkWholeRange)->Unit(benchmark::kMicrosecond);

// One conversion; the late dates walk the most years.
void FromGregorian(benchmark::State& state) {
    const int year = int(state.range(0));
    for (auto _ : state) {
        LunarDate date = LunarDate::FromGregorian(year, 12, 31);
        benchmark::DoNotOptimize(date);
    }
}
BENCHMARK(FromGregorian)->Arg(FIRST_PAGE.year)->Arg(2000)->Arg(LAST_PAGE.year)->Unit(benchmark::kNanosecond);

// The details of one day, as `almanac-cli details` asks for each line.
void DayDetailsOfOneDay(benchmark::State& state) {
    const int year = int(state.range(0));
    for (auto _ : state) {
        DayDetails details;
        benchmark::DoNotOptimize(DayDetailsOf(year, 7, 20, details));
        benchmark::DoNotOptimize(details);
    }
}
BENCHMARK(DayDetailsOfOneDay)->Arg(FIRST_DETAILS_DAY.year)->Arg(2000)->Arg(LAST_DETAILS_DAY.year)->Unit(benchmark::kNanosecond);

// The details of every day of the range: the cost per day over all of them.
void DayDetailsWholeRange(benchmark::State& state) {
    const int first = SerialDay(FIRST_DETAILS_DAY.year, FIRST_DETAILS_DAY.month, FIRST_DETAILS_DAY.day);
    const int last = SerialDay(LAST_DETAILS_DAY.year, LAST_DETAILS_DAY.month, LAST_DETAILS_DAY.day);
    for (auto _ : state) {
        for (int serial = first; serial <= last; ++serial) {
            const GregorianDate date = DateOfSerialDay(serial);
            DayDetails details;
            DayDetailsOf(date.year, date.month, date.day, details);
            benchmark::DoNotOptimize(details);
        }
    }
    state.SetItemsProcessed(state.iterations() * (last - first + 1));
}
BENCHMARK(DayDetailsWholeRange)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace almanac
