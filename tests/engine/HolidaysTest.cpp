#include "engine/Holidays.h"
#include "engine/MonthPage.h"

#include <gtest/gtest.h>

#include <memory>
#include <string_view>

namespace almanac {
namespace {

// A day's mark as the State Council's notice of that year gives it.
struct NoticeDay {
    int year, month, day;
    DayMark mark;
    const char* notice;
};

void PrintTo(const NoticeDay& d, std::ostream* out) { *out << d.year << '-' << d.month << '-' << d.day; }

constexpr DayMark REST = DayMark::Rest, WORK = DayMark::Work, NONE = DayMark::None;

class BuiltInHolidaysTest : public testing::TestWithParam<NoticeDay> {};

TEST_P(BuiltInHolidaysTest, MarksTheDayAsTheNoticeSays) {
    const NoticeDay& d = GetParam();
    EXPECT_EQ(HolidayCalendar::BuiltIn().MarkOf(d.year, d.month, d.day), d.mark) << d.notice;
}

// The days where chinese-days and HolidayUtil disagree (each settled from
// the notice), and a few ordinary ones of the same notices.
INSTANTIATE_TEST_SUITE_P(Notices, BuiltInHolidaysTest, testing::Values(
    NoticeDay{2005, 12, 31, WORK, "2006: 元旦 1月1日—3日放假, 12月31日(星期六)上班"},
    NoticeDay{2006, 1, 3, REST, "2006: 元旦 1月1日—3日放假"},
    NoticeDay{2011, 6, 5, REST, "2011: 端午节 6月4日至6日放假公休"},
    NoticeDay{2012, 4, 28, WORK, "2012: 劳动节 4月28日(星期六)上班"},
    NoticeDay{2012, 5, 2, NONE, "2012: 劳动节 4月29日至5月1日; 5月2日 an ordinary Wednesday"},
    NoticeDay{2012, 6, 23, REST, "2012: 端午节 6月22日至24日放假公休"},
    NoticeDay{2012, 10, 8, NONE, "2012: 国庆 to 10月7日; 10月8日 an ordinary Monday"},
    NoticeDay{2013, 4, 7, WORK, "2013: 清明节 4月7日(星期日)上班"},
    NoticeDay{2013, 9, 29, WORK, "2013: 国庆节 9月29日(星期日)上班"},
    NoticeDay{2013, 10, 12, WORK, "2013: 国庆节 10月12日(星期六)上班"},
    NoticeDay{2014, 5, 31, REST, "2014: 端午节 6月2日放假, 与周末连休"},
    NoticeDay{2014, 6, 1, REST, "2014: 端午节 6月2日放假, 与周末连休"},
    NoticeDay{2014, 9, 6, REST, "2014: 中秋节 9月8日放假, 与周末连休"},
    NoticeDay{2014, 9, 7, REST, "2014: 中秋节 9月8日放假, 与周末连休"},
    NoticeDay{2015, 4, 4, NONE, "2015: 清明节 4月5日放假, 4月6日补休"},
    NoticeDay{2015, 4, 6, REST, "2015: 清明节 4月6日(星期一)补休"},
    NoticeDay{2015, 5, 2, REST, "2015: 劳动节 5月1日放假, 与周末连休"},
    NoticeDay{2015, 5, 3, REST, "2015: 劳动节 5月1日放假, 与周末连休"},
    NoticeDay{2015, 6, 21, REST, "2015: 端午节 6月20日放假, 6月22日补休"},
    NoticeDay{2015, 9, 5, REST, "2015: 抗战胜利纪念日 9月3日至5日调休放假"},
    NoticeDay{2015, 9, 6, WORK, "2015: 抗战胜利纪念日 9月6日(星期日)上班"},
    NoticeDay{2015, 9, 26, NONE, "2015: 中秋节 9月27日放假"},
    NoticeDay{2015, 10, 10, WORK, "2015: 国庆节 10月10日(星期六)上班"},
    NoticeDay{2016, 1, 2, REST, "2016: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2016, 1, 3, REST, "2016: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2016, 4, 2, REST, "2016: 清明节 4月4日放假, 与周末连休"},
    NoticeDay{2016, 4, 3, REST, "2016: 清明节 4月4日放假, 与周末连休"},
    NoticeDay{2016, 4, 30, NONE, "2016: 劳动节 5月1日放假, 5月2日补休"},
    NoticeDay{2016, 12, 31, NONE, "2017: 元旦 1月1日放假, 1月2日补休"},
    NoticeDay{2017, 1, 2, REST, "2017: 元旦 1月2日(星期一)补休"},
    NoticeDay{2017, 4, 29, REST, "2017: 劳动节 5月1日放假, 与周末连休"},
    NoticeDay{2017, 4, 30, REST, "2017: 劳动节 5月1日放假, 与周末连休"},
    NoticeDay{2017, 12, 30, REST, "2018: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2017, 12, 31, REST, "2018: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2018, 6, 16, REST, "2018: 端午节 6月18日放假, 与周末连休"},
    NoticeDay{2018, 6, 17, REST, "2018: 端午节 6月18日放假, 与周末连休"},
    NoticeDay{2018, 9, 22, REST, "2018: 中秋节 9月24日放假, 与周末连休"},
    NoticeDay{2018, 9, 23, REST, "2018: 中秋节 9月24日放假, 与周末连休"},
    NoticeDay{2023, 12, 30, REST, "2024: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2023, 12, 31, REST, "2024: 元旦 1月1日放假, 与周末连休"},
    NoticeDay{2024, 2, 4, WORK, "2024: 春节 2月4日(星期日)上班"},
    NoticeDay{2024, 2, 9, NONE, "2024: 春节 2月10日至17日; 除夕 only encouraged"},
    NoticeDay{2024, 2, 17, REST, "2024: 春节 2月10日至17日放假调休"},
    NoticeDay{2024, 2, 18, WORK, "2024: 春节 2月18日(星期日)上班"},
    NoticeDay{2024, 6, 8, REST, "2024: 端午节 6月10日放假, 与周末连休"},
    NoticeDay{2024, 6, 9, REST, "2024: 端午节 6月10日放假, 与周末连休"},
    NoticeDay{2025, 9, 28, WORK, "2025: 国庆节 9月28日(星期日)上班"},
    NoticeDay{2025, 10, 8, REST, "2025: 国庆节、中秋节 10月1日至8日放假调休"},
    NoticeDay{2025, 10, 11, WORK, "2025: 国庆节 10月11日(星期六)上班"},
    NoticeDay{2026, 2, 14, WORK, "2026: 春节 2月14日(星期六)上班"},
    NoticeDay{2026, 2, 15, REST, "2026: 春节 2月15日至23日放假调休"},
    NoticeDay{2026, 2, 23, REST, "2026: 春节 2月15日至23日放假调休"},
    NoticeDay{2026, 2, 28, WORK, "2026: 春节 2月28日(星期六)上班"}),
    [](const auto& info) {
        const NoticeDay& d = info.param;
        return std::to_string(d.year) + "_" + std::to_string(d.month) + "_" + std::to_string(d.day);
    });

TEST(BuiltInHolidaysTableTest, EveryYearHasItsHolidaysAndWorkDaysFallOnWeekends) {
    EXPECT_EQ(FirstBuiltInHolidayYear(), 2004);
    EXPECT_GE(LastBuiltInHolidayYear(), 2026);
    for (int year = FirstBuiltInHolidayYear(); year <= LastBuiltInHolidayYear(); ++year) {
        std::vector<HolidayDay> days = HolidayCalendar::BuiltIn().DaysOf(year);
        EXPECT_GE(days.size(), 20u) << year;
        bool springFestival = false, nationalDay = false;
        for (const HolidayDay& day : days) {
            if (day.mark == DayMark::Work) {
                int weekday = DayOfWeek(day.year, day.month, day.day);
                EXPECT_TRUE(weekday == 0 || weekday == 6) << day.year << '-' << day.month << '-' << day.day;
            }
            springFestival |= day.mark == DayMark::Rest && day.name == "春节";
            nationalDay |= day.mark == DayMark::Rest && day.month == 10 && day.day == 1;
        }
        EXPECT_TRUE(springFestival && nationalDay) << year;
    }
    EXPECT_STREQ(HolidayCalendar::BuiltIn().NameOf(2025, 10, 1), "国庆节");
    EXPECT_EQ(HolidayCalendar::BuiltIn().NameOf(2025, 10, 9), nullptr);
}

TEST(HolidayTextTest, GoodAndBadLines) {
    const char* text =
        "# 2027 年的安排\r\n"
        "2027-01-01 休 元旦\r\n"
        "\r\n"
        "2027-02-06\t休\t春节   # 除夕前一天\n"
        "　2027-02-07　班\n"  // full-width blanks, as a Chinese input method types them
        "2027-02-08 休 春 节\n"
        "2027-02-30 休 春节\n"
        "2027-02-09 放 春节\n"
        "2027-02-10 休\n"
        "2027-01-01 班\n"
        "27-02-11 休 春节\n"
        "2101-01-01 休 元旦\n"
        "2027-02-12";
    HolidayFileText parsed = ParseHolidayText(text);
    ASSERT_EQ(parsed.days.size(), 4u);
    EXPECT_EQ(parsed.days[0].month, 1);
    EXPECT_EQ(parsed.days[0].name, "元旦");
    EXPECT_EQ(parsed.days[1].day, 6);
    EXPECT_EQ(parsed.days[1].name, "春节");
    EXPECT_EQ(parsed.days[2].mark, DayMark::Work);
    EXPECT_EQ(parsed.days[2].name, "");
    EXPECT_EQ(parsed.days[3].name, "春 节");

    std::vector<int> badNumbers;
    for (const BadHolidayLine& bad : parsed.badLines) badNumbers.push_back(bad.number);
    EXPECT_EQ(badNumbers, (std::vector<int>{7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(parsed.badLines[0].text, "2027-02-30 休 春节");
    EXPECT_NE(parsed.badLines[3].reason.find("已经写过"), std::string::npos);
}

// The parser compares the file's text with the marks as GB18030 bytes,
// whatever its compiler made of its literals: they are those of 休 and 班.
static_assert(std::string_view("休") == "\xD0\xDD" && std::string_view("班") == "\xB0\xE0");
static_assert(std::string_view("　") == "\xA1\xA1" && std::string_view("…") == "\xA1\xAD");

TEST(HolidayTextTest, TheMarksAreTheGb18030OfTheirCharacters) {
    EXPECT_EQ(std::string_view(DayMarkText(DayMark::Rest)), "\xD0\xDD");
    EXPECT_EQ(std::string_view(DayMarkText(DayMark::Work)), "\xB0\xE0");
    EXPECT_EQ(ParseHolidayText("2027-02-06 \xD0\xDD 春节\n2027-02-07 \xB0\xE0\n").days.size(), 2u);
}

TEST(HolidayTextTest, ALineOfBlanksOfAnyMixIsEmpty) {
    const char* lines[] = {"　 　", "　", " ", "\t", "\t　 \r", "　　\t  ", " 　 # 注释", "　\r"};
    for (const char* line : lines) {
        HolidayFileText parsed = ParseHolidayText(std::string(line) + "\n2027-02-07 班\n" + line);
        EXPECT_EQ(parsed.days.size(), 1u) << line;
        EXPECT_TRUE(parsed.badLines.empty()) << line;
    }
    // Blanks of any mix around the fields and after the name.
    HolidayFileText parsed = ParseHolidayText(" 　2027-02-06 　休\t　春节 　\t\r\n");
    ASSERT_EQ(parsed.days.size(), 1u);
    EXPECT_EQ(parsed.days[0].name, "春节");
    // A name ending in a character whose last byte is that of a full-width
    // blank's first (啊 is B0 A1) keeps it.
    parsed = ParseHolidayText("2027-02-06 休 啊\n");
    ASSERT_EQ(parsed.days.size(), 1u);
    EXPECT_EQ(parsed.days[0].name, "啊");
}

TEST(HolidayTextTest, TheDatesTakenAreThoseThatHaveALunarDate) {
    // The lunar calendar's first day is 1900-01-31; the last page ends 2100-12-31.
    HolidayFileText parsed =
        ParseHolidayText("1900-01-30 休 甲\n1900-01-31 休 乙\n2100-12-31 休 丙\n2101-01-01 休 丁\n");
    ASSERT_EQ(parsed.days.size(), 2u);
    EXPECT_EQ(parsed.days[0].name, "乙");
    EXPECT_EQ(parsed.days[1].name, "丙");
    ASSERT_EQ(parsed.badLines.size(), 2u);
    for (const BadHolidayLine& bad : parsed.badLines) {
        EXPECT_NE(bad.reason.find("1900-01-31"), std::string::npos) << bad.reason;
        EXPECT_NE(bad.reason.find("2100-12-31"), std::string::npos) << bad.reason;
    }
}

TEST(HolidayTextTest, ABadLineIsShownReadably) {
    // A NUL would end a message where it stands; a 250 KB line would fill
    // more than the screen.
    const std::string withNul("2027-02-06 休\0春节", 18);
    const std::string longLine = "2027-02-06 放 " + std::string(250 * 1024, 'x');
    HolidayFileText parsed = ParseHolidayText(withNul + "\n" + longLine + "\r\n");
    ASSERT_EQ(parsed.badLines.size(), 2u);
    EXPECT_EQ(parsed.badLines[0].text, "2027-02-06 休�春节");
    EXPECT_EQ(parsed.badLines[1].text, "2027-02-06 放 " + std::string(60 - 13, 'x') + "…");
}

TEST(HolidayCalendarTest, AYearInTheFileReplacesThatYearEntirely) {
    HolidayCalendar calendar;
    calendar.ReplaceYears(ParseHolidayText("2025-10-09 休 自定\n2027-02-06 休 春节\n").days);
    EXPECT_EQ(calendar.MarkOf(2025, 10, 9), DayMark::Rest);
    EXPECT_EQ(calendar.MarkOf(2025, 10, 1), DayMark::None);  // the built-in 2025 is gone
    EXPECT_EQ(calendar.MarkOf(2025, 9, 28), DayMark::None);
    EXPECT_EQ(calendar.DaysOf(2025).size(), 1u);
    EXPECT_EQ(calendar.MarkOf(2024, 10, 1), DayMark::Rest);  // other years keep theirs
    EXPECT_EQ(calendar.MarkOf(2027, 2, 6), DayMark::Rest);
    EXPECT_EQ(HolidayCalendar::BuiltIn().MarkOf(2025, 10, 1), DayMark::Rest);
}

TEST(HolidayCalendarTest, ThePageCarriesTheMarks) {
    auto page = std::make_unique<MonthPage>();
    page->Build(2025, 10, 0);
    EXPECT_EQ(page->cells[1].dayMark, DayMark::Rest);
    EXPECT_EQ(page->cells[8].dayMark, DayMark::Rest);
    EXPECT_EQ(page->cells[9].dayMark, DayMark::None);
    EXPECT_EQ(page->cells[11].dayMark, DayMark::Work);
    EXPECT_STREQ(page->cells[1].lunarText, "国庆");  // the lunar text is untouched

    HolidayCalendar own;
    own.ReplaceYears(ParseHolidayText("2025-10-09 休 自定\n").days);
    page->holidays = &own;
    page->Build(2025, 10, 0);
    EXPECT_EQ(page->cells[1].dayMark, DayMark::None);
    EXPECT_EQ(page->cells[9].dayMark, DayMark::Rest);
}

}  // namespace
}  // namespace almanac
