// tablegen: writes the engine's generated tables as C++ source to stdout.
//
//   tablegen solar-terms   the solar term table, Gregorian 1900 to 2100
//   tablegen lunar-years   the lunar year table, lunar years 1900 to 2100
//   tablegen moon-phases   the new and full moons, Gregorian 1900 to 2100
//   tablegen near-midnight FROM TO SECONDS
//                          the month beginnings and solar terms of the years
//                          FROM … TO that lie within SECONDS of midnight
//
// `cmake --build build/native --target regenerate-tables` runs the three and
// writes engine/SolarTermTable.inc, engine/LunarYearTable.inc and
// engine/MoonPhaseTable.inc.
#include "tools/tablegen/ChineseCalendar.h"
#include "tools/tablegen/MoonPhaseRows.h"
#include "tools/tablegen/SolarTermRows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

using namespace tablegen;

constexpr int kFirstTermYear = 1900, kLastTermYear = 2100;
constexpr int kFirstLunarYear = 1900, kLastLunarYear = 2100;
constexpr int kFirstPhaseYear = 1900, kLastPhaseYear = 2100;

void PrintSolarTermTable() {
    std::printf("// Made by `tablegen solar-terms` (tools/tablegen); do not edit.\n"
                "// The beginning of every solar term, Gregorian %d to %d, in Beijing time\n"
                "// (UTC+8): per year twelve months, January first, each with the day,\n"
                "// hour and minute of its first and of its second term. Computed with\n"
                "// ERFA; the rows of 1900, 2024 and 2060 are the published samples.\n",
                kFirstTermYear, kLastTermYear);
    for (int year = kFirstTermYear; year <= kLastTermYear; ++year) {
        std::array<TermRecord, 24> row;
        if (auto sample = SampleRow(year)) {
            row = *sample;
        } else {
            YearOfTerms terms = ComputeSolarTerms(year);
            for (int k = 0; k < 24; ++k) row[k] = Rounded(terms[k]);
        }
        for (int half = 0; half < 2; ++half) {
            std::printf(half == 0 ? "/* %d */" : "          ", year);
            for (int k = half * 12; k < half * 12 + 12; ++k)
                std::printf(" %d,%d,%d,", row[k].day, row[k].hour, row[k].minute);
            std::printf("\n");
        }
    }
}

void PrintLunarYearTable() {
    std::printf("// Made by `tablegen lunar-years` (tools/tablegen); do not edit.\n"
                "// Lunar years %d to %d computed from new moons and principal terms in\n"
                "// China's civil time (Beijing mean solar time before 1929, UTC+8 from\n"
                "// then), with the published month beginnings of 1906 and 2057.\n",
                kFirstLunarYear, kLastLunarYear);
    std::vector<std::uint32_t> table = ComputeLunarYearTable(kFirstLunarYear, kLastLunarYear, Corrections::Published);
    for (size_t i = 0; i < table.size(); ++i) {
        if (i % 10 == 0) std::printf("/* %zu */", kFirstLunarYear + i);
        std::printf(" 0x%05X,", table[i]);
        if (i % 10 == 9 || i + 1 == table.size()) std::printf("\n");
    }
}

void PrintMoonPhaseTable() {
    std::printf("// Made by `tablegen moon-phases` (tools/tablegen); do not edit.\n"
                "// The new and full moons, Gregorian %d to %d, in Beijing time\n"
                "// (UTC+8, as the solar terms): each the minutes from %d-01-01 00:00 to\n"
                "// the phase, rounded to the nearest minute within its day. The first is\n"
                "// a new moon; new and full moons alternate. Computed with ERFA; one row\n"
                "// per Gregorian year.\n",
                kFirstPhaseYear, kLastPhaseYear, kFirstPhaseYear);
    const DayNumber epoch = DayNumberOf(kFirstPhaseYear, 1, 1);
    int rowYear = 0;
    for (const PhaseRecord& phase : ComputeMoonPhases(kFirstPhaseYear, kLastPhaseYear)) {
        if (phase.year != rowYear) {
            if (rowYear != 0) std::printf("\n");
            std::printf("/* %d */", phase.year);
            rowYear = phase.year;
        }
        long minutes = (DayNumberOf(phase.year, phase.month, phase.day) - epoch) * 1440L + phase.minuteOfDay;
        std::printf(" %ld,", minutes);
    }
    std::printf("\n");
}

constexpr const char* kTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

// One line per instant: the civil day, what it is, and how far from midnight
// (a day after "-" is the one a later instant would fall on).
void PrintNearMidnight(int firstYear, int lastYear, double seconds) {
    for (const NearMidnight& near : InstantsNearMidnight(firstYear, lastYear, seconds)) {
        const char* what = near.kind == NearMidnight::NewMoon ? "new moon" : kTermNames[near.termIndex];
        std::printf("%04d-%02d-%02d\t%s\t%+.1f s\n", near.year, near.month, near.day, what, near.secondsFromMidnight);
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "near-midnight") == 0) {
        PrintNearMidnight(std::atoi(argv[2]), std::atoi(argv[3]), std::atof(argv[4]));
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "solar-terms") == 0) {
        PrintSolarTermTable();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "lunar-years") == 0) {
        PrintLunarYearTable();
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "moon-phases") == 0) {
        PrintMoonPhaseTable();
        return 0;
    }
    std::fprintf(stderr, "usage: tablegen solar-terms | lunar-years | moon-phases | near-midnight FROM TO SECONDS\n");
    return 2;
}
