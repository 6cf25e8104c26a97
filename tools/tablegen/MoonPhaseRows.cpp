#include "tools/tablegen/MoonPhaseRows.h"

#include "tools/tablegen/Astronomy.h"
#include "tools/tablegen/ChineseCalendar.h"

#include <cmath>
#include <stdexcept>

namespace tablegen {
namespace {

constexpr double kMeanLunation = 29.530588853;
constexpr double kReferenceNewMoonTT = 2451550.26;  // 2000-01-06 18:14 TT
constexpr double kBeijingStandardTime = 8.0;

}  // namespace

PhaseRecord PhaseRecordOf(double jdTT, bool isNewMoon) {
    LocalTime local = LocalTimeOf(UniversalFromTerrestrial(jdTT), kBeijingStandardTime);
    int minute = int(std::lround(local.hours * 60.0));
    if (minute > 1439) minute = 1439;  // the last half minute of the day stays on it
    return {isNewMoon, local.year, local.month, local.day, minute};
}

std::vector<PhaseRecord> ComputeMoonPhases(int firstYear, int lastYear) {
    const DayNumber first = DayNumberOf(firstYear, 1, 1), last = DayNumberOf(lastYear, 12, 31);
    std::vector<PhaseRecord> phases;
    long k = long(std::floor((first - kReferenceNewMoonTT) / kMeanLunation)) - 1;
    for (;; ++k) {
        const double meanNewMoon = kReferenceNewMoonTT + k * kMeanLunation;
        for (bool isNewMoon : {true, false}) {
            const double instant = isNewMoon ? NewMoonInstant(meanNewMoon) : FullMoonInstant(meanNewMoon + kMeanLunation / 2);
            PhaseRecord phase = PhaseRecordOf(instant, isNewMoon);
            DayNumber day = DayNumberOf(phase.year, phase.month, phase.day);
            if (day > last) return phases;
            if (day < first || (phases.empty() && !isNewMoon)) continue;
            if (!phases.empty() && day <= DayNumberOf(phases.back().year, phases.back().month, phases.back().day))
                throw std::logic_error("moon phases out of order");
            phases.push_back(phase);
        }
    }
}

}  // namespace tablegen
