#include "engine/MoonPhases.h"

#include "engine/GregorianCalendar.h"

#include <cstdint>
#include <iterator>

namespace almanac {
namespace {

// Minutes from FIRST_PHASE_YEAR-01-01 00:00 (UTC+8) to each phase: new
// moons at even indexes, full moons at odd ones.
constexpr std::uint32_t MoonPhaseTable[] = {
#include "engine/MoonPhaseTable.inc"
};
constexpr int PHASE_COUNT = int(std::size(MoonPhaseTable));
constexpr int MINUTES_PER_DAY = 1440;
constexpr int EpochSerialDay = SerialDay(FIRST_PHASE_YEAR, 1, 1);
constexpr int LastSerialDay = SerialDay(LAST_PHASE_YEAR, 12, 31);

// Half a mean lunation (29.530589 days) in minutes, times 1000.
constexpr std::int64_t HALF_LUNATION_MILLIMINUTES = 21262024;

// The lookup below rests on these: phases in order, 13.9 to 15.6 days apart
// (never two on one day), each within 1.5 days of where the mean lunation
// puts it, and the table running from the first to the last year.
static_assert([] {
    for (int i = 0; i < PHASE_COUNT; ++i) {
        const std::int64_t mean = MoonPhaseTable[0] + i * HALF_LUNATION_MILLIMINUTES / 1000;
        const std::int64_t drift = std::int64_t(MoonPhaseTable[i]) - mean;
        if (drift > 3 * MINUTES_PER_DAY / 2 || drift < -3 * MINUTES_PER_DAY / 2) return false;
        if (i > 0) {
            const std::uint32_t gap = MoonPhaseTable[i] - MoonPhaseTable[i - 1];
            if (gap < 13 * MINUTES_PER_DAY || gap > 16 * MINUTES_PER_DAY) return false;
        }
    }
    return true;
}());
static_assert(MoonPhaseTable[0] / MINUTES_PER_DAY < 30);
static_assert(MoonPhaseTable[PHASE_COUNT - 1] / MINUTES_PER_DAY > LastSerialDay - EpochSerialDay - 16);

}  // namespace

MoonPhaseTime MoonPhaseOn(int year, int month, int day) {
    if (year < FIRST_PHASE_YEAR || year > LAST_PHASE_YEAR || month < 1 || month > 12 || day < 1 ||
        day > GregorianMonthLength(year, month))
        return {};
    const std::int64_t dayIndex = SerialDay(year, month, day) - EpochSerialDay;
    // The phase whose mean time is nearest the day's noon. Phases lie within
    // 1.5 days of their mean time and 13.9 days apart, so a phase on this day
    // is that one or a neighbour.
    const std::int64_t noon = dayIndex * MINUTES_PER_DAY + MINUTES_PER_DAY / 2;
    const std::int64_t nearest = ((noon - MoonPhaseTable[0]) * 1000 + HALF_LUNATION_MILLIMINUTES / 2) /
                                 HALF_LUNATION_MILLIMINUTES;
    for (std::int64_t i = nearest - 1; i <= nearest + 1; ++i) {
        if (i < 0 || i >= PHASE_COUNT || MoonPhaseTable[i] / MINUTES_PER_DAY != dayIndex) continue;
        const int minuteOfDay = int(MoonPhaseTable[i] % MINUTES_PER_DAY);
        return {i % 2 == 0 ? MoonPhase::NewMoon : MoonPhase::FullMoon, std::uint8_t(minuteOfDay / 60),
                std::uint8_t(minuteOfDay % 60)};
    }
    return {};
}

const char* MoonPhaseName(MoonPhase phase) {
    switch (phase) {
        case MoonPhase::NewMoon: return "朔";
        case MoonPhase::FullMoon: return "望";
        default: return "";
    }
}

}  // namespace almanac
