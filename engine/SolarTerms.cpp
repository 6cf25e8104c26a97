#include "engine/SolarTerms.h"

namespace almanac {

const std::uint8_t SolarTermTable[] = {
#include "engine/SolarTermTable.inc"
};
static_assert(sizeof SolarTermTable == (LAST_TERM_YEAR - FIRST_TERM_YEAR + 1) * 72);

namespace {

constexpr const char* SolarTermNames[24] = {
    "小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
    "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至",
};

SolarTermRecord RecordAt(int offset) {
    return {SolarTermTable[offset], SolarTermTable[offset + 1], SolarTermTable[offset + 2]};
}

}  // namespace

void SolarTermDays(int year, int month, SolarTermRecord& first, SolarTermRecord& second) {
    if (year < FIRST_TERM_YEAR || year > LAST_TERM_YEAR || month < 1 || month > 12) {
        first = second = SolarTermRecord{};
        return;
    }
    int offset = ((year - FIRST_TERM_YEAR) * 12 + (month - 1)) * 6;
    first = RecordAt(offset);
    second = RecordAt(offset + 3);
}

const char* SolarTermName(int month, int which) {
    int index = 2 * month + which - 3;
    if (month < 1 || month > 12 || (which != 1 && which != 2)) return "";
    return SolarTermNames[index];
}

}  // namespace almanac
