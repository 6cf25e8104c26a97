// One month page: everything the month grid shows for one Gregorian month —
// each day's weekday, lunar date, solar-term mark, festival and the short
// text under its number, the lunar year caption, the marked date (today) and
// the note tables of the month. ShowMonth rebuilds all of it; the window that
// shows the page adds its own effects (the return button, the caption label,
// the repaint) around the call.
#pragma once

#include "LunarDate.h"
#include "NoteStore.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace almanac {

struct DayCell {
    int weekday = 0;  // 0 = Sunday … 6 = Saturday: the grid column
    LunarDate lunar;
    int termMarker = 0;              // 0, or 1 / 2: the month's first / second solar term begins
    char lunarText[18] = {};         // festival, term, month name or day name; GB18030
    const char* festival = nullptr;  // lunar festival, else Gregorian holiday, else none
    bool isMonthName = false;        // lunarText names a new lunar month
};

struct MonthPage {
    int shownYear = 0;
    int shownMonth = 0;
    int markedYear = 0, markedMonth = 0, markedDay = 0;  // today, once a day was given
    std::array<DayCell, 32> cells{};                     // by day of the month; [0] unused
    int daysInMonth = 0;

    // One-off notes of the month (slot = day); lunar-yearly notes of the
    // lunar months of day 1, of the last day and, when the page touches three
    // lunar months, of the one between (slot = lunar day); Gregorian-yearly
    // notes of the month (slot = day); weekly notes (slot = weekday).
    NoteTable oneOffNotes;
    NoteTable lunarNotesFirst;
    NoteTable lunarNotesLast;
    NoteTable lunarNotesMiddle;
    NoteTable gregorianYearlyNotes;
    NoteTable weeklyNotes;

    // Builds the page for a month of February 1900 … December 2059; a day
    // other than 0 (clamped to the month's length) becomes the marked date.
    // Returns 1.
    int ShowMonth(int year, int month, int day);

    // The month on show is the marked date's month.
    bool ShowsMarkedMonth() const { return shownYear == markedYear && shownMonth == markedMonth; }

    // "癸卯【兔】年", or "癸卯【兔】年－甲辰【龙】年" when the month spans two lunar years.
    std::string YearCaption() const;

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
    void LoadNotes();
    void FillLunarText(DayCell& cell, int month);
};

}  // namespace almanac
