// The beginning of each of the 24 solar terms of a Gregorian year in
// Beijing time (UTC+8), and the sample rows the calendar is pinned to.
#pragma once

#include <array>
#include <optional>

namespace tablegen {

// One term as computed: the Gregorian month and day, the hour, and the
// minutes past the hour before rounding.
struct TermInstant {
    int month, day, hour;
    double minutes;
};

// Twelve months, January first, two terms each: 小寒 (285°), 大寒 (300°) …
using YearOfTerms = std::array<TermInstant, 24>;
YearOfTerms ComputeSolarTerms(int year);

// A term as the table stores it: the minute rounded to the nearest, not
// carried into the hour, so 60 occurs.
struct TermRecord {
    int day, hour, minute;
};
TermRecord Rounded(const TermInstant& term);

// The published rows for 1900, 2024 and 2060; the table carries them as
// given, and the computation agrees with them to a minute or two.
std::optional<std::array<TermRecord, 24>> SampleRow(int year);

}  // namespace tablegen
