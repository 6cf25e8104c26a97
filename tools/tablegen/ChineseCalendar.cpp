#include "tools/tablegen/ChineseCalendar.h"

#include "engine/GregorianCalendar.h"
#include "tools/tablegen/Astronomy.h"

#include <erfa.h>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace tablegen {
namespace {

constexpr double kMeanLunation = 29.530588853;
constexpr double kReferenceNewMoonTT = 2451550.26;  // 2000-01-06 18:14 TT
constexpr double kMeanTropicalYear = 365.2422;

// Where the published calendar begins a month on another day than the
// computation: new moons within minutes of midnight, which the computation
// of the time (1906) or any ephemeris of this precision (2057) cannot place.
struct FirstDayCorrection {
    int year, month, computedDay, publishedDay;
};
constexpr FirstDayCorrection kPublishedFirstDays[] = {
    // The new moon came at 23:52 Beijing mean solar time on April 23 (00:07
    // UTC+8 on the 24th); the calendar of the year begins its 4th month on
    // April 24.
    {1906, 4, 23, 24},
    // The new moon comes within a minute of midnight; the Hong Kong
    // Observatory's table begins the 9th month on September 28.
    {2057, 9, 29, 28},
};

// The day on which an instant falls in China's civil time.
DayNumber CivilDayOf(double jdTT) {
    double jdUT = UniversalFromTerrestrial(jdTT);
    LocalTime local = LocalTimeOf(jdUT, BeijingZoneHours(jdUT));
    return DayNumberOf(local.year, local.month, local.day);
}

DayNumber CorrectedFirstDay(DayNumber computed, Corrections corrections) {
    if (corrections == Corrections::None) return computed;
    for (const auto& c : kPublishedFirstDays)
        if (computed == DayNumberOf(c.year, c.month, c.computedDay)) return DayNumberOf(c.year, c.month, c.publishedDay);
    return computed;
}

// Days of the new moons from before `fromDay` to after `toDay`.
std::vector<DayNumber> NewMoonDays(DayNumber fromDay, DayNumber toDay, Corrections corrections) {
    std::vector<DayNumber> days;
    long k = long(std::floor((fromDay - kReferenceNewMoonTT) / kMeanLunation)) - 1;
    for (;; ++k) {
        double instant = NewMoonInstant(kReferenceNewMoonTT + k * kMeanLunation);
        DayNumber day = CorrectedFirstDay(CivilDayOf(instant), corrections);
        days.push_back(day);
        if (day > toDay) return days;
    }
}

// The day of the principal term of the given longitude (a multiple of 30°)
// that falls in Gregorian year `year`; 270° is the winter solstice.
DayNumber PrincipalTermDay(int year, int longitude) {
    // The spring equinox (0°) comes near March 20; each 30° takes a month.
    double march20 = DayNumberOf(year, 3, 20) - 0.5;
    double guessUT = march20 + longitude / 360.0 * kMeanTropicalYear;
    return CivilDayOf(SolarLongitudeInstant(longitude, TerrestrialFromUniversal(guessUT)));
}

}  // namespace

// The engine's serial day number (0001-01-01 is day 1) shifted to the
// Julian Day Number, whose day 1 721 426 is 0001-01-01 of the Gregorian
// calendar, so that both count the same days.
constexpr DayNumber kJulianDayOfSerialDayZero = 1721425;
static_assert(almanac::SerialDay(2000, 1, 1) + kJulianDayOfSerialDayZero == 2451545);  // J2000.0's day

DayNumber DayNumberOf(int year, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > almanac::GregorianMonthLength(year, month))
        throw std::invalid_argument("bad date");
    return almanac::SerialDay(year, month, day) + kJulianDayOfSerialDayZero;
}

LocalTime LocalTimeOf(double jdUT, double zoneHours) {
    LocalTime t{};
    double dayFraction;
    eraJd2cal(jdUT, zoneHours / 24.0, &t.year, &t.month, &t.day, &dayFraction);
    t.hours = dayFraction * 24.0;
    return t;
}

double BeijingZoneHours(double jdUT) {
    static const double standardTimeFrom = DayNumberOf(1929, 1, 1) - 0.5 - 8.0 / 24.0;
    return jdUT < standardTimeFrom ? 7.0 + 45.0 / 60.0 + 40.0 / 3600.0 : 8.0;
}

std::vector<LunarMonth> ComputeLunarMonths(int firstYear, int lastYear, Corrections corrections) {
    std::vector<DayNumber> principalDays;
    std::vector<DayNumber> solstices;  // of firstYear … lastYear + 1
    for (int year = firstYear; year <= lastYear + 1; ++year) {
        for (int longitude = 0; longitude < 360; longitude += 30) principalDays.push_back(PrincipalTermDay(year, longitude));
        solstices.push_back(PrincipalTermDay(year, 270));
    }
    std::vector<DayNumber> newMoons = NewMoonDays(solstices.front() - 40, solstices.back() + 40, corrections);

    // The month of the winter solstice is month 11: the last new moon on or
    // before the solstice's day begins it.
    auto monthOfDay = [&](DayNumber day) {
        size_t i = 0;
        while (newMoons[i + 1] <= day) ++i;
        return i;
    };
    auto holdsPrincipalTerm = [&](size_t month) {
        for (DayNumber d : principalDays)
            if (newMoons[month] <= d && d < newMoons[month + 1]) return true;
        return false;
    };

    std::vector<LunarMonth> months;
    for (size_t y = 0; y + 1 < solstices.size(); ++y) {
        size_t from = monthOfDay(solstices[y]);
        size_t to = monthOfDay(solstices[y + 1]);
        // Thirteen months from one 11th month to the next: the first of them
        // without a principal term repeats the number before it.
        size_t leap = SIZE_MAX;
        if (to - from == 13)
            for (leap = from; holdsPrincipalTerm(leap);) ++leap;
        int number = 11;
        for (size_t m = from; m < to; ++m) {
            bool isLeap = m == leap;
            if (m != from && !isLeap) number = number % 12 + 1;
            months.push_back({newMoons[m], number, isLeap});
        }
    }
    months.push_back({newMoons[monthOfDay(solstices.back())], 11, false});
    return months;
}

std::uint32_t LunarYearEntry(const std::vector<LunarMonth>& months, int year) {
    DayNumber january1 = DayNumberOf(year, 1, 1);
    size_t first = 0;
    while (!(months[first].number == 1 && !months[first].isLeap && months[first].firstDay >= january1)) ++first;

    std::uint32_t entry = 0;
    for (size_t m = first; m + 1 < months.size(); ++m) {
        const LunarMonth& month = months[m];
        if (m != first && month.number == 1 && !month.isLeap) return entry;
        bool isLong = months[m + 1].firstDay - month.firstDay == 30;
        if (month.isLeap) {
            entry |= std::uint32_t(month.number);
            if (isLong) entry |= 0x10000;
        } else if (isLong) {
            entry |= 0x10000u >> month.number;
        }
    }
    throw std::out_of_range("lunar year runs past the computed months");
}

std::vector<std::uint32_t> ComputeLunarYearTable(int firstYear, int lastYear, Corrections corrections) {
    // Lunar year Y runs from the 1st month after the solstice of Y − 1 to the
    // 1st month after the solstice of Y, and its leap month may lie in the
    // 13-month stretch from the solstice of Y to that of Y + 1.
    std::vector<LunarMonth> months = ComputeLunarMonths(firstYear - 1, lastYear, corrections);
    std::vector<std::uint32_t> table;
    for (int year = firstYear; year <= lastYear; ++year) table.push_back(LunarYearEntry(months, year));
    return table;
}

namespace {

// The civil day of an instant and its distance from the nearer midnight:
// negative when the midnight that ends the day is nearer.
NearMidnight PlaceOf(double jdTT, NearMidnight::Kind kind, int termIndex) {
    double jdUT = UniversalFromTerrestrial(jdTT);
    LocalTime local = LocalTimeOf(jdUT, BeijingZoneHours(jdUT));
    double seconds = local.hours * 3600.0;
    if (seconds > 43200.0) seconds -= 86400.0;
    return {kind, local.year, local.month, local.day, seconds, termIndex};
}

}  // namespace

std::vector<NearMidnight> InstantsNearMidnight(int firstYear, int lastYear, double seconds) {
    std::vector<NearMidnight> found;
    const DayNumber first = DayNumberOf(firstYear, 1, 1), last = DayNumberOf(lastYear, 12, 31);
    long k = long(std::floor((first - kReferenceNewMoonTT) / kMeanLunation)) - 1;
    for (;; ++k) {
        double instant = NewMoonInstant(kReferenceNewMoonTT + k * kMeanLunation);
        NearMidnight place = PlaceOf(instant, NearMidnight::NewMoon, -1);
        DayNumber day = DayNumberOf(place.year, place.month, place.day);
        if (day > last) break;
        if (day >= first && std::fabs(place.secondsFromMidnight) < seconds) found.push_back(place);
    }
    for (int year = firstYear; year <= lastYear; ++year) {
        for (int index = 0; index < 24; ++index) {
            double longitude = std::fmod(285.0 + 15.0 * index, 360.0);
            double guessUT = DayNumberOf(year, 1, 5) + 15.2184 * index;
            NearMidnight place =
                PlaceOf(SolarLongitudeInstant(longitude, TerrestrialFromUniversal(guessUT)), NearMidnight::SolarTerm, index);
            if (std::fabs(place.secondsFromMidnight) < seconds) found.push_back(place);
        }
    }
    return found;
}

}  // namespace tablegen
