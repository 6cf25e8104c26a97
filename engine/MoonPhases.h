// The new and full moons (朔 and 望), Gregorian 1900 … 2100, in Beijing
// time (UTC+8, as the solar terms), from the generated table.
#pragma once

#include <cstdint>

namespace almanac {

inline constexpr int FIRST_PHASE_YEAR = 1900;
inline constexpr int LAST_PHASE_YEAR = 2100;

enum class MoonPhase : std::uint8_t { None, NewMoon, FullMoon };

struct MoonPhaseTime {
    MoonPhase phase = MoonPhase::None;
    std::uint8_t hour = 0;    // 0–23
    std::uint8_t minute = 0;  // 0–59
};

// The new or full moon that falls on a Gregorian day, with its time; None on
// the other days and outside FIRST_PHASE_YEAR … LAST_PHASE_YEAR. The time
// is rounded to the nearest minute within the day, so a phase in the last
// half minute of a day shows 23:59 on that day.
MoonPhaseTime MoonPhaseOn(int year, int month, int day);

// 朔, 望, or the empty text for None.
const char* MoonPhaseName(MoonPhase phase);

}  // namespace almanac
