#include "engine/MonthPage.h"

#include "engine/CalendarNames.h"
#include "engine/SolarTerms.h"

#include <cstdio>

namespace almanac {

void MonthPage::Build(int year, int month, int day) {
    shownYear = year;
    shownMonth = month;
    daysInMonth = GregorianMonthLength(year, month);
    int marked = day < daysInMonth ? day : daysInMonth;
    if (marked != 0) {
        markedYear = year;
        markedMonth = month;
        markedDay = marked;
    }

    // A day the lunar year table does not cover has no lunar date (the empty
    // record), so it shows no lunar text; the walk starts again at the first
    // day that it covers.
    LunarDate lunar;
    for (int d = 1; d <= daysInMonth; ++d) {
        DayCell& cell = cells[d];
        cell.weekday = DayOfWeek(year, month, d);
        if (!HasLunarDate(year, month, d))
            lunar = LunarDate{};
        else if (lunar.year == 0)
            lunar = LunarDate::FromGregorian(year, month, d);
        cell.lunar = lunar;
        if (lunar.year != 0) lunar.NextDay();
        cell.termMarker = 0;
        cell.festival = cell.lunar.year != 0 ? LunarFestivalName(cell.lunar) : nullptr;
        if (!cell.festival) cell.festival = GregorianHolidayName(month, d);
        cell.isMonthName = false;
        cell.dayMark = holidays->MarkOf(year, month, d);
    }

    SolarTermRecord first, second;
    SolarTermDays(year, month, first, second);
    cells[first.day].termMarker = 1;
    cells[second.day].termMarker = 2;

    for (int d = 1; d <= daysInMonth; ++d) FillLunarText(cells[d], month);
}

// Festival, then solar term, then the name of a new lunar month, then the
// lunar day.
void MonthPage::FillLunarText(DayCell& cell, int month) {
    const LunarDate& lunar = cell.lunar;
    const int size = sizeof cell.lunarText;
    if (cell.festival) {
        std::snprintf(cell.lunarText, size, "%s", cell.festival);
    } else if (cell.termMarker) {
        std::snprintf(cell.lunarText, size, "%s", SolarTermName(month, cell.termMarker));
    } else if (lunar.day == 1) {
        std::snprintf(cell.lunarText, size, "%s月%s", LunarMonthName(lunar.month, lunar.isLeapMonth),
                      lunar.monthLength == 30 ? "大" : "小");
        cell.isMonthName = true;
    } else {
        std::snprintf(cell.lunarText, size, "%s", LunarDayName(lunar.day));
    }
}

std::string MonthPage::YearCaption() const {
    auto yearName = [](int lunarYear) {
        char text[32];
        std::snprintf(text, sizeof text, "%s【%s】年", StemBranchName(lunarYear - 1864), ZodiacName(lunarYear));
        return std::string(text);
    };
    // The lunar years of the first and last days that have a lunar date.
    int firstYear = 0, lastYear = 0;
    for (int d = 1; d <= daysInMonth; ++d) {
        if (cells[d].lunar.year == 0) continue;
        if (firstYear == 0) firstYear = cells[d].lunar.year;
        lastYear = cells[d].lunar.year;
    }
    if (firstYear == 0) return {};
    std::string caption = yearName(firstYear);
    if (lastYear != firstYear) caption += "－" + yearName(lastYear);
    return caption;
}

}  // namespace almanac
