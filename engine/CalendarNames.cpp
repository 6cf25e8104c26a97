#include "engine/CalendarNames.h"

#include <array>
#include <cstddef>

namespace almanac {
namespace {

// Every name here is built at compile time from the character tables, so
// the functions hand out constant texts and keep no buffer between calls.

constexpr const char* Stems[10] = {"甲", "乙", "丙", "丁", "戊", "己", "庚", "辛", "壬", "癸"};
constexpr const char* Branches[12] = {"子", "丑", "寅", "卯", "辰", "巳", "午", "未", "申", "酉", "戌", "亥"};
constexpr const char* Animals[12] = {"鼠", "牛", "虎", "兔", "龙", "蛇", "马", "羊", "猴", "鸡", "狗", "猪"};
constexpr const char* MonthNames[13] = {"", "正", "二", "三", "四", "五", "六", "七", "八", "九", "十", "十一", "十二"};
constexpr const char* DayPrefixes[3] = {"初", "十", "廿"};
constexpr const char* DayDigits[10] = {"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"};
constexpr const char* WeekdayNames[8] = {"日", "一", "二", "三", "四", "五", "六", "日"};
constexpr const char* LeapPrefix = "闰";

// A short name: up to five two-byte characters and the terminator.
struct Name {
    char text[12] = {};

    constexpr Name() = default;
    constexpr Name(const char* first, const char* second = "") {
        std::size_t n = 0;
        for (const char* p : {first, second})
            while (*p) text[n++] = *p++;
    }
};

constexpr int Mod(int value, int modulus) { return ((value % modulus) + modulus) % modulus; }

constexpr auto StemBranchNames = [] {
    std::array<Name, 60> names;
    for (int i = 0; i < 60; ++i) names[i] = Name(Stems[i % 10], Branches[i % 12]);
    return names;
}();

// Index 0 … 12 regular months, 13 … 25 the leap months.
constexpr auto LunarMonthNames = [] {
    std::array<Name, 26> names;
    for (int m = 0; m <= 12; ++m) {
        names[m] = Name(MonthNames[m]);
        names[13 + m] = Name(LeapPrefix, MonthNames[m]);
    }
    return names;
}();

// 二十 and 三十 are spoken in full; every other day is prefix and digit.
constexpr auto LunarDayNames = [] {
    std::array<Name, 31> names;
    for (int d = 1; d <= 30; ++d) names[d] = Name(DayPrefixes[(d - 1) / 10], DayDigits[(d - 1) % 10]);
    names[20] = Name("二十");
    names[30] = Name("三十");
    return names;
}();

struct LunarFestival {
    int month, day;
    const char* name;
};
constexpr LunarFestival LunarFestivals[] = {
    {1, 1, "春节"}, {1, 2, "初二"}, {1, 3, "初三"}, {1, 15, "元宵节"},
    {5, 5, "端午"}, {7, 7, "七夕节"}, {8, 15, "中秋"}, {9, 9, "重阳节"},
};
constexpr const char* NewYearsEve = "除夕";

struct GregorianHoliday {
    int month, day;
    const char* name;
};
constexpr GregorianHoliday GregorianHolidays[] = {
    {1, 1, "元旦"}, {5, 1, "劳动节"}, {6, 1, "儿童节"}, {10, 1, "国庆"},
};

}  // namespace

const char* StemBranchName(int index) { return StemBranchNames[Mod(index, 60)].text; }

const char* ZodiacName(int year) { return Animals[Mod(year - 4, 12)]; }

const char* LunarMonthName(int month, bool leap) {
    if (month < 0 || month > 12) return "";
    return LunarMonthNames[(leap ? 13 : 0) + month].text;
}

const char* LunarDayName(int day) {
    if (day < 1 || day > 30) return "";
    return LunarDayNames[day].text;
}

const char* WeekdayName(int index) {
    if (index < 0 || index > 7) return "";
    return WeekdayNames[index];
}

const char* LunarFestivalName(const LunarDate& date) {
    // New Year's Eve is the last day of the twelfth month; in a year whose
    // leap month is the twelfth, the last day of the leap one.
    if (date.month == 12 && date.day == date.monthLength)
        return !date.matchesLeapMonth || date.isLeapMonth ? NewYearsEve : nullptr;
    if (date.isLeapMonth) return nullptr;  // no festival falls in a leap month
    for (const auto& festival : LunarFestivals)
        if (festival.month == date.month && festival.day == date.day) return festival.name;
    return nullptr;
}

const char* GregorianHolidayName(int month, int day) {
    for (const auto& holiday : GregorianHolidays)
        if (holiday.month == month && holiday.day == day) return holiday.name;
    return nullptr;
}

}  // namespace almanac
