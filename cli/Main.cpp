// almanac-cli: the lunar calendar engine on the command line.
#include "cli/ConsoleText.h"
#include "cli/IcsCommand.h"
#include "cli/MonthCommand.h"
#include "engine/CalendarNames.h"
#include "engine/DayDetails.h"
#include "engine/Holidays.h"
#include "engine/LunarDate.h"
#include "engine/PageRange.h"
#include "engine/SolarTerms.h"
#include "base/Gb18030.h"
#include "store/HolidayFile.h"

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

std::string DateText(const GregorianDate& date) { return Format("%04d-%02d-%02d", date.year, date.month, date.day); }

constexpr const char* kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                         "July",    "August",   "September", "October", "November", "December"};

std::string PageName(YearMonth page) { return Format("%s %d", kMonthNames[page.month - 1], page.year); }

// The ranges come from the engine's page range and term table.
std::string Usage() {
    return Format(
        "usage: almanac-cli [--holidays FILE] COMMAND ARGUMENTS\n"
        "\n"
        "  terms YEAR       the 24 solar terms of a Gregorian year (%d-%d), one a line:\n"
        "                   month, which (1 or 2), day, hour, minute (60 occurs), name\n"
        "  days FROM TO     one line per day, dates as YYYY-MM-DD within %s .. %s:\n"
        "                   date, weekday (0 = Sunday), lunar year, month, day, leap month (0/1),\n"
        "                   lunar month length, festival or holiday (empty when none),\n"
        "                   official rest or work day (休, 班 or empty)\n"
        "  details FROM TO  one line per day, dates as YYYY-MM-DD within %s .. %s:\n"
        "                   date, year, month and day stem-branch (干支; the year's changes\n"
        "                   at 春节, the month's on the day of each 节), zodiac animal, 数九,\n"
        "                   三伏, the solar term and its time (Beijing), the new or full moon\n"
        "                   (朔, 望) and its time (Beijing); empty fields when none\n"
        "  month [--tsv] YEAR MONTH\n"
        "                   a month page, %s to %s: a grid with each day's\n"
        "                   lunar text, the lunar year and today marked; with --tsv one line per\n"
        "                   day: day, weekday, lunar year, month, day, leap month (0/1), month\n"
        "                   length, solar term (0, 1, 2), lunar text, festival, month name (0/1),\n"
        "                   official rest or work day (休, 班 or empty), then 'caption' and the\n"
        "                   lunar year caption\n"
        "  holidays YEAR    the official rest (休) and work (班) days of a year, one a line:\n"
        "                   date, mark, holiday (built in for %d-%d; nothing for other years)\n"
        "  ics FOLDER [--from YEAR] [--years N] [--lunar dates|rules]\n"
        "                   the notes of the notes folder FOLDER (the one holding 日历) as\n"
        "                   one iCalendar file: one-off notes on their date, yearly and weekly\n"
        "                   notes recurring from YEAR (default: this year), lunar-yearly notes\n"
        "                   as the dates they fall on in the N years from YEAR (default 20,\n"
        "                   never past %d), or with --lunar rules as lunar rules (RFC 7529)\n"
        "                   that the phone expands by its own lunar calendar\n"
        "  --help           this text\n"
        "\n"
        "  --holidays FILE  reads rest and work days from FILE as the calendar reads\n"
        "                   节假日安排.txt: a year in it replaces that year's built-in days\n"
        "\n"
        "Fields are separated by tabs; the output is UTF-8.\n",
        FIRST_TERM_YEAR, LAST_TERM_YEAR, DateText(FIRST_DAY).c_str(), DateText(LAST_DAY).c_str(),
        DateText(FIRST_DETAILS_DAY).c_str(), DateText(LAST_DETAILS_DAY).c_str(), PageName(FIRST_PAGE).c_str(), PageName(LAST_PAGE).c_str(), FirstBuiltInHolidayYear(),
        LastBuiltInHolidayYear(), LAST_LUNAR_YEAR);
}

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
        throw UsageError{Format("year must be a number from %d to %d: ", FIRST_TERM_YEAR, LAST_TERM_YEAR) +
                         std::string(text)};
    return year;
}

int SerialDayOf(const GregorianDate& date) { return SerialDay(date.year, date.month, date.day); }

GregorianDate ParseDate(std::string_view text) {
    GregorianDate date{};
    if (!ParseIsoDate(text, date)) throw UsageError{"not a date in the form YYYY-MM-DD: " + std::string(text)};
    if (!IsPageDay(date.year, date.month, date.day))
        throw UsageError{"date outside " + DateText(FIRST_DAY) + " .. " + DateText(LAST_DAY) + ": " + std::string(text)};
    return date;
}

GregorianDate ParseDetailsDate(std::string_view text) {
    GregorianDate date{};
    if (!ParseIsoDate(text, date)) throw UsageError{"not a date in the form YYYY-MM-DD: " + std::string(text)};
    if (!IsDetailsDay(date.year, date.month, date.day))
        throw UsageError{"details are given for " + DateText(FIRST_DETAILS_DAY) + " .. " +
                         DateText(LAST_DETAILS_DAY) + " only: " + std::string(text)};
    return date;
}

void ParseMonthPage(std::string_view yearText, std::string_view monthText, int& year, int& month) {
    bool inRange = ParseNumber(yearText, year) && ParseNumber(monthText, month) && IsPage(year, month);
    if (!inRange)
        throw UsageError{Format("a month from %d %d to %d %d is needed: ", FIRST_PAGE.year, FIRST_PAGE.month,
                                LAST_PAGE.year, LAST_PAGE.month) +
                         std::string(yearText) + " " + std::string(monthText)};
}

// A failure to use the --holidays file: one line on stderr, exit status 1.
struct FileError {
    std::string message;
};

// The built-in days, with the years of the --holidays file in their place;
// its bad lines are reported on stderr and skipped.
HolidayCalendar LoadHolidays(const char* path) {
    HolidayCalendar calendar;
    if (!path) return calendar;
    HolidayFileReading reading = ReadHolidayFile(path);
    if (reading.status == HolidayFileReading::Status::Missing) throw FileError{std::string("no such file: ") + path};
    if (reading.status != HolidayFileReading::Status::Read)
        throw FileError{text::Utf8FromGb18030(HolidayFileProblem(reading, path))};
    for (const BadHolidayLine& bad : reading.text.badLines)
        std::fprintf(stderr, "almanac-cli: %s line %d skipped (%s): %s\n", path, bad.number,
                     text::Utf8FromGb18030(bad.reason).c_str(), text::Utf8FromGb18030(bad.text).c_str());
    calendar.ReplaceYears(reading.text.days);
    return calendar;
}

void PrintHolidays(int year, const HolidayCalendar& holidays) {
    for (const HolidayDay& day : holidays.DaysOf(year))
        WriteLine(Format("%04d-%02d-%02d\t%s\t%s", day.year, day.month, day.day, DayMarkText(day.mark), day.name.c_str()));
}

void PrintMonth(std::string_view yearText, std::string_view monthText, bool asTable, const HolidayCalendar& holidays) {
    int year, month;
    ParseMonthPage(yearText, monthText, year, month);
    if (asTable) {
        cli::PrintMonthTable(year, month, holidays);
        return;
    }
    std::time_t now = std::time(nullptr);
    const std::tm* today = std::localtime(&now);
    cli::PrintMonthGrid(year, month, today->tm_year + 1900, today->tm_mon + 1, today->tm_mday, holidays);
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

// Day by day on the serial day number: one conversion, then one NextDay a day.
void PrintDays(GregorianDate from, GregorianDate to, const HolidayCalendar& holidays) {
    const int first = SerialDayOf(from), last = SerialDayOf(to);
    if (first > last) throw UsageError{"FROM is later than TO"};
    LunarDate lunar = LunarDate::FromGregorian(from.year, from.month, from.day);
    for (int serial = first; serial <= last; ++serial, lunar.NextDay()) {
        const GregorianDate date = DateOfSerialDay(serial);
        const char* festival = LunarFestivalName(lunar);
        if (!festival) festival = GregorianHolidayName(date.month, date.day);
        WriteLine(Format("%04d-%02d-%02d\t%d\t%d\t%d\t%d\t%d\t%d\t%s\t%s", date.year, date.month, date.day,
                         DayOfWeek(date.year, date.month, date.day), lunar.year, lunar.month, lunar.day,
                         lunar.isLeapMonth ? 1 : 0, lunar.monthLength, festival ? festival : "",
                         DayMarkText(holidays.MarkOf(date.year, date.month, date.day))));
    }
}

// "name HH:MM", or empty without a name.
std::string TimedText(const char* name, TimeOfDay time) {
    if (!*name) return "";
    return Format("%s %02d:%02d", name, time.hour, time.minute);
}

void PrintDetails(GregorianDate from, GregorianDate to) {
    const int first = SerialDayOf(from), last = SerialDayOf(to);
    if (first > last) throw UsageError{"FROM is later than TO"};
    for (int serial = first; serial <= last; ++serial) {
        const GregorianDate date = DateOfSerialDay(serial);
        DayDetails d;
        DayDetailsOf(date.year, date.month, date.day, d);
        WriteLine(Format("%04d-%02d-%02d\t%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s", date.year, date.month, date.day,
                         d.yearStemBranch, d.monthStemBranch, d.dayStemBranch, d.zodiac, d.shuJiu, d.sanFu,
                         TimedText(d.solarTerm, d.solarTermTime).c_str(),
                         TimedText(MoonPhaseName(d.moonPhase), d.moonPhaseTime).c_str()));
    }
}

// ics FOLDER [--from YEAR] [--years N] [--lunar dates|rules], the options
// in any order after the folder.
int ExportCalendar(int argc, char** argv) {
    ExportOptions options;
    options.fromYear = cli::ThisYear();
    options.years = EXPORT_DEFAULT_YEARS;
    options.stamp = cli::StampOfNow();
    for (int i = 3; i < argc; i += 2) {
        std::string_view option(argv[i]);
        if (i + 1 == argc) throw UsageError{"a value is needed after " + std::string(option)};
        std::string_view value(argv[i + 1]);
        if (option == "--from") {
            options.fromYear = ParseYear(value);
        } else if (option == "--years") {
            if (!ParseNumber(value, options.years) || options.years < 1)
                throw UsageError{"--years needs a number from 1 to 9999: " + std::string(value)};
        } else if (option == "--lunar" && (value == "dates" || value == "rules")) {
            options.lunarForm = value == "dates" ? LunarForm::Dates : LunarForm::Rules;
        } else if (option == "--lunar") {
            throw UsageError{"--lunar takes dates or rules: " + std::string(value)};
        } else {
            throw UsageError{"unknown option for ics (try --help): " + std::string(option)};
        }
    }
    return cli::PrintNotesCalendar(argv[2], options);
}

int Run(int argc, char** argv) {
    const char* holidayFile = nullptr;
    if (argc >= 3 && std::string_view(argv[1]) == "--holidays") {
        holidayFile = argv[2];
        argv[2] = argv[0];  // the program's name before the command, as without the option
        argv += 2;
        argc -= 2;
    }
    auto argument = [&](int i) { return std::string_view(argv[i]); };
    if (argc == 2 && (argument(1) == "--help" || argument(1) == "-h")) {
        cli::WriteText(Usage());  // GB18030 in memory, like every text: the terminal gets UTF-8
        return 0;
    }
    if (argc == 3 && argument(1) == "terms") {
        PrintTerms(ParseYear(argument(2)));
        return 0;
    }
    if (argc == 3 && argument(1) == "holidays") {
        const int year = ParseYear(argument(2));
        PrintHolidays(year, LoadHolidays(holidayFile));
        return 0;
    }
    if (argc == 4 && argument(1) == "days") {
        const GregorianDate from = ParseDate(argument(2)), to = ParseDate(argument(3));
        PrintDays(from, to, LoadHolidays(holidayFile));
        return 0;
    }
    if (argc == 4 && argument(1) == "details") {
        PrintDetails(ParseDetailsDate(argument(2)), ParseDetailsDate(argument(3)));
        return 0;
    }
    if (argc == 4 && argument(1) == "month") {
        PrintMonth(argument(2), argument(3), false, LoadHolidays(holidayFile));
        return 0;
    }
    if (argc == 5 && argument(1) == "month" && (argument(2) == "--tsv" || argument(4) == "--tsv")) {
        bool optionFirst = argument(2) == "--tsv";
        PrintMonth(argument(optionFirst ? 3 : 2), argument(optionFirst ? 4 : 3), true, LoadHolidays(holidayFile));
        return 0;
    }
    if (argc >= 3 && argument(1) == "ics") return ExportCalendar(argc, argv);
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
    } catch (const FileError& error) {
        std::fprintf(stderr, "almanac-cli: %s\n", error.message.c_str());
        return 1;
    }
}
