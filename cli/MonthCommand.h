// almanac-cli month: one month page in the terminal.
#pragma once

#include "engine/Holidays.h"

namespace almanac::cli {

// A grid like the desktop's: weekday header, each day's number with its
// lunar text under it, the lunar year caption, today in brackets, and the
// desktop's colours when the terminal shows them. Today is (0, 0, 0) when
// unknown.
void PrintMonthGrid(int year, int month, int todayYear, int todayMonth, int todayDay, const HolidayCalendar& holidays);

// One tab-separated line per day (the last field 休, 班 or empty), then
// "caption<TAB>" and the caption.
void PrintMonthTable(int year, int month, const HolidayCalendar& holidays);

}  // namespace almanac::cli
