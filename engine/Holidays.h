// The official rest and work days (休/班) that the State Council announces
// each year: a built-in table for the years announced when this program was
// made, and the years a user adds (or corrects) in a plain-text file, which
// replace the built-in arrangement of the same year entirely.
//
// The file's lines: "YYYY-MM-DD 休 名称" (a day of a holiday period) or
// "YYYY-MM-DD 班" (a weekend day made a working day); "#" starts a comment,
// blank lines are ignored. Parsing is pure: the text arrives as GB18030 (the
// store decodes the file's encoding).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace almanac {

enum class DayMark : std::uint8_t { None, Rest, Work };

// "休", "班" or "".
const char* DayMarkText(DayMark mark);

struct HolidayDay {
    int year = 0, month = 0, day = 0;
    DayMark mark = DayMark::None;
    std::string name;  // the holiday, GB18030; may be empty for a 班 day
    bool operator==(const HolidayDay&) const = default;
};

// The first and last year of the built-in table.
int FirstBuiltInHolidayYear();
int LastBuiltInHolidayYear();

// A line of the file that was skipped, with the reason (GB18030).
struct BadHolidayLine {
    int number = 0;  // from 1
    std::string text;
    std::string reason;
};

struct HolidayFileText {
    std::vector<HolidayDay> days;  // in the order of the file
    std::vector<BadHolidayLine> badLines;
};

// Parses the file's text (GB18030, line ends "\n" or "\r\n"). A line that is
// not a good one is skipped and listed: a malformed or impossible date, a
// mark other than 休 or 班, a 休 without a name, the same date twice.
HolidayFileText ParseHolidayText(std::string_view gb18030);

class HolidayCalendar {
public:
    // The built-in arrangements.
    HolidayCalendar();

    // The years that appear in `days` replace the built-in arrangement of
    // those years entirely; the other years keep theirs.
    void ReplaceYears(const std::vector<HolidayDay>& days);

    // The mark of a date, and the holiday's name (nullptr when none).
    DayMark MarkOf(int year, int month, int day) const;
    const char* NameOf(int year, int month, int day) const;

    // Every marked day of a year, by date.
    std::vector<HolidayDay> DaysOf(int year) const;

    // The built-in arrangements, shared by every page that is not given
    // another calendar.
    static const HolidayCalendar& BuiltIn();

    bool operator==(const HolidayCalendar&) const = default;

private:
    const HolidayDay* Find(int year, int month, int day) const;
    std::vector<HolidayDay> days_;  // by date
};

}  // namespace almanac
