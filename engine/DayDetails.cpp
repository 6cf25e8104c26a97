#include "engine/DayDetails.h"

#include "engine/CalendarNames.h"
#include "engine/LunarDate.h"
#include "engine/SolarTerms.h"

#include <array>
#include <cstddef>

namespace almanac {
namespace {

// The published facts the day count rests on: 1949-10-01 a 甲子 day,
// 2000-01-01 a 戊午 day (index 54), 2024-02-10 (春节) a 甲辰 day (index 40).
static_assert(DayStemBranchIndex(1949, 10, 1) == 0 && DayStemBranchIndex(2000, 1, 1) == 54 &&
              DayStemBranchIndex(2024, 2, 10) == 40);
static_assert(TermTimeOfDay(21, 60).hour == 22 && TermTimeOfDay(21, 60).minute == 0 &&
              TermTimeOfDay(23, 60).hour == 23 && TermTimeOfDay(23, 60).minute == 59);

constexpr int STEM_GENG = 6;  // 庚: 甲 0, 乙 1, 丙 2, 丁 3, 戊 4, 己 5, 庚 6
constexpr int SHU_JIU_DAYS = 81;
constexpr int FU_DAYS = 10;       // 初伏 and 末伏; 中伏 runs until 末伏: 10 or 20 days
constexpr int LONGEST_FU = 20;

// A text of up to five two-byte characters, two digits and the terminator.
struct Text {
    char bytes[16] = {};

    constexpr Text() = default;
    constexpr Text(const char* prefix, int number, const char* suffix) {
        std::size_t n = 0;
        while (*prefix) bytes[n++] = *prefix++;
        if (number >= 10) bytes[n++] = char('0' + number / 10);
        bytes[n++] = char('0' + number % 10);
        while (*suffix) bytes[n++] = *suffix++;
    }
};

constexpr const char* NineNames[9] = {"一九第", "二九第", "三九第", "四九第", "五九第",
                                      "六九第", "七九第", "八九第", "九九第"};

// 一九第1天 … 九九第9天 for the days 0 … 80 counted from the winter solstice.
constexpr auto ShuJiuTexts = [] {
    std::array<Text, SHU_JIU_DAYS> texts;
    for (int n = 0; n < SHU_JIU_DAYS; ++n) texts[n] = Text(NineNames[n / 9], n % 9 + 1, "天");
    return texts;
}();

enum Fu { ChuFu, ZhongFu, MoFu };
constexpr const char* FuNames[3] = {"初伏第", "中伏第", "末伏第"};

constexpr auto SanFuTexts = [] {
    std::array<std::array<Text, LONGEST_FU>, 3> texts;
    for (int fu = 0; fu < 3; ++fu)
        for (int n = 0; n < LONGEST_FU; ++n) texts[fu][n] = Text(FuNames[fu], n + 1, "天");
    return texts;
}();

int SerialOf(int year, int month, int day) { return SerialDay(year, month, day); }

// The first 庚 day counted from (and including) a day.
int FirstGengDayFrom(int serial) {
    const int stem = ((serial - SerialDay(1949, 10, 1)) % 10 + 10) % 10;  // 1949-10-01 was a 甲 day
    return serial + (STEM_GENG - stem + 10) % 10;
}

// The serial day of a Gregorian month's first (which = 1) or second term.
int TermSerialDay(int year, int month, int which) {
    SolarTermRecord first, second;
    SolarTermDays(year, month, first, second);
    return SerialOf(year, month, which == 1 ? first.day : second.day);
}

// The sexagenary index of the month counted by the 节, the first term of
// each Gregorian month: from the day of the 节 of Gregorian month m of year
// y the month's branch is m mod 12 (立春 in February begins 寅, 大雪 in
// December 子, 小寒 in January 丑), and the months count on without a break,
// five years to the cycle; 1984-02 (立春 of the 甲子 year) began 丙寅, index 2.
int MonthStemBranchIndex(int year, int month, int day) {
    SolarTermRecord jie, zhongQi;
    SolarTermDays(year, month, jie, zhongQi);
    int months = 12 * (year - 1984) + month;  // the 节 month begun this Gregorian month
    if (day < jie.day) --months;               // before its 节: the month begun the month before
    return months;
}

// 数九: the 81 days from the day of the winter solstice. A date of January
// to March counts from the solstice of the year before.
const char* ShuJiuText(int year, int serial) {
    int solstice = TermSerialDay(year, 12, 2);
    if (serial < solstice) solstice = TermSerialDay(year - 1, 12, 2);
    const int n = serial - solstice;
    return n >= 0 && n < SHU_JIU_DAYS ? ShuJiuTexts[n].bytes : "";
}

// 三伏: 初伏 begins on the third 庚 day counted from the day of 夏至, 中伏
// on the fourth, 末伏 on the first 庚 day counted from the day of 立秋.
// 初伏 and 末伏 last 10 days; 中伏 lasts until 末伏.
const char* SanFuText(int year, int serial) {
    const int firstGeng = FirstGengDayFrom(TermSerialDay(year, 6, 2));  // 夏至
    const int chuFu = firstGeng + 20, zhongFu = firstGeng + 30;
    const int moFu = FirstGengDayFrom(TermSerialDay(year, 8, 1));  // 立秋
    if (serial >= chuFu && serial < chuFu + FU_DAYS) return SanFuTexts[ChuFu][serial - chuFu].bytes;
    if (serial >= zhongFu && serial < moFu) return SanFuTexts[ZhongFu][serial - zhongFu].bytes;
    if (serial >= moFu && serial < moFu + FU_DAYS) return SanFuTexts[MoFu][serial - moFu].bytes;
    return "";
}

}  // namespace

bool DayDetailsOf(int year, int month, int day, DayDetails& details) {
    if (!IsDetailsDay(year, month, day)) return false;
    const int serial = SerialOf(year, month, day);
    const LunarDate lunar = LunarDate::FromGregorian(year, month, day);

    DayDetails d;
    d.yearStemBranch = StemBranchName(lunar.year - 1864);  // 1864 was a 甲子 year
    d.zodiac = ZodiacName(lunar.year);
    d.monthStemBranch = StemBranchName(MonthStemBranchIndex(year, month, day));
    d.dayStemBranch = StemBranchName(DayStemBranchIndex(year, month, day));
    d.shuJiu = ShuJiuText(year, serial);
    d.sanFu = SanFuText(year, serial);

    SolarTermRecord first, second;
    SolarTermDays(year, month, first, second);
    for (int which = 1; which <= 2; ++which) {
        const SolarTermRecord& term = which == 1 ? first : second;
        if (term.day != day) continue;
        d.solarTerm = SolarTermName(month, which);
        d.solarTermTime = TermTimeOfDay(term.hour, term.minute);
    }

    const MoonPhaseTime phase = MoonPhaseOn(year, month, day);
    d.moonPhase = phase.phase;
    d.moonPhaseTime = {phase.hour, phase.minute};
    details = d;
    return true;
}

}  // namespace almanac
