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
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace almanac {

class MonthNotes {
public:
    explicit MonthNotes(NotesFolder folder) : folder_(std::move(folder)) {}

    const NotesFolder& Folder() const { return folder_; }

    NoteTable oneOffNotes;
    NoteTable lunarNotesFirst;
    NoteTable lunarNotesLast;
    NoteTable lunarNotesMiddle;
    NoteTable gregorianYearlyNotes;
    NoteTable weeklyNotes;

    // Loads the five (or six) tables of the page: one-off, Gregorian-yearly,
    // the first and last lunar months', the weekly, then a middle lunar
    // month's when there is one. A damaged file's original is kept beside it
    // at once, so the user can be told where it is.
    void Load(const MonthPage& page);

    // Every table of the page, to look at how their files were found.
    std::array<const NoteTable*, 6> Tables() const;
    // Every table holds what the other's does (the files read again held
    // what was shown).
    bool HoldsSameNotes(const MonthNotes& other) const;
    // Read again while another program holds a file, a table would lose what
    // it showed: each table whose file could not be read now takes what the
    // same table of before held, when that was read. True when any did.
    bool KeepWhatWasRead(const MonthNotes& before);

    // The lunar-yearly table and slot of a day: the table of the day's own
    // lunar month number (a leap month shares its ordinary month's), slot =
    // the lunar day. A note on day 30 of a lunar month belongs, in the years
    // when that month has 29 days, to its 29th, the month's last day: there
    // it is shown and edited when day 29 has no note of its own.
    NoteTable& LunarNotesOf(int day);
    const NoteTable& LunarNotesOf(int day) const;
    int LunarSlotIndex(int day) const;
    const NoteSlot& LunarNoteSlot(int day) const;

    // The texts of a day's notes, one per line ("\r\n" between): weekly
    // reminder, one-off, Gregorian-yearly, lunar-yearly (on the last day of
    // a 29-day lunar month, its day-30 note too). Empty when none.
    std::string ComposeDayNotes(int day) const;
    // How many notes ComposeDayNotes lists for the day.
    int DayNoteCount(int day) const;

    // A note as the user left it in a dialog.
    struct NoteEdit {
        std::string_view text;
        std::uint32_t colour = 0;
    };

    // What became of each note a save was given.
    struct DayNoteResults {
        NoteResult oneOff = NOTE_OK;
        NoteResult gregorianYearly = NOTE_OK;
        NoteResult lunarYearly = NOTE_OK;
        bool AllSaved() const { return oneOff == NOTE_OK && gregorianYearly == NOTE_OK && lunarYearly == NOTE_OK; }
    };

    // Stores a day's notes, each without its leading blanks, in the day's
    // one-off, Gregorian-yearly and lunar-yearly tables; the file of each
    // note given is rewritten (or removed when its last note goes), and a
    // note not given (nothing changed) leaves its file alone.
    DayNoteResults SaveDayNotes(int day, const std::optional<NoteEdit>& oneOff,
                                const std::optional<NoteEdit>& gregorianYearly,
                                const std::optional<NoteEdit>& lunarYearly);
    // Stores a weekday's reminder, without its leading blanks.
    NoteResult SaveWeekdayNote(int weekday, std::string_view text, std::uint32_t colour);

private:
    // The slots whose notes a day lists, in their order (some may be empty).
    std::array<const NoteSlot*, 5> DaySlots(int day) const;

    // What the tables are keyed by, copied from the page's cells.
    struct DayKeys {
        int weekday = 0;
        int lunarMonth = 0;
        int lunarDay = 0;
        int lunarMonthLength = 0;
    };
    // The last day of a 29-day lunar month, whose month's day-30 note it shows.
    bool StandsInForDay30(int day) const;
    bool HasDay(int day) const { return day >= 1 && day <= daysInMonth_; }

    NotesFolder folder_;
    std::array<DayKeys, 32> days_{};  // by day of the month; [0] unused
    int daysInMonth_ = 0;
};

}  // namespace almanac
