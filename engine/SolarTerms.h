// The twenty-four solar terms: their names and the day, hour and minute
// (Beijing time) on which each begins, Gregorian 1900 … 2100.
#pragma once

#include <cstdint>

namespace almanac {

inline constexpr int FIRST_TERM_YEAR = 1900;
inline constexpr int LAST_TERM_YEAR = 2100;

// Twelve months a year, January first, of two 3-byte records (first term,
// second term): day of the month, hour 0–23, minute 0–60. The minute is
// rounded without carrying into the hour, so 60 occurs.
extern const std::uint8_t SolarTermTable[(LAST_TERM_YEAR - FIRST_TERM_YEAR + 1) * 72];

struct SolarTermRecord {
    std::uint8_t day = 0;
    std::uint8_t hour = 0;
    std::uint8_t minute = 0;
};

// The two term records of a Gregorian month. A year or month outside the
// table gives two records of day 0.
void SolarTermDays(int year, int month, SolarTermRecord& first, SolarTermRecord& second);

// The name of the first (which = 1) or second (which = 2) term of a month:
// 小寒 and 大寒 for January … 大雪 and 冬至 for December. Empty when out of range.
const char* SolarTermName(int month, int which);

}  // namespace almanac
