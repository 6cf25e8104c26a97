#include "engine/Holidays.h"

#include "engine/GregorianCalendar.h"
#include "engine/PageRange.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace almanac {
namespace {

struct BuiltInDay {
    int year, month, day;
    DayMark mark;
    const char* name;
};

constexpr DayMark REST = DayMark::Rest;
constexpr DayMark WORK = DayMark::Work;

constexpr BuiltInDay BuiltInDays[] = {
#include "engine/HolidayTable.inc"
};

constexpr int DateKey(int year, int month, int day) { return (year * 100 + month) * 100 + day; }
int DateKey(const HolidayDay& day) { return DateKey(day.year, day.month, day.day); }

constexpr bool IsSortedByDate() {
    for (std::size_t i = 1; i < std::size(BuiltInDays); ++i) {
        const BuiltInDay &a = BuiltInDays[i - 1], &b = BuiltInDays[i];
        if (DateKey(a.year, a.month, a.day) >= DateKey(b.year, b.month, b.day)) return false;
    }
    return true;
}
static_assert(IsSortedByDate(), "the built-in table holds each date once, in order");

bool ByDate(const HolidayDay& a, const HolidayDay& b) { return DateKey(a) < DateKey(b); }

// The marks and the full-width blank as the GB18030 bytes the file's text
// is compared with, written out so that every compiler's literals agree.
constexpr std::string_view REST_MARK = "\xD0\xDD";       // 休
constexpr std::string_view WORK_MARK = "\xB0\xE0";       // 班
constexpr std::string_view FULL_WIDTH_BLANK = "\xA1\xA1";  // U+3000
constexpr std::string_view ELLIPSIS = "\xA1\xAD";          // …
constexpr std::string_view REPLACEMENT = "\x84\x31\xA4\x37";  // U+FFFD

// The bytes of one GB18030 character starting at i.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x81 || c == 0xFF) return 1;
    if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') return std::min<std::size_t>(4, text.size() - i);
    return std::min<std::size_t>(2, text.size() - i);
}

// Whether a whole, well-formed GB18030 character starts at i: one byte
// below 0x80, two bytes (81–FE, then 40–7E or 80–FE) or four (81–FE,
// 30–39, 81–FE, 30–39).
bool IsCharacterAt(std::string_view text, std::size_t i) {
    auto byte = [&](std::size_t k) { return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0u; };
    auto lead = [](unsigned c) { return c >= 0x81 && c <= 0xFE; };
    auto digit = [](unsigned c) { return c >= 0x30 && c <= 0x39; };
    if (byte(0) < 0x80) return true;
    if (!lead(byte(0))) return false;
    if (digit(byte(1))) return lead(byte(2)) && digit(byte(3));
    return byte(1) >= 0x40 && byte(1) <= 0xFE && byte(1) != 0x7F;
}

bool IsWellFormed(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i))
        if (!IsCharacterAt(text, i)) return false;
    return true;
}

// Blanks between fields: ASCII blanks and tabs, and the full-width blank
// that a Chinese input method types. The blank's length in bytes at i, 0
// when the character there is no blank.
std::size_t BlankAt(std::string_view text, std::size_t i) {
    if (text[i] == ' ' || text[i] == '\t') return 1;
    if (text.substr(i, FULL_WIDTH_BLANK.size()) == FULL_WIDTH_BLANK) return FULL_WIDTH_BLANK.size();
    return 0;
}

// The text without the blanks, of any mix, at its ends. Walks characters
// from the front: a full-width blank's bytes may end another character.
std::string_view TrimBlanks(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size() && BlankAt(text, begin) != 0) begin += BlankAt(text, begin);
    std::size_t end = begin;
    for (std::size_t i = begin; i < text.size();) {
        if (std::size_t blank = BlankAt(text, i)) {
            i += blank;
        } else {
            i += CharacterLength(text, i);
            end = i;
        }
    }
    return text.substr(begin, end - begin);
}

// Splits a line without blanks at its ends into blank-separated fields;
// the third field takes the rest of the line (a name may hold blanks).
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    for (std::size_t i = 0; i < line.size();) {
        if (std::size_t blank = BlankAt(line, i); blank != 0 && (fields.size() < 2 || current.empty())) {
            if (!current.empty()) fields.push_back(std::move(current));
            current.clear();
            i += blank;
            continue;
        }
        std::size_t length = CharacterLength(line, i);
        current.append(line.substr(i, length));
        i += length;
    }
    if (!current.empty()) fields.push_back(std::move(current));
    return fields;
}

bool ParseDate(std::string_view text, int& year, int& month, int& day) {
    GregorianDate date;
    if (!ParseIsoDate(text, date)) return false;
    year = date.year, month = date.month, day = date.day;
    return IsPageDay(year, month, day);
}

// The line without its comment, its line end and the blanks around it.
// ('#' is never a byte of a GB18030 character.)
std::string_view Content(std::string_view line) {
    if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return TrimBlanks(line);
}

std::string IsoDate(GregorianDate date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}

// A bad line as a message shows it: control characters (a NUL would end
// the message there) as U+FFFD, and no longer than a reader takes in.
std::string ShownLine(std::string_view line) {
    constexpr std::size_t kShownCharacters = 60;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::string shown;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < line.size(); ++characters) {
        if (characters == kShownCharacters) {
            shown += ELLIPSIS;
            break;
        }
        std::size_t length = IsCharacterAt(line, i) ? CharacterLength(line, i) : 1;
        unsigned char c = static_cast<unsigned char>(line[i]);
        if (!IsCharacterAt(line, i) || (c < 0x20 && c != '\t') || c == 0x7F) shown += REPLACEMENT;
        else shown.append(line.substr(i, length));
        i += length;
    }
    return shown;
}

}  // namespace

const char* DayMarkText(DayMark mark) {
    switch (mark) {
        case DayMark::Rest: return REST_MARK.data();
        case DayMark::Work: return WORK_MARK.data();
        default: return "";
    }
}

int FirstBuiltInHolidayYear() { return BuiltInDays[0].year; }
int LastBuiltInHolidayYear() { return BuiltInDays[std::size(BuiltInDays) - 1].year; }

HolidayFileText ParseHolidayText(std::string_view text) {
    HolidayFileText result;
    std::set<int> seen;
    int number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        std::string_view content = Content(line);
        if (content.empty()) continue;

        auto bad = [&](std::string reason) { result.badLines.push_back({number, ShownLine(line), std::move(reason)}); };
        std::vector<std::string> fields = Fields(content);
        if (fields.empty()) continue;  // never so: content starts with a character that is no blank
        if (!IsWellFormed(content)) {
            bad("有不成字的字节，文件的编码可能不对");
            continue;
        }
        HolidayDay day;
        if (!ParseDate(fields[0], day.year, day.month, day.day)) {
            bad("日期应为 YYYY-MM-DD，且在 " + IsoDate(FIRST_DAY) + " 至 " + IsoDate(LAST_DAY) + " 之间");
            continue;
        }
        if (fields.size() < 2 || (fields[1] != REST_MARK && fields[1] != WORK_MARK)) {
            bad("日期后应为“休”或“班”");
            continue;
        }
        day.mark = fields[1] == REST_MARK ? DayMark::Rest : DayMark::Work;
        if (fields.size() > 2) day.name = fields[2];
        if (day.mark == DayMark::Rest && day.name.empty()) {
            bad("“休”后应写节日名称");
            continue;
        }
        if (!seen.insert(DateKey(day)).second) {
            bad("这一天前面已经写过");
            continue;
        }
        result.days.push_back(std::move(day));
    }
    return result;
}

HolidayCalendar::HolidayCalendar() {
    days_.reserve(std::size(BuiltInDays));
    for (const BuiltInDay& day : BuiltInDays) days_.push_back({day.year, day.month, day.day, day.mark, day.name});
}

void HolidayCalendar::ReplaceYears(const std::vector<HolidayDay>& days) {
    std::set<int> years;
    for (const HolidayDay& day : days) years.insert(day.year);
    std::erase_if(days_, [&](const HolidayDay& day) { return years.count(day.year) != 0; });
    days_.insert(days_.end(), days.begin(), days.end());
    std::stable_sort(days_.begin(), days_.end(), ByDate);
}

const HolidayDay* HolidayCalendar::Find(int year, int month, int day) const {
    HolidayDay key{year, month, day, DayMark::None, {}};
    auto found = std::lower_bound(days_.begin(), days_.end(), key, ByDate);
    if (found == days_.end() || DateKey(*found) != DateKey(key)) return nullptr;
    return &*found;
}

DayMark HolidayCalendar::MarkOf(int year, int month, int day) const {
    const HolidayDay* found = Find(year, month, day);
    return found ? found->mark : DayMark::None;
}

const char* HolidayCalendar::NameOf(int year, int month, int day) const {
    const HolidayDay* found = Find(year, month, day);
    return found ? found->name.c_str() : nullptr;
}

std::vector<HolidayDay> HolidayCalendar::DaysOf(int year) const {
    std::vector<HolidayDay> days;
    for (const HolidayDay& day : days_)
        if (day.year == year) days.push_back(day);
    return days;
}

const HolidayCalendar& HolidayCalendar::BuiltIn() {
    static const HolidayCalendar calendar;
    return calendar;
}

}  // namespace almanac
