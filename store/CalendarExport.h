// The notes of a notes folder as one iCalendar file (RFC 5545), for phone
// and web calendars: one all-day event per note. One-off notes fall on their
// date; Gregorian-yearly and weekly notes recur by plain rules from their
// first day in the first year asked for.
//
// Lunar-yearly notes fall on every month of their number, the leap month
// included, and a day-30 note on the last day of a 29-day month, as the
// calendar shows them. Other programs' Chinese calendars do not all agree
// with the official one (ICU's puts some month starts a day off), so they
// are written either as dated occurrences computed here (exact; each one an
// event of its own, which every client imports) or as RFC 7529 rules
// (RSCALE=CHINESE) for the client to expand, with the leap months' days
// given as dates: rules that name leap months send libical astray.
#pragma once

#include "store/NotesFolder.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace almanac {

enum class LunarForm { Dates, Rules };

struct ExportOptions {
    int fromYear = 0;  // the first year of the recurring notes
    int years = 20;    // the years of lunar occurrences, never past LAST_LUNAR_YEAR
    LunarForm lunarForm = LunarForm::Dates;
    std::string stamp;  // the DTSTAMP of every event, a UTC date-time "20250101T120000Z"
};

// The default number of years of lunar occurrences.
inline constexpr int EXPORT_DEFAULT_YEARS = 20;

// A note file that was skipped, or a note whose text was not all GB18030.
struct ExportProblem {
    enum class Kind {
        UnreadableFile,  // there, but could not be read: skipped
        DamagedFile,     // not a whole note file: skipped
        InvalidText,     // a note with bytes that form no character: exported with U+FFFD in their place
    };
    Kind kind;
    std::string fileName;  // the file's name in the notes folder, "日历\001" (GB18030)
    int slot = 0;          // InvalidText: the note's slot
    int systemError = 0;   // UnreadableFile: the system's error
};

struct NotesExport {
    enum class Status {
        Exported,
        NoFolder,         // nothing by the folder's name
        NotNotesFolder,   // a folder without 日历
    };
    Status status = Status::Exported;
    std::string calendar;  // the iCalendar file, UTF-8
    int events = 0;
    std::vector<ExportProblem> problems;
};

// Reads every note file of the notes folder (the folder holding 日历) and
// writes the notes of the files it could read. Reads only: a damaged file
// is left as it is.
NotesExport ExportNotes(const NotesFolder& folder, const ExportOptions& options);

// The CSS3 colour keyword nearest to a Windows colour reference (red in the
// low byte), by distance in RGB.
const char* NearestCssColour(std::uint32_t colourReference);

}  // namespace almanac
