// The notes of one month page: the tables its days draw their notes from,
// found from the page's cells. The one-off notes of the month (slot = day);
// the lunar-yearly notes of the lunar months of day 1, of the last day and,
// when the page touches three lunar months, of the one between (slot = lunar
// day); the Gregorian-yearly notes of the month (slot = day); the weekly
// notes (slot = weekday).
#pragma once

#include "engine/MonthPage.h"
#include "store/NoteStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace almanac {

class MonthNotes {
public:
    NoteTable oneOffNotes;
    NoteTable lunarNotesFirst;
    NoteTable lunarNotesLast;
    NoteTable lunarNotesMiddle;
    NoteTable gregorianYearlyNotes;
    NoteTable weeklyNotes;

    // Loads the five (or six) tables of the page: one-off, Gregorian-yearly,
    // the first and last lunar months', the weekly, then a middle lunar
    // month's when there is one.
    void Load(const MonthPage& page);

    // The lunar-yearly table and slot of a day: the table of the day's own
    // lunar month number (a leap month shares its ordinary month's), slot =
    // the lunar day.
    NoteTable& LunarNotesOf(int day);
    const NoteSlot& LunarNoteSlot(int day) const;

    // The texts of a day's notes, one per line ("\r\n" between): weekly
    // reminder, one-off, Gregorian-yearly, lunar-yearly. Empty when none.
    std::string ComposeDayNotes(int day) const;

    // What became of each note a save was given (NoteResult values).
    struct DayNoteResults {
        int oneOff = NOTE_OK;
        int gregorianYearly = NOTE_OK;
        int lunarYearly = NOTE_OK;
        bool AllSaved() const { return oneOff == NOTE_OK && gregorianYearly == NOTE_OK && lunarYearly == NOTE_OK; }
    };

    // Stores a day's three notes, each without its leading blanks, in the
    // day's one-off, Gregorian-yearly and lunar-yearly tables; every file is
    // rewritten (or removed when its last note goes).
    DayNoteResults SaveDayNotes(int day, std::string_view oneOff, std::uint32_t oneOffColour,
                                std::string_view gregorianYearly, std::uint32_t gregorianColour,
                                std::string_view lunarYearly, std::uint32_t lunarColour);
    // Stores a weekday's reminder, without its leading blanks.
    int SaveWeekdayNote(int weekday, std::string_view text, std::uint32_t colour);

private:
    // What the tables are keyed by, copied from the page's cells.
    struct DayKeys {
        int weekday = 0;
        int lunarMonth = 0;
        int lunarDay = 0;
    };
    bool HasDay(int day) const { return day >= 1 && day <= daysInMonth_; }

    std::array<DayKeys, 32> days_{};  // by day of the month; [0] unused
    int daysInMonth_ = 0;
};

}  // namespace almanac
