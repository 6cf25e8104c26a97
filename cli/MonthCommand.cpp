#include "cli/MonthCommand.h"

#include "cli/ConsoleText.h"
#include "engine/CalendarNames.h"
#include "engine/MonthPage.h"

#include <cstring>
#include <memory>

namespace almanac::cli {
namespace {

constexpr int kCellWidth = 10;  // terminal columns; a GB2312 character takes two

// ANSI colours of the desktop grid: festivals and Sundays red, Saturdays
// green, solar terms blue; lunar month names bold.
constexpr const char* kRed = "\x1b[31m";
constexpr const char* kGreen = "\x1b[32m";
constexpr const char* kBlue = "\x1b[34m";
constexpr const char* kBold = "\x1b[1m";
constexpr const char* kReset = "\x1b[0m";

// Every text here is ASCII or two-byte GB2312, whose bytes equal its columns.
std::string Padded(const std::string& text, int width) {
    int pad = width - int(text.size());
    std::string left(std::size_t(pad > 0 ? pad / 2 : 0), ' ');
    std::string right(std::size_t(pad > 0 ? pad - pad / 2 : 0), ' ');
    return left + text + right;
}

const char* DayColour(const DayCell& cell) {
    if (cell.festival) return kRed;
    if (cell.termMarker) return kBlue;
    if (cell.weekday == 6) return kGreen;
    if (cell.weekday == 0) return kRed;
    return nullptr;
}

std::string Coloured(const std::string& text, const char* colour, bool bold, bool useColour) {
    if (!useColour || (!colour && !bold)) return text;
    return std::string(bold ? kBold : "") + (colour ? colour : "") + text + kReset;
}

void WriteTrimmedLine(std::string line) {
    while (!line.empty() && line.back() == ' ') line.pop_back();
    WriteLine(line);
}

std::unique_ptr<MonthPage> BuildPage(int year, int month, int markDay, const HolidayCalendar& holidays) {
    auto page = std::make_unique<MonthPage>();
    page->holidays = &holidays;
    page->Build(year, month, markDay);
    return page;
}

}  // namespace

void PrintMonthGrid(int year, int month, int todayYear, int todayMonth, int todayDay, const HolidayCalendar& holidays) {
    bool isTodaysMonth = year == todayYear && month == todayMonth;
    auto page = BuildPage(year, month, isTodaysMonth ? todayDay : 0, holidays);
    const bool useColour = StandardOutputTakesColour();

    WriteLine(Format("%d年%d月  %s", year, month, page->YearCaption().c_str()));
    std::string header;
    for (int column = 0; column < 7; ++column) {
        const char* colour = column == 0 ? kRed : column == 6 ? kGreen : nullptr;
        header += Coloured(Padded(WeekdayName(column), kCellWidth), colour, false, useColour);
    }
    WriteTrimmedLine(header);

    int column = page->cells[1].weekday;
    std::string numbers(std::size_t(column * kCellWidth), ' ');
    std::string texts = numbers;
    for (int d = 1; d <= page->daysInMonth; ++d) {
        const DayCell& cell = page->cells[d];
        bool isToday = page->ShowsMarkedMonth() && d == page->markedDay;
        std::string number = isToday ? Format("[%d]", d) : Format("%d", d);
        numbers += Coloured(Padded(number, kCellWidth), DayColour(cell), isToday, useColour);
        texts += Coloured(Padded(cell.lunarText, kCellWidth), DayColour(cell), cell.isMonthName, useColour);
        if (++column == 7 || d == page->daysInMonth) {
            WriteTrimmedLine(numbers);
            WriteTrimmedLine(texts);
            numbers.clear();
            texts.clear();
            column = 0;
        }
    }
}

void PrintMonthTable(int year, int month, const HolidayCalendar& holidays) {
    auto page = BuildPage(year, month, 0, holidays);
    for (int d = 1; d <= page->daysInMonth; ++d) {
        const DayCell& cell = page->cells[d];
        const LunarDate& lunar = cell.lunar;
        WriteLine(Format("%d\t%d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s\t%d\t%s", d, cell.weekday, lunar.year, lunar.month,
                         lunar.day, lunar.isLeapMonth ? 1 : 0, lunar.monthLength, cell.termMarker, cell.lunarText,
                         cell.festival ? cell.festival : "", cell.isMonthName ? 1 : 0, DayMarkText(cell.dayMark)));
    }
    WriteLine("caption\t" + page->YearCaption());
}

}  // namespace almanac::cli
