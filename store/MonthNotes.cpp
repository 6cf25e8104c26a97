#include "store/MonthNotes.h"

namespace almanac {

void MonthNotes::Load(const MonthPage& page) {
    daysInMonth_ = page.daysInMonth;
    for (int d = 1; d <= daysInMonth_; ++d)
        days_[d] = {page.cells[d].weekday, page.cells[d].lunar.month, page.cells[d].lunar.day};

    int firstLunarMonth = days_[1].lunarMonth;
    int lastLunarMonth = days_[daysInMonth_].lunarMonth;
    oneOffNotes.LoadMonth(page.shownYear, page.shownMonth);
    gregorianYearlyNotes.LoadMonth(1, page.shownMonth);
    lunarNotesFirst.LoadMonth(0, firstLunarMonth);
    lunarNotesLast.LoadMonth(0, lastLunarMonth);
    weeklyNotes.LoadWeek();

    // A month can touch three lunar months (July 2000: 5, 6 and 7); the one
    // between gets its own table, so its days' notes are its own.
    int middleLunarMonth = 0;
    for (int d = 1; d <= daysInMonth_; ++d) {
        int m = days_[d].lunarMonth;
        if (m != firstLunarMonth && m != lastLunarMonth) middleLunarMonth = m;
    }
    if (middleLunarMonth)
        lunarNotesMiddle.LoadMonth(0, middleLunarMonth);
    else
        lunarNotesMiddle.Bind(NoteTable::MONTH_MAX_INDEX, {});
}

NoteTable& MonthNotes::LunarNotesOf(int day) {
    int month = HasDay(day) ? days_[day].lunarMonth : 0;
    if (month == days_[1].lunarMonth) return lunarNotesFirst;
    if (month == days_[daysInMonth_].lunarMonth) return lunarNotesLast;
    return lunarNotesMiddle;
}

const NoteSlot& MonthNotes::LunarNoteSlot(int day) const {
    if (!HasDay(day)) return lunarNotesFirst.Slot(-1);  // the empty slot
    return const_cast<MonthNotes*>(this)->LunarNotesOf(day).Slot(days_[day].lunarDay);
}

std::string MonthNotes::ComposeDayNotes(int day) const {
    if (!HasDay(day)) return {};
    std::string notes;
    for (const NoteSlot* slot : {&weeklyNotes.Slot(days_[day].weekday), &oneOffNotes.Slot(day),
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

MonthNotes::DayNoteResults MonthNotes::SaveDayNotes(int day, std::string_view oneOff, std::uint32_t oneOffColour,
                                                    std::string_view gregorianYearly, std::uint32_t gregorianColour,
                                                    std::string_view lunarYearly, std::uint32_t lunarColour) {
    if (!HasDay(day)) return {NOTE_BAD_SLOT, NOTE_BAD_SLOT, NOTE_BAD_SLOT};
    DayNoteResults results;
    results.oneOff = oneOffNotes.SetAndSave(day, WithoutLeadingBlanks(oneOff), oneOffColour);
    results.gregorianYearly = gregorianYearlyNotes.SetAndSave(day, WithoutLeadingBlanks(gregorianYearly), gregorianColour);
    results.lunarYearly = LunarNotesOf(day).SetAndSave(days_[day].lunarDay, WithoutLeadingBlanks(lunarYearly), lunarColour);
    return results;
}

int MonthNotes::SaveWeekdayNote(int weekday, std::string_view text, std::uint32_t colour) {
    return weeklyNotes.SetAndSave(weekday, WithoutLeadingBlanks(text), colour);
}

}  // namespace almanac
