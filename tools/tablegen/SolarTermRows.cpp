#include "tools/tablegen/SolarTermRows.h"

#include "tools/tablegen/Astronomy.h"
#include "tools/tablegen/ChineseCalendar.h"

#include <cmath>

namespace tablegen {
namespace {

constexpr double kBeijingStandardTime = 8.0;

struct SampleYear {
    int year;
    std::array<TermRecord, 24> terms;
};

constexpr SampleYear kSampleYears[] = {
    {1900, {{{6, 2, 4}, {20, 19, 32}, {4, 13, 52}, {19, 10, 1}, {6, 8, 22}, {21, 9, 39},
             {5, 13, 53}, {20, 21, 27}, {6, 7, 55}, {21, 21, 17}, {6, 12, 39}, {22, 5, 40},
             {7, 23, 10}, {23, 16, 36}, {8, 8, 51}, {23, 23, 20}, {8, 11, 17}, {23, 20, 20},
             {9, 2, 13}, {24, 4, 55}, {8, 4, 40}, {23, 1, 48}, {7, 20, 56}, {22, 14, 42}}}},
    {2024, {{{6, 4, 49}, {20, 22, 7}, {4, 16, 27}, {19, 12, 13}, {5, 10, 23}, {20, 11, 6},
             {4, 15, 2}, {19, 21, 60}, {5, 8, 10}, {20, 20, 59}, {5, 12, 10}, {21, 4, 51},
             {6, 22, 20}, {22, 15, 44}, {7, 8, 9}, {22, 22, 55}, {7, 11, 11}, {22, 20, 43},
             {8, 2, 60}, {23, 6, 14}, {7, 6, 20}, {22, 3, 56}, {6, 23, 17}, {21, 17, 20}}}},
    {2060, {{{5, 22, 33}, {20, 15, 58}, {4, 10, 8}, {19, 5, 57}, {5, 3, 53}, {20, 4, 38},
             {4, 8, 19}, {19, 15, 17}, {5, 1, 12}, {20, 14, 3}, {5, 5, 1}, {20, 21, 45},
             {6, 15, 7}, {22, 8, 35}, {7, 0, 58}, {22, 15, 49}, {7, 4, 10}, {22, 13, 48},
             {7, 20, 13}, {22, 23, 33}, {6, 23, 48}, {21, 21, 28}, {6, 16, 57}, {21, 11, 1}}}},
};

}  // namespace

YearOfTerms ComputeSolarTerms(int year) {
    YearOfTerms terms{};
    for (int k = 0; k < 24; ++k) {
        double longitude = std::fmod(285.0 + 15.0 * k, 360.0);
        // 小寒 begins near January 5; the terms follow about 15.2 days apart.
        double guessUT = DayNumberOf(year, 1, 5) + 15.2184 * k;
        double instantUT = UniversalFromTerrestrial(SolarLongitudeInstant(longitude, TerrestrialFromUniversal(guessUT)));
        LocalTime local = LocalTimeOf(instantUT, kBeijingStandardTime);
        int hour = int(local.hours);
        terms[k] = {local.month, local.day, hour, (local.hours - hour) * 60.0};
    }
    return terms;
}

TermRecord Rounded(const TermInstant& term) {
    return {term.day, term.hour, int(std::lround(term.minutes))};
}

std::optional<std::array<TermRecord, 24>> SampleRow(int year) {
    for (const auto& sample : kSampleYears)
        if (sample.year == year) return sample.terms;
    return std::nullopt;
}

}  // namespace tablegen
