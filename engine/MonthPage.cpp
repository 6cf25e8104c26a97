#include "MonthPage.h"

#include "CalendarNames.h"
#include "SolarTerms.h"

#include <cstdio>

namespace almanac {

int MonthPage::ShowMonth(int year, int month, int day) {
    shownYear = year;
    shownMonth = month;
    daysInMonth = GregorianMonthLength(year, month);
    int marked = day < daysInMonth ? day : daysInMonth;
    if (marked != 0) {
        markedYear = year;
        markedMonth = month;
        markedDay = marked;
    }

    LunarDate lunar = LunarDate::FromGregorian(year, month, 1);
    for (int d = 1; d <= daysInMonth; ++d) {
        DayCell& cell = cells[d];
        cell.weekday = DayOfWeek(year, month, d);
        cell.lunar = lunar;
        lunar.NextDay();
        cell.termMarker = 0;
        cell.festival = LunarFestivalName(cell.lunar);
        if (!cell.festival) cell.festival = GregorianHolidayName(month, d);
        cell.isMonthName = false;
    }

    SolarTermRecord first, second;
    SolarTermDays(year, month, first, second);
    cells[first.day].termMarker = 1;
    cells[second.day].termMarker = 2;

    LoadNotes();
    for (int d = 1; d <= daysInMonth; ++d) FillLunarText(cells[d], month);
    return 1;
}

void MonthPage::LoadNotes() {
    int firstLunarMonth = cells[1].lunar.month;
    int lastLunarMonth = cells[daysInMonth].lunar.month;
    oneOffNotes.LoadMonth(shownYear, shownMonth);
    gregorianYearlyNotes.LoadMonth(1, shownMonth);
    lunarNotesFirst.LoadMonth(0, firstLunarMonth);
    lunarNotesLast.LoadMonth(0, lastLunarMonth);
    weeklyNotes.LoadWeek();

    // A month can touch three lunar months (July 2000: 5, 6 and 7); the one
    // between gets its own table, so its days' notes are its own.
    int middleLunarMonth = 0;
    for (int d = 1; d <= daysInMonth; ++d) {
        int m = cells[d].lunar.month;
        if (m != firstLunarMonth && m != lastLunarMonth) middleLunarMonth = m;
    }
    if (middleLunarMonth)
        lunarNotesMiddle.LoadMonth(0, middleLunarMonth);
    else
        lunarNotesMiddle.Bind(NoteTable::MONTH_MAX_INDEX, {});
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
    int firstYear = cells[1].lunar.year;
    int lastYear = cells[daysInMonth].lunar.year;
    std::string caption = yearName(firstYear);
    if (lastYear != firstYear) caption += "－" + yearName(lastYear);
    return caption;
}

NoteTable& MonthPage::LunarNotesOf(int day) {
    int month = day >= 1 && day <= daysInMonth ? cells[day].lunar.month : 0;
    if (month == cells[1].lunar.month) return lunarNotesFirst;
    if (month == cells[daysInMonth].lunar.month) return lunarNotesLast;
    return lunarNotesMiddle;
}

std::string MonthPage::ComposeDayNotes(int day) const {
    if (day < 1 || day > daysInMonth) return {};
    std::string notes;
    for (const NoteSlot* slot : {&weeklyNotes.Slot(cells[day].weekday), &oneOffNotes.Slot(day),
                                 &gregorianYearlyNotes.Slot(day), &LunarNoteSlot(day)}) {
        if (slot->Length() == 0) continue;
        if (!notes.empty()) notes += "\r\n";
        notes += *slot->text;
    }
    return notes;
}

namespace {

// Leading blanks (spaces only) go; trailing ones stay.
std::string_view WithoutLeadingBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

}  // namespace

MonthPage::DayNoteResults MonthPage::SaveDayNotes(int day, std::string_view oneOff, std::uint32_t oneOffColour,
                                                  std::string_view gregorianYearly, std::uint32_t gregorianColour,
                                                  std::string_view lunarYearly, std::uint32_t lunarColour) {
    if (day < 1 || day > daysInMonth) return {NOTE_BAD_SLOT, NOTE_BAD_SLOT, NOTE_BAD_SLOT};
    DayNoteResults results;
    results.oneOff = oneOffNotes.SetAndSave(day, WithoutLeadingBlanks(oneOff), oneOffColour);
    results.gregorianYearly = gregorianYearlyNotes.SetAndSave(day, WithoutLeadingBlanks(gregorianYearly), gregorianColour);
    results.lunarYearly =
        LunarNotesOf(day).SetAndSave(cells[day].lunar.day, WithoutLeadingBlanks(lunarYearly), lunarColour);
    return results;
}

int MonthPage::SaveWeekdayNote(int weekday, std::string_view text, std::uint32_t colour) {
    return weeklyNotes.SetAndSave(weekday, WithoutLeadingBlanks(text), colour);
}

const NoteSlot& MonthPage::LunarNoteSlot(int day) const {
    if (day < 1 || day > daysInMonth) return lunarNotesFirst.Slot(-1);  // the empty slot
    return const_cast<MonthPage*>(this)->LunarNotesOf(day).Slot(cells[day].lunar.day);
}

}  // namespace almanac
