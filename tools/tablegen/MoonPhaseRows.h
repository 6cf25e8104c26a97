// The new and full moons (朔 and 望) of Gregorian 1900 … 2100 in Beijing
// time (UTC+8, as the solar terms), to the minute.
#pragma once

#include <vector>

namespace tablegen {

// One phase: the civil day (UTC+8) of its instant, and the minute of that
// day, rounded to the nearest but kept within the day (an instant in the last
// half minute gives 23:59, not 00:00 of the next day, so that the day stays
// the one the instant falls on).
struct PhaseRecord {
    bool isNewMoon;
    int year, month, day;
    int minuteOfDay;  // 0 … 1439
};

PhaseRecord PhaseRecordOf(double jdTT, bool isNewMoon);

// Every phase from the first new moon on or after firstYear-01-01 to the
// last phase on or before lastYear-12-31, in order: new, full, new, ….
std::vector<PhaseRecord> ComputeMoonPhases(int firstYear, int lastYear);

}  // namespace tablegen
