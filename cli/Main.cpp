// almanac-cli: the lunar calendar engine on the command line.
#include "cli/ConsoleText.h"
#include "cli/MonthCommand.h"
#include "engine/CalendarNames.h"
#include "engine/LunarDate.h"
#include "engine/SolarTerms.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

namespace {

using namespace almanac;
using cli::Format;
using cli::WriteLine;

constexpr const char* kUsage =
    "usage: almanac-cli COMMAND ARGUMENTS\n"
    "\n"
    "  terms YEAR       the 24 solar terms of a Gregorian year (1900-2060), one a line:\n"
    "                   month, which (1 or 2), day, hour, minute (60 occurs), name\n"
    "  days FROM TO     one line per day, dates as YYYY-MM-DD within 1900-01-31 .. 2059-12-31:\n"
    "                   date, weekday (0 = Sunday), lunar year, month, day, leap month (0/1),\n"
    "                   lunar month length, festival or holiday (empty when none)\n"
    "  month [--tsv] YEAR MONTH\n"
    "                   a month page, February 1900 to December 2059: a grid with each day's\n"
    "                   lunar text, the lunar year and today marked; with --tsv one line per\n"
    "                   day: day, weekday, lunar year, month, day, leap month (0/1), month\n"
    "                   length, solar term (0, 1, 2), lunar text, festival, month name (0/1),\n"
    "                   then 'caption' and the lunar year caption\n"
    "  --help           this text\n"
    "\n"
    "Fields are separated by tabs; the output is UTF-8.\n";

struct Date {
    int year, month, day;
};

constexpr Date kFirstDay = {1900, 1, 31};
constexpr Date kLastDay = {2059, 12, 31};

// A usage error: a one-line message on stderr, exit status 2.
struct UsageError {
    std::string message;
};

bool ParseNumber(std::string_view text, int& value) {
    if (text.empty() || text.size() > 4) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

int ParseYear(std::string_view text) {
    int year;
    if (!ParseNumber(text, year) || year < FIRST_TERM_YEAR || year > LAST_TERM_YEAR)
        throw UsageError{"year must be a number from 1900 to 2060: " + std::string(text)};
    return year;
}

int Compare(const Date& a, const Date& b) { return DaysBetween(a.year, a.month, a.day, b.year, b.month, b.day); }

Date ParseDate(std::string_view text) {
    Date date{};
    bool wellFormed = text.size() == 10 && text[4] == '-' && text[7] == '-' && ParseNumber(text.substr(0, 4), date.year) &&
                      ParseNumber(text.substr(5, 2), date.month) && ParseNumber(text.substr(8, 2), date.day) &&
                      date.day >= 1 && date.day <= GregorianMonthLength(date.year, date.month);
    if (!wellFormed) throw UsageError{"not a date in the form YYYY-MM-DD: " + std::string(text)};
    if (Compare(date, kFirstDay) < 0 || Compare(date, kLastDay) > 0)
        throw UsageError{"date outside 1900-01-31 .. 2059-12-31: " + std::string(text)};
    return date;
}

// The month pages run from February 1900 (January 1900 begins before the
// lunar calendar's first day) to December 2059.
void ParseMonthPage(std::string_view yearText, std::string_view monthText, int& year, int& month) {
    bool wellFormed = ParseNumber(yearText, year) && ParseNumber(monthText, month) && month >= 1 && month <= 12;
    bool inRange = wellFormed && (year > 1900 || (year == 1900 && month >= 2)) && year <= 2059;
    if (!inRange)
        throw UsageError{"a month from 1900 2 to 2059 12 is needed: " + std::string(yearText) + " " +
                         std::string(monthText)};
}

void PrintMonth(std::string_view yearText, std::string_view monthText, bool asTable) {
    int year, month;
    ParseMonthPage(yearText, monthText, year, month);
    if (asTable) {
        cli::PrintMonthTable(year, month);
        return;
    }
    std::time_t now = std::time(nullptr);
    const std::tm* today = std::localtime(&now);
    cli::PrintMonthGrid(year, month, today->tm_year + 1900, today->tm_mon + 1, today->tm_mday);
}

void PrintTerms(int year) {
    for (int month = 1; month <= 12; ++month) {
        SolarTermRecord terms[2];
        SolarTermDays(year, month, terms[0], terms[1]);
        for (int which = 1; which <= 2; ++which) {
            const SolarTermRecord& t = terms[which - 1];
            WriteLine(Format("%d\t%d\t%d\t%d\t%d\t%s", month, which, t.day, t.hour, t.minute, SolarTermName(month, which)));
        }
    }
}

void NextGregorianDay(Date& date) {
    if (++date.day > GregorianMonthLength(date.year, date.month)) {
        date.day = 1;
        if (++date.month > 12) {
            date.month = 1;
            ++date.year;
        }
    }
}

void PrintDays(Date from, Date to) {
    if (Compare(from, to) > 0) throw UsageError{"FROM is later than TO"};
    LunarDate lunar = LunarDate::FromGregorian(from.year, from.month, from.day);
    for (Date date = from;; NextGregorianDay(date), lunar.NextDay()) {
        const char* festival = LunarFestivalName(lunar);
        if (!festival) festival = GregorianHolidayName(date.month, date.day);
        WriteLine(Format("%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%s", date.year, date.month, date.day,
                         DayOfWeek(date.year, date.month, date.day), lunar.year, lunar.month, lunar.day,
                         lunar.isLeapMonth ? 1 : 0, lunar.monthLength, festival ? festival : ""));
        if (Compare(date, to) == 0) break;
    }
}

int Run(int argc, char** argv) {
    auto argument = [&](int i) { return std::string_view(argv[i]); };
    if (argc == 2 && (argument(1) == "--help" || argument(1) == "-h")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (argc == 3 && argument(1) == "terms") {
        PrintTerms(ParseYear(argument(2)));
        return 0;
    }
    if (argc == 4 && argument(1) == "days") {
        PrintDays(ParseDate(argument(2)), ParseDate(argument(3)));
        return 0;
    }
    if (argc == 4 && argument(1) == "month") {
        PrintMonth(argument(2), argument(3), false);
        return 0;
    }
    if (argc == 5 && argument(1) == "month" && (argument(2) == "--tsv" || argument(4) == "--tsv")) {
        bool optionFirst = argument(2) == "--tsv";
        PrintMonth(argument(optionFirst ? 3 : 2), argument(optionFirst ? 4 : 3), true);
        return 0;
    }
    throw UsageError{argc < 2 ? "no command given (try --help)" : "unknown command or wrong arguments (try --help)"};
}

}  // namespace

// Output that did not reach its file (a full disk, a closed pipe) is a
// failure, not a result: one line on stderr, exit status 1.
int FinishOutput(int status) {
    errno = 0;
    if (std::fflush(stdout) == 0 && !std::ferror(stdout)) return status;
    int error = errno;
    std::fprintf(stderr, "almanac-cli: the output could not be written%s%s\n", error ? ": " : "",
                 error ? std::strerror(error) : "");
    return 1;
}

int main(int argc, char** argv) {
    cli::PrepareStandardOutput();
    try {
        return FinishOutput(Run(argc, argv));
    } catch (const UsageError& error) {
        std::fprintf(stderr, "almanac-cli: %s\n", error.message.c_str());
        return 2;
    }
}
