#include "store/MonthNotes.h"

namespace almanac {

void MonthNotes::Load(const MonthPage& page) {
    daysInMonth_ = page.daysInMonth;
    for (int d = 1; d <= daysInMonth_; ++d)
        days_[d] = {page.cells[d].weekday, page.cells[d].lunar.month, page.cells[d].lunar.day,
                    page.cells[d].lunar.monthLength};

    int firstLunarMonth = days_[1].lunarMonth;
    int lastLunarMonth = days_[daysInMonth_].lunarMonth;
    oneOffNotes.LoadMonth(folder_, page.shownYear, page.shownMonth);
    gregorianYearlyNotes.LoadMonth(folder_, 1, page.shownMonth);
    lunarNotesFirst.LoadMonth(folder_, 0, firstLunarMonth);
    lunarNotesLast.LoadMonth(folder_, 0, lastLunarMonth);
    weeklyNotes.LoadWeek(folder_);

    // A month can touch three lunar months (July 2000: 5, 6 and 7); the one
    // between gets its own table, so its days' notes are its own.
    int middleLunarMonth = 0;
    for (int d = 1; d <= daysInMonth_; ++d) {
        int m = days_[d].lunarMonth;
        if (m != firstLunarMonth && m != lastLunarMonth) middleLunarMonth = m;
    }
    if (middleLunarMonth)
        lunarNotesMiddle.LoadMonth(folder_, 0, middleLunarMonth);
    else
        lunarNotesMiddle.Bind(NoteTable::MONTH_MAX_INDEX, {});

    for (NoteTable* table : {&oneOffNotes, &gregorianYearlyNotes, &lunarNotesFirst, &lunarNotesLast, &weeklyNotes,
                             &lunarNotesMiddle})
        table->KeepDamagedCopy();
}

std::array<const NoteTable*, 6> MonthNotes::Tables() const {
    return {&oneOffNotes, &gregorianYearlyNotes, &lunarNotesFirst, &lunarNotesLast, &weeklyNotes, &lunarNotesMiddle};
}

bool MonthNotes::KeepWhatWasRead(const MonthNotes& before) {
    const std::array<NoteTable*, 6> mine = {&oneOffNotes,    &gregorianYearlyNotes, &lunarNotesFirst,
                                            &lunarNotesLast, &weeklyNotes,          &lunarNotesMiddle};
    const auto theirs = before.Tables();
    bool kept = false;
    for (std::size_t i = 0; i < mine.size(); ++i) {
        const NoteTable& earlier = *theirs[i];
        if (mine[i]->FoundState() != NoteTable::LoadState::Unreadable || earlier.Path() != mine[i]->Path() ||
            earlier.FoundState() == NoteTable::LoadState::Unreadable)
            continue;
        *mine[i] = earlier;
        kept = true;
    }
    return kept;
}

bool MonthNotes::HoldsSameNotes(const MonthNotes& other) const {
    const auto mine = Tables(), theirs = other.Tables();
    for (std::size_t i = 0; i < mine.size(); ++i)
        if (!mine[i]->HoldsSameNotes(*theirs[i])) return false;
    return true;
}

const NoteTable& MonthNotes::LunarNotesOf(int day) const {
    int month = HasDay(day) ? days_[day].lunarMonth : 0;
    if (month == days_[1].lunarMonth) return lunarNotesFirst;
    if (month == days_[daysInMonth_].lunarMonth) return lunarNotesLast;
    return lunarNotesMiddle;
}

NoteTable& MonthNotes::LunarNotesOf(int day) {
    return const_cast<NoteTable&>(static_cast<const MonthNotes&>(*this).LunarNotesOf(day));
}

bool MonthNotes::StandsInForDay30(int day) const {
    return HasDay(day) && days_[day].lunarDay == 29 && days_[day].lunarMonthLength == 29;
}

int MonthNotes::LunarSlotIndex(int day) const {
    if (!HasDay(day)) return -1;
    const NoteTable& table = LunarNotesOf(day);
    if (StandsInForDay30(day) && !table.Slot(29).CarriesNote() && table.Slot(30).IsPresent()) return 30;
    return days_[day].lunarDay;
}

const NoteSlot& MonthNotes::LunarNoteSlot(int day) const {
    if (!HasDay(day)) return lunarNotesFirst.Slot(-1);  // the empty slot
    return LunarNotesOf(day).Slot(LunarSlotIndex(day));
}

std::array<const NoteSlot*, 5> MonthNotes::DaySlots(int day) const {
    // Day 29's own note and the month's day-30 note, when both are there.
    const NoteSlot& day30 = LunarSlotIndex(day) == 29 && StandsInForDay30(day)
                                ? LunarNotesOf(day).Slot(30)
                                : lunarNotesFirst.Slot(-1);
    return {&weeklyNotes.Slot(days_[day].weekday), &oneOffNotes.Slot(day), &gregorianYearlyNotes.Slot(day),
            &LunarNoteSlot(day), &day30};
}

std::string MonthNotes::ComposeDayNotes(int day) const {
    if (!HasDay(day)) return {};
    std::string notes;
    for (const NoteSlot* slot : DaySlots(day)) {
        if (slot->Length() == 0) continue;
        if (!notes.empty()) notes += "\r\n";
        notes += *slot->text;
    }
    return notes;
}

int MonthNotes::DayNoteCount(int day) const {
    if (!HasDay(day)) return 0;
    int count = 0;
    for (const NoteSlot* slot : DaySlots(day)) count += slot->Length() != 0;
    return count;
}

namespace {

// Leading blanks (spaces only) go; trailing ones stay.
std::string_view WithoutLeadingBlanks(std::string_view text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : text.substr(first);
}

NoteResult SaveEdit(NoteTable& table, int index, const std::optional<MonthNotes::NoteEdit>& edit) {
    return edit ? table.SetAndSave(index, WithoutLeadingBlanks(edit->text), edit->colour) : NOTE_OK;
}

}  // namespace

MonthNotes::DayNoteResults MonthNotes::SaveDayNotes(int day, const std::optional<NoteEdit>& oneOff,
                                                    const std::optional<NoteEdit>& gregorianYearly,
                                                    const std::optional<NoteEdit>& lunarYearly) {
    if (!HasDay(day)) return {NOTE_BAD_SLOT, NOTE_BAD_SLOT, NOTE_BAD_SLOT};
    DayNoteResults results;
    results.oneOff = SaveEdit(oneOffNotes, day, oneOff);
    results.gregorianYearly = SaveEdit(gregorianYearlyNotes, day, gregorianYearly);
    results.lunarYearly = SaveEdit(LunarNotesOf(day), LunarSlotIndex(day), lunarYearly);
    return results;
}

NoteResult MonthNotes::SaveWeekdayNote(int weekday, std::string_view text, std::uint32_t colour) {
    return weeklyNotes.SetAndSave(weekday, WithoutLeadingBlanks(text), colour);
}

}  // namespace almanac
