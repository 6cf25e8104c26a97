#include "engine/Holidays.h"

#include "engine/GregorianCalendar.h"
#include "engine/PageRange.h"

#include <algorithm>
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

// Blanks between fields: ASCII blanks and tabs, and the full-width blank
// (GB18030 A1 A1) that a Chinese input method types.
bool IsBlankAt(std::string_view text, std::size_t i, std::size_t& length) {
    if (text[i] == ' ' || text[i] == '\t') {
        length = 1;
        return true;
    }
    if (i + 1 < text.size() && text[i] == '\xA1' && text[i + 1] == '\xA1') {
        length = 2;
        return true;
    }
    return false;
}

// The bytes of one GB18030 character starting at i.
std::size_t CharacterLength(std::string_view text, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x81 || c == 0xFF) return 1;
    if (i + 1 < text.size() && text[i + 1] >= '0' && text[i + 1] <= '9') return std::min<std::size_t>(4, text.size() - i);
    return std::min<std::size_t>(2, text.size() - i);
}

// Splits a line into blank-separated fields; the third field takes the
// rest of the line (a name may hold blanks).
std::vector<std::string> Fields(std::string_view line) {
    std::vector<std::string> fields;
    std::string current;
    for (std::size_t i = 0; i < line.size();) {
        std::size_t blank = 0;
        if (fields.size() < 2 && IsBlankAt(line, i, blank)) {
            if (!current.empty()) fields.push_back(std::move(current));
            current.clear();
            i += blank;
            continue;
        }
        std::size_t length = CharacterLength(line, i);
        current.append(line.substr(i, length));
        i += length;
    }
    // Trailing blanks of the name.
    for (std::size_t blank = 0; !current.empty();) {
        if (current.back() == ' ' || current.back() == '\t') {
            current.pop_back();
        } else if (current.size() >= 2 && IsBlankAt(current, current.size() - 2, blank) && blank == 2) {
            current.resize(current.size() - 2);
        } else {
            break;
        }
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

// The line without its comment and the blanks around it.
std::string_view Content(std::string_view line) {
    if (std::size_t hash = line.find('#'); hash != std::string_view::npos) line = line.substr(0, hash);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r')) line.remove_suffix(1);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) line.remove_prefix(1);
    while (line.size() >= 2 && line[0] == '\xA1' && line[1] == '\xA1') line.remove_prefix(2);
    return line;
}

}  // namespace

const char* DayMarkText(DayMark mark) {
    switch (mark) {
        case DayMark::Rest: return "休";
        case DayMark::Work: return "班";
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

        auto bad = [&](const char* reason) {
            std::string shown(line);
            if (!shown.empty() && shown.back() == '\r') shown.pop_back();
            result.badLines.push_back({number, std::move(shown), reason});
        };
        std::vector<std::string> fields = Fields(content);
        HolidayDay day;
        if (!ParseDate(fields[0], day.year, day.month, day.day)) {
            bad("日期应为 YYYY-MM-DD，且在 1900 至 2100 年之间");
            continue;
        }
        if (fields.size() < 2 || (fields[1] != "休" && fields[1] != "班")) {
            bad("日期后应为“休”或“班”");
            continue;
        }
        day.mark = fields[1] == "休" ? DayMark::Rest : DayMark::Work;
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
