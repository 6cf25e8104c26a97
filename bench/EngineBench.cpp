#include "engine/LunarDate.h"

#include <benchmark/benchmark.h>

namespace almanac {
namespace {

// The whole range, 1900-01-31 to 2059-12-31, one NextDay per day.
void WalkWholeRange(benchmark::State& state) {
    const int days = DaysBetween(2059, 12, 31, 1900, 1, 31) + 1;
    for (auto _ : state) {
        LunarDate date = LunarDate::FromGregorian(1900, 1, 31);
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
BENCHMARK(FromGregorian)->Arg(1900)->Arg(2000)->Arg(2059)->Unit(benchmark::kNanosecond);

}  // namespace
}  // namespace almanac
