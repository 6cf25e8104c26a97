// The Chinese lunar calendar computed from new moons and principal terms,
// and its encoding into the engine's lunar year table layout.
#pragma once

#include <cstdint>
#include <vector>

namespace tablegen {

// A civil day as its Julian Day Number (the JD at its noon).
using DayNumber = long;

DayNumber DayNumberOf(int year, int month, int day);

// The civil day and time of day (hours) of an instant in a time zone.
struct LocalTime {
    int year, month, day;
    double hours;
};
LocalTime LocalTimeOf(double jdUT, double zoneHours);

// China's civil time: Beijing mean solar time (UT + 7:45:40) until the end of
// 1928, the UTC+8 standard time from 1929 on.
double BeijingZoneHours(double jdUT);

struct LunarMonth {
    DayNumber firstDay;  // the day of its new moon
    int number;          // 1 … 12; a leap month repeats the number before it
    bool isLeap;
};

// Whether month beginnings follow the published calendars where those differ
// from the computation (see kPublishedFirstDays).
enum class Corrections { None, Published };

// Every lunar month from the winter solstice month of firstYear to that of
// lastYear + 1, in order.
std::vector<LunarMonth> ComputeLunarMonths(int firstYear, int lastYear, Corrections corrections);

// The lunar year table entry (bits 0–3 leap month, bits 4–15 regular month
// lengths with month 1 in bit 15, bit 16 the leap month's length) of the
// lunar year whose first month begins in Gregorian year `year`.
std::uint32_t LunarYearEntry(const std::vector<LunarMonth>& months, int year);

// An instant so close to a civil midnight that another ΔT could put it on
// the neighbouring day: a new moon (a month's first day) or a solar term.
struct NearMidnight {
    enum Kind { NewMoon, SolarTerm } kind;
    int year, month, day;   // the civil day the computation gives it
    double secondsFromMidnight;  // negative: before the midnight that ends the day; positive: after the one that begins it
    int termIndex;          // 0 = 小寒 … 23 = 冬至, for a solar term
};

// The new moons and solar terms of Gregorian years firstYear … lastYear
// that lie within `seconds` of midnight in China's civil time.
std::vector<NearMidnight> InstantsNearMidnight(int firstYear, int lastYear, double seconds);

// The entries of the lunar years firstYear … lastYear.
std::vector<std::uint32_t> ComputeLunarYearTable(int firstYear, int lastYear, Corrections corrections);

}  // namespace tablegen
