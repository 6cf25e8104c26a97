// Apparent solar and lunar longitudes, ΔT, and the instants of solar terms
// and new moons, computed with ERFA (IAU 2006/2000A precession-nutation,
// VSOP87-based Earth ephemeris, truncated ELP2000-82 Moon).
#pragma once

namespace tablegen {

// Instants are Julian dates. "TT" ones are Terrestrial Time, "UT" ones
// Universal Time; the two differ by ΔT.

// ΔT = TT − UT in seconds at the given Universal Time.
double DeltaTSeconds(double jdUT);

double UniversalFromTerrestrial(double jdTT);
double TerrestrialFromUniversal(double jdUT);

// Apparent geocentric ecliptic longitude, referred to the true equinox and
// ecliptic of date, in degrees 0 ≤ λ < 360.
double ApparentSolarLongitude(double jdTT);
double ApparentLunarLongitude(double jdTT);

// The instant (TT) when the Sun's apparent longitude reaches
// targetDegrees, searched from a guess within a few days of it.
double SolarLongitudeInstant(double targetDegrees, double guessTT);

// The instant (TT) of the new moon nearest to the guess (within ten days).
double NewMoonInstant(double guessTT);

// The instant (TT) of the full moon (the Moon 180° from the Sun in
// longitude) nearest to the guess (within ten days).
double FullMoonInstant(double guessTT);

}  // namespace tablegen
