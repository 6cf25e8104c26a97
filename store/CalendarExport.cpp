#include "store/CalendarExport.h"

#include "engine/LunarDate.h"
#include "engine/PageRange.h"
#include "base/Gb18030.h"
#include "store/ICalendarText.h"
#include "store/NoteStore.h"
#include "store/WholeFile.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace almanac {
namespace {

struct CssColour {
    const char* name;
    std::uint32_t rgb;  // 0xRRGGBB
};
constexpr CssColour kCssColours[] = {
#include "store/CssColourTable.inc"
};

constexpr const char* kWeekdayCodes[7] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// One note to export, as its file holds it.
struct Note {
    int kind = 0;     // NoteKind
    int fileYear = 0; // the file's key: a year, 1 (Gregorian-yearly), 0 (lunar-yearly); unused for weekly
    int fileMonth = 0;
    int slot = 0;
    std::string fileName;  // "日历\200612", GB18030
    std::string text;      // GB18030
    std::uint32_t colourWord = 0;
};

// A note file's name in the notes folder, as the user is told of it.
std::string FileNameOf(int year, int month) {
    char name[32];
    std::snprintf(name, sizeof name, "%s\\%d%02d", NotesFolder::CALENDAR_FOLDER, year, month);
    return name;
}

std::string WeekFileName() { return NotesFolder::CALENDAR_FOLDER + std::string("\\week"); }

// The UID of a note: its file and slot, the same on every export.
std::string NoteKey(const Note& note) {
    char key[32];
    if (note.kind == NOTE_WEEKLY)
        std::snprintf(key, sizeof key, "week-%d", note.slot);
    else
        std::snprintf(key, sizeof key, "%d%02d-%02d", note.fileYear, note.fileMonth, note.slot);
    return key;
}

class CalendarWriter {
public:
    explicit CalendarWriter(std::string stamp) : stamp_(std::move(stamp)) {}

    void Line(std::string_view name, std::string_view value) {
        std::string line(name);
        line += ':';
        line += value;
        text_ += ical::FoldedLine(line);
    }
    std::string& Text() { return text_; }
    const std::string& Stamp() const { return stamp_; }
    int events = 0;

private:
    std::string text_;
    std::string stamp_;
};

// A text's first line that is not blank, and whether the text holds more.
struct NoteWords {
    std::string summary;
    std::string description;  // empty when the summary is all there is
};

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

NoteWords WordsOf(const std::string& utf8) {
    std::string_view text(utf8);
    std::size_t end = text.find_last_not_of(" \t\r\n");
    text = end == std::string_view::npos ? std::string_view() : text.substr(0, end + 1);
    NoteWords words;
    std::string_view rest = text;
    while (!rest.empty()) {
        std::size_t lineEnd = rest.find_first_of("\r\n");
        std::string_view line = rest.substr(0, lineEnd);
        if (!IsBlank(line)) {
            words.summary = std::string(line.substr(line.find_first_not_of(" \t")));
            break;
        }
        if (lineEnd == std::string_view::npos) break;
        rest.remove_prefix(lineEnd + 1);
    }
    if (words.summary != text) words.description = std::string(text);
    return words;
}

GregorianDate DateOf(int serial) { return DateOfSerialDay(serial); }
std::string DateValueOf(int serial) { return ical::DateValue(DateOf(serial)); }

// What every event of a note carries besides its dates.
void WriteNoteBody(CalendarWriter& out, const Note& note) {
    NoteWords words = WordsOf(text::Utf8FromGb18030(note.text));
    out.Line("SUMMARY", ical::EscapedText(words.summary));
    if (!words.description.empty()) out.Line("DESCRIPTION", ical::EscapedText(words.description));
    out.Line("COLOR", NearestCssColour(NoteColour(note.colourWord, note.kind)));
    // A note is a reminder, not an appointment: the day stays free.
    out.Line("TRANSP", "TRANSPARENT");
}

// One all-day event from the day serial; rule and extra dates when given.
void WriteEvent(CalendarWriter& out, const Note& note, const std::string& uid, int serial, std::string_view rule = {},
                const std::vector<int>& extraDays = {}) {
    out.Line("BEGIN", "VEVENT");
    out.Line("UID", uid + "@almanac");
    out.Line("DTSTAMP", out.Stamp());
    out.Line("DTSTART;VALUE=DATE", DateValueOf(serial));
    out.Line("DTEND;VALUE=DATE", DateValueOf(serial + 1));
    if (!rule.empty()) out.Line("RRULE", rule);
    if (!extraDays.empty()) {
        std::string dates;
        for (int day : extraDays) {
            if (!dates.empty()) dates += ',';
            dates += DateValueOf(day);
        }
        out.Line("RDATE;VALUE=DATE", dates);
    }
    WriteNoteBody(out, note);
    out.Line("END", "VEVENT");
    ++out.events;
}

std::string NoteUid(const Note& note) { return "note-" + NoteKey(note); }

void WriteOneOff(CalendarWriter& out, const Note& note) {
    WriteEvent(out, note, NoteUid(note), SerialDay(note.fileYear, note.fileMonth, note.slot));
}

// From the note's first day in the first year; 29 February only in leap years.
void WriteGregorianYearly(CalendarWriter& out, const Note& note, int fromYear) {
    bool leapDay = note.fileMonth == 2 && note.slot == 29;
    int year = fromYear;
    while (leapDay && !IsGregorianLeapYear(year)) ++year;
    WriteEvent(out, note, NoteUid(note), SerialDay(year, note.fileMonth, note.slot),
               leapDay ? "FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29" : "FREQ=YEARLY");
}

void WriteWeekly(CalendarWriter& out, const Note& note, int fromYear) {
    int first = SerialDay(fromYear, 1, 1);
    first += (note.slot - DayOfWeek(fromYear, 1, 1) + 7) % 7;
    WriteEvent(out, note, NoteUid(note), first, std::string("FREQ=WEEKLY;BYDAY=") + kWeekdayCodes[note.slot]);
}

// The days a lunar-yearly note falls on, in regular and in leap months.
struct LunarDays {
    std::vector<int> regular, leap;
};

// Whether a note of lunar day noteDay shows on a day of this lunar date: its
// own day, and a day-30 note on the last day of a 29-day month.
bool ShowsOn(int noteDay, const LunarDate& lunar) {
    return noteDay == lunar.day || (noteDay == 30 && lunar.day == 29 && lunar.monthLength == 29);
}

// Walks the days from first to last once and files each lunar note's days.
// notes holds the lunar-yearly notes; their days come back in its order.
std::vector<LunarDays> LunarDaysOf(const std::vector<const Note*>& notes, int first, int last) {
    std::vector<LunarDays> days(notes.size());
    if (first > last) return days;
    // The notes by lunar month and day, for one look-up a day.
    std::array<std::array<std::vector<std::size_t>, 31>, 13> byDate{};
    for (std::size_t i = 0; i < notes.size(); ++i) byDate[notes[i]->fileMonth][notes[i]->slot].push_back(i);

    GregorianDate start = DateOf(first);
    LunarDate lunar = LunarDate::FromGregorian(start.year, start.month, start.day);
    for (int serial = first; serial <= last; ++serial, lunar.NextDay()) {
        std::vector<int> LunarDays::*of = lunar.isLeapMonth ? &LunarDays::leap : &LunarDays::regular;
        for (std::size_t i : byDate[lunar.month][lunar.day]) (days[i].*of).push_back(serial);
        if (lunar.day != 30 && ShowsOn(30, lunar))
            for (std::size_t i : byDate[lunar.month][30]) (days[i].*of).push_back(serial);
    }
    return days;
}

// The first day from serial on in a regular month of the note's month that
// shows it, or 0 when the lunar table ends first.
int FirstRegularDayFrom(int serial, const Note& note) {
    GregorianDate start = DateOf(serial);
    LunarDate lunar = LunarDate::FromGregorian(start.year, start.month, start.day);
    for (; HasLunarDate(start.year, start.month, start.day); ++serial, lunar.NextDay(), start = DateOf(serial))
        if (!lunar.isLeapMonth && lunar.month == note.fileMonth && ShowsOn(note.slot, lunar)) return serial;
    return 0;
}

// Each day an event of its own: plain dated events are what every client
// imports alike (RDATE is ignored by some, and a lunar rule is expanded by
// the client's own idea of the lunar calendar).
void WriteLunarDates(CalendarWriter& out, const Note& note, const LunarDays& days) {
    std::vector<int> all = days.regular;
    all.insert(all.end(), days.leap.begin(), days.leap.end());
    std::sort(all.begin(), all.end());
    for (int serial : all) WriteEvent(out, note, NoteUid(note) + "-" + DateValueOf(serial), serial);
}

// The regular months as an RFC 7529 rule from the first one on; the leap
// months' days of the years asked for as dates. A day-30 note takes the
// month's last day (BYMONTHDAY=-1): the 29th of a 29-day month.
void WriteLunarRule(CalendarWriter& out, const Note& note, const LunarDays& days, int first) {
    int start = days.regular.empty() ? FirstRegularDayFrom(first, note) : days.regular.front();
    if (start == 0) return;  // no such day left in the lunar table
    char rule[96];
    std::snprintf(rule, sizeof rule, "RSCALE=CHINESE;FREQ=YEARLY;BYMONTH=%d;BYMONTHDAY=%d", note.fileMonth,
                  note.slot == 30 ? -1 : note.slot);
    WriteEvent(out, note, NoteUid(note), start, rule, days.leap);
}

// The files of the notes folder, each read whole; the notes of those that
// could be read, in the order their events are written.
class NoteReader {
public:
    NoteReader(const NotesFolder& folder, std::vector<ExportProblem>& problems) : folder_(folder), problems_(problems) {}

    void ReadFile(const std::string& fileName, int maxIndex, int kind, int year, int month, int lastSlot,
                  std::vector<Note>& notes) {
        NoteTable table;
        table.Bind(maxIndex, folder_.PathOf(fileName));
        table.Load();
        if (table.FoundState() == NoteTable::LoadState::Unreadable) {
            problems_.push_back({ExportProblem::Kind::UnreadableFile, fileName, 0, table.LastSystemError()});
            return;
        }
        if (table.FoundState() == NoteTable::LoadState::Damaged) {
            problems_.push_back({ExportProblem::Kind::DamagedFile, fileName, 0, 0});
            return;
        }
        // The slots the calendar shows: none past the month's (or week's) last day.
        for (int slot = kind == NOTE_WEEKLY ? 0 : 1; slot <= lastSlot; ++slot) {
            const NoteSlot& noteSlot = table.Slot(slot);
            if (!noteSlot.CarriesNote()) continue;
            if (!text::CharactersFromGb18030(*noteSlot.text))
                problems_.push_back({ExportProblem::Kind::InvalidText, fileName, slot, 0});
            notes.push_back({kind, year, month, slot, fileName, *noteSlot.text, noteSlot.colour});
        }
    }

private:
    const NotesFolder& folder_;
    std::vector<ExportProblem>& problems_;
};

void WriteHeader(CalendarWriter& out) {
    out.Line("BEGIN", "VCALENDAR");
    out.Line("VERSION", "2.0");
    out.Line("PRODID", "-//almanac//lunar calendar notes//ZH");
    out.Line("CALSCALE", "GREGORIAN");
    out.Line("X-WR-CALNAME", text::Utf8FromGb18030("我的记事"));
}

NotesExport::Status FolderStatus(const NotesFolder& folder) {
    // A folder opens as no file (Unreadable); nothing there is Missing.
    FileContents self = ReadWholeFile(folder.Path(), 0);
    if (self.status != FileContents::Status::Unreadable) return NotesExport::Status::NoFolder;
    FileContents notes = ReadWholeFile(folder.PathOf(NotesFolder::CALENDAR_FOLDER), 0);
    if (notes.status != FileContents::Status::Unreadable) return NotesExport::Status::NotNotesFolder;
    return NotesExport::Status::Exported;
}

}  // namespace

const char* NearestCssColour(std::uint32_t colourReference) {
    int red = int(colourReference & 0xFF), green = int(colourReference >> 8 & 0xFF),
        blue = int(colourReference >> 16 & 0xFF);
    const CssColour* nearest = &kCssColours[0];
    long nearestDistance = -1;
    for (const CssColour& colour : kCssColours) {
        int dr = red - int(colour.rgb >> 16), dg = green - int(colour.rgb >> 8 & 0xFF), db = blue - int(colour.rgb & 0xFF);
        long distance = long(dr) * dr + long(dg) * dg + long(db) * db;
        if (nearestDistance < 0 || distance < nearestDistance) {
            nearest = &colour;
            nearestDistance = distance;
        }
    }
    return nearest->name;
}

NotesExport ExportNotes(const NotesFolder& folder, const ExportOptions& options) {
    NotesExport result;
    result.status = FolderStatus(folder);
    if (result.status != NotesExport::Status::Exported) return result;

    NoteReader reader(folder, result.problems);
    std::vector<Note> oneOff, gregorianYearly, lunarYearly, weekly;
    for (int year = FIRST_PAGE.year; year <= LAST_PAGE.year; ++year)
        for (int month = 1; month <= 12; ++month)
            reader.ReadFile(FileNameOf(year, month), NoteTable::MONTH_MAX_INDEX, NOTE_ONE_OFF, year, month,
                            GregorianMonthLength(year, month), oneOff);
    for (int month = 1; month <= 12; ++month)
        reader.ReadFile(FileNameOf(1, month), NoteTable::MONTH_MAX_INDEX, NOTE_GREGORIAN_YEARLY, 1, month,
                        month == 2 ? 29 : GregorianMonthLength(2001, month), gregorianYearly);
    for (int month = 1; month <= 12; ++month)
        reader.ReadFile(FileNameOf(0, month), NoteTable::MONTH_MAX_INDEX, NOTE_LUNAR_YEARLY, 0, month, 30, lunarYearly);
    reader.ReadFile(WeekFileName(), NoteTable::WEEK_MAX_INDEX, NOTE_WEEKLY, 0, 0, 6, weekly);

    CalendarWriter out(options.stamp);
    WriteHeader(out);
    for (const Note& note : oneOff) WriteOneOff(out, note);
    for (const Note& note : gregorianYearly) WriteGregorianYearly(out, note, options.fromYear);

    const int lastYear = std::min(options.fromYear + options.years - 1, LAST_LUNAR_YEAR);
    const int first = std::max(SerialDay(options.fromYear, 1, 1), SerialDay(FIRST_DAY.year, FIRST_DAY.month, FIRST_DAY.day));
    const int last = SerialDay(lastYear, 12, 31);
    std::vector<const Note*> lunarNotes;
    for (const Note& note : lunarYearly) lunarNotes.push_back(&note);
    std::vector<LunarDays> lunarDays = LunarDaysOf(lunarNotes, first, last);
    for (std::size_t i = 0; i < lunarNotes.size(); ++i) {
        if (options.lunarForm == LunarForm::Dates)
            WriteLunarDates(out, *lunarNotes[i], lunarDays[i]);
        else
            WriteLunarRule(out, *lunarNotes[i], lunarDays[i], first);
    }

    for (const Note& note : weekly) WriteWeekly(out, note, options.fromYear);
    out.Line("END", "VCALENDAR");
    result.calendar = std::move(out.Text());
    result.events = out.events;
    return result;
}

}  // namespace almanac
