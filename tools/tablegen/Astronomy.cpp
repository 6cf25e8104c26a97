#include "tools/tablegen/Astronomy.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <iterator>

namespace tablegen {
namespace {

// ΔT at the start of each year 1900 … 2026, in seconds: the observed values
// of the Astronomical Almanac's table (to 1955 from the occultation record,
// from 1956 from atomic time; since 1972 ΔT = 32.184 s + (TAI − UTC) −
// (UT1 − UTC) from IERS bulletins). Observed ΔT has stayed near 69 s since
// 2017 as the Earth's rotation sped up.
constexpr int kFirstObservedYear = 1900;
constexpr double kObservedDeltaT[] = {
    -2.72, -1.54, -0.02, 1.24,  2.64,  3.86,  5.37,  6.14,  7.75,  9.13,   // 1900
    10.46, 11.53, 13.36, 14.65, 16.01, 17.20, 18.24, 19.06, 20.25, 20.95,  // 1910
    21.16, 22.25, 22.41, 23.03, 23.49, 23.62, 23.86, 24.49, 24.34, 24.08,  // 1920
    24.02, 24.00, 23.87, 23.95, 23.86, 23.93, 23.73, 23.92, 23.96, 24.02,  // 1930
    24.33, 24.83, 25.30, 25.70, 26.24, 26.77, 27.28, 27.78, 28.25, 28.71,  // 1940
    29.15, 29.57, 29.97, 30.36, 30.72, 31.07, 31.35, 31.68, 32.18, 32.68,  // 1950
    33.15, 33.59, 34.00, 34.47, 35.03, 35.73, 36.54, 37.43, 38.29, 39.20,  // 1960
    40.18, 41.17, 42.23, 43.37, 44.49, 45.48, 46.46, 47.52, 48.53, 49.59,  // 1970
    50.54, 51.38, 52.17, 52.96, 53.79, 54.34, 54.87, 55.32, 55.82, 56.30,  // 1980
    56.86, 57.57, 58.31, 59.12, 59.98, 60.78, 61.63, 62.29, 62.97, 63.47,  // 1990
    63.83, 64.09, 64.30, 64.47, 64.57, 64.69, 64.85, 65.15, 65.46, 65.78,  // 2000
    66.07, 66.32, 66.60, 66.91, 67.28, 67.64, 68.10, 68.59, 68.97, 69.22,  // 2010
    69.36, 69.36, 69.29, 69.20, 69.18, 69.15, 69.10,                       // 2020
};
constexpr int kLastObservedYear = kFirstObservedYear + int(std::size(kObservedDeltaT)) - 1;

// After the last observation: the present value held, bending upward with
// the long-term tidal acceleration of the parabola of Stephenson, Morrison
// and Hohenkerk (2016), 32.5 s per century squared. It gives about 73 s in
// 2060; published predictions for then spread over a minute or more.
constexpr double kTidalSecondsPerCenturySquared = 32.5;

double DecimalYear(double jd) { return 2000.0 + (jd - 2451544.5) / 365.2425; }

double Wrap180(double degrees) {
    double d = std::fmod(degrees, 360.0);
    if (d >= 180.0) d -= 360.0;
    if (d < -180.0) d += 360.0;
    return d;
}

double Wrap360(double degrees) {
    double d = std::fmod(degrees, 360.0);
    return d < 0 ? d + 360.0 : d;
}

// Ecliptic longitude of date of a GCRS direction: rotate to the true equator
// and equinox of date, then about the equinox onto the true ecliptic.
double EclipticLongitudeOfDate(double jdTT, double gcrs[3]) {
    const double t1 = ERFA_DJ00, t2 = jdTT - ERFA_DJ00;
    double npb[3][3];
    eraPnm06a(t1, t2, npb);
    double dpsi, deps;
    eraNut06a(t1, t2, &dpsi, &deps);
    double trueObliquity = eraObl06(t1, t2) + deps;

    double equatorial[3];
    eraRxp(npb, gcrs, equatorial);
    double toEcliptic[3][3];
    eraIr(toEcliptic);
    eraRx(trueObliquity, toEcliptic);
    double ecliptic[3];
    eraRxp(toEcliptic, equatorial, ecliptic);
    return Wrap360(std::atan2(ecliptic[1], ecliptic[0]) * ERFA_DR2D);
}

// Newton's method on a longitude difference, with the rate measured from the
// last two steps; the functions are smooth and the guesses close.
template <typename Difference>
double SolveForZero(Difference difference, double guess, double ratePerDay) {
    double t = guess;
    double f = difference(t);
    for (int i = 0; i < 50; ++i) {
        double step = -f / ratePerDay;
        double next = t + step;
        double fNext = difference(next);
        if (std::fabs(step) < 1e-8) return next;  // under a millisecond
        if (fNext != f) ratePerDay = (fNext - f) / step;
        t = next;
        f = fNext;
    }
    return t;
}

}  // namespace

double DeltaTSeconds(double jdUT) {
    double year = DecimalYear(jdUT);
    if (year <= kFirstObservedYear) return kObservedDeltaT[0];
    if (year >= kLastObservedYear) {
        double centuries = (year - kLastObservedYear) / 100.0;
        return kObservedDeltaT[std::size(kObservedDeltaT) - 1] +
               kTidalSecondsPerCenturySquared * centuries * centuries;
    }
    int index = int(year) - kFirstObservedYear;
    double fraction = year - int(year);
    return kObservedDeltaT[index] + fraction * (kObservedDeltaT[index + 1] - kObservedDeltaT[index]);
}

double TerrestrialFromUniversal(double jdUT) { return jdUT + DeltaTSeconds(jdUT) / ERFA_DAYSEC; }

double UniversalFromTerrestrial(double jdTT) {
    // ΔT changes by well under a second a day, so one correction suffices.
    double jdUT = jdTT - DeltaTSeconds(jdTT) / ERFA_DAYSEC;
    return jdTT - DeltaTSeconds(jdUT) / ERFA_DAYSEC;
}

double ApparentSolarLongitude(double jdTT) {
    const double t1 = ERFA_DJ00, t2 = jdTT - ERFA_DJ00;
    double heliocentric[2][3], barycentric[2][3];
    eraEpv00(t1, t2, heliocentric, barycentric);

    // Geometric direction Earth → Sun. The Sun's own motion during the
    // 8.3 minutes of light time moves it by about 0.01″, which is ignored.
    double toSun[3] = {-heliocentric[0][0], -heliocentric[0][1], -heliocentric[0][2]};
    double distance, direction[3];
    eraPn(toSun, &distance, direction);

    // Annual aberration from the Earth's barycentric velocity, in units of c.
    double velocity[3];
    for (int i = 0; i < 3; ++i) velocity[i] = barycentric[1][i] * ERFA_AULT / ERFA_DAYSEC;
    double inverseLorentz = std::sqrt(1.0 - eraPdp(velocity, velocity));
    double apparent[3];
    eraAb(direction, velocity, distance, inverseLorentz, apparent);

    return EclipticLongitudeOfDate(jdTT, apparent);
}

double ApparentLunarLongitude(double jdTT) {
    const double t1 = ERFA_DJ00, t2 = jdTT - ERFA_DJ00;
    double moon[2][3];
    eraMoon98(t1, t2, moon);
    // The Moon travels with the Earth: annual aberration does not apply, and
    // its 1.3 s of light time shifts it by under 1″.
    return EclipticLongitudeOfDate(jdTT, moon[0]);
}

double SolarLongitudeInstant(double targetDegrees, double guessTT) {
    auto difference = [targetDegrees](double t) { return Wrap180(ApparentSolarLongitude(t) - targetDegrees); };
    return SolveForZero(difference, guessTT, 360.0 / 365.2422);
}

double NewMoonInstant(double guessTT) {
    auto elongation = [](double t) { return Wrap180(ApparentLunarLongitude(t) - ApparentSolarLongitude(t)); };
    return SolveForZero(elongation, guessTT, 360.0 / 29.530589);
}

double FullMoonInstant(double guessTT) {
    auto fromOpposition = [](double t) {
        return Wrap180(ApparentLunarLongitude(t) - ApparentSolarLongitude(t) - 180.0);
    };
    return SolveForZero(fromOpposition, guessTT, 360.0 / 29.530589);
}

}  // namespace tablegen
