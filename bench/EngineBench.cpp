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

}  // namespace
}  // namespace almanac
