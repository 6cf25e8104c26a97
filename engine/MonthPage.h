// One month page: everything the month grid shows for one Gregorian month —
// each day's weekday, lunar date, solar-term mark, festival and the short
// text under its number, the lunar year caption and the marked date (today).
// Build makes all of it from the calendar alone; the notes of the page
// are the note store's (MonthNotes), and the window that shows the page adds
// its own effects (the return button, the caption label, the repaint).
#pragma once

#include "engine/Holidays.h"
#include "engine/LunarDate.h"
#include "engine/PageRange.h"

#include <array>
#include <string>

namespace almanac {

struct DayCell {
    int weekday = 0;  // 0 = Sunday … 6 = Saturday: the grid column
    LunarDate lunar;
    int termMarker = 0;              // 0, or 1 / 2: the month's first / second solar term begins
    char lunarText[18] = {};         // festival, term, month name or day name; GB18030
    const char* festival = nullptr;  // lunar festival, else Gregorian holiday, else none
    bool isMonthName = false;        // lunarText names a new lunar month
    DayMark dayMark = DayMark::None;  // official rest day (休) or working day (班)
};

struct MonthPage {
    int shownYear = 0;
    int shownMonth = 0;
    int markedYear = 0, markedMonth = 0, markedDay = 0;  // today, once a day was given
    std::array<DayCell, 32> cells{};                     // by day of the month; [0] unused
    int daysInMonth = 0;
    // The official rest and work days the page marks; the built-in ones
    // unless the owner gives others (it keeps them alive).
    const HolidayCalendar* holidays = &HolidayCalendar::BuiltIn();

    // Builds the page for a month of FIRST_PAGE … LAST_PAGE (PageRange.h); a
    // day other than 0 (clamped to the month's length) becomes the marked date.
    // Days of other months that the lunar year table does not cover get no
    // lunar date and no lunar text.
    void Build(int year, int month, int day);

    // The month on show is the marked date's month.
    bool ShowsMarkedMonth() const { return shownYear == markedYear && shownMonth == markedMonth; }

    // "癸卯【兔】年", or "癸卯【兔】年－甲辰【龙】年" when the month spans two lunar years;
    // empty when no day of the month has a lunar date.
    std::string YearCaption() const;

private:
    void FillLunarText(DayCell& cell, int month);
};

}  // namespace almanac
