// The calendar's vocabulary: stem-branch years, zodiac animals, lunar month
// and day names, weekday names, lunar festivals and Gregorian holidays.
// Every text is a constant GB18030 (GB2312) string owned by this module;
// out-of-range arguments give the empty text.
#pragma once

#include "engine/LunarDate.h"

namespace almanac {

// Two characters: stem[index mod 10], branch[index mod 12]. For lunar year Y
// pass Y − 1864 (1864 is a 甲子 year).
const char* StemBranchName(int index);

// One character: the animal of the year, animal[(year − 4) mod 12].
const char* ZodiacName(int year);

// 正, 二 … 十, 十一, 十二, with 闰 before it for a leap month; callers append 月.
const char* LunarMonthName(int month, bool leap);

// 初一 … 初十, 十一 … 十九, 二十, 廿一 … 廿九, 三十.
const char* LunarDayName(int day);

// 日 一 二 三 四 五 六 日 for index 0 … 7 (0 and 7 both name Sunday).
const char* WeekdayName(int index);

// The festival of a lunar date, or nullptr: 春节, 初二, 初三, 元宵节, 端午,
// 七夕节, 中秋, 重阳节, and 除夕 on the last day of the year.
const char* LunarFestivalName(const LunarDate& date);

// The fixed Gregorian holiday of a date, or nullptr.
const char* GregorianHolidayName(int month, int day);

}  // namespace almanac
