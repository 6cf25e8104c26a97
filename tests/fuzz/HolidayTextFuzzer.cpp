// The holiday file's reader on any bytes the file may hold (the user's own
// file, in any encoding an editor saves): decoding and parsing must never
// touch memory outside their buffers, and what they give must hold what
// the calendar relies on.
#include "engine/Holidays.h"
#include "engine/PageRange.h"
#include "store/HolidayFile.h"

#include <cstdint>
#include <cstdlib>
#include <set>
#include <string_view>

namespace {

using namespace almanac;

void Check(bool condition) {
    if (!condition) std::abort();
}

// The longest bad line shown: 60 characters of at most 4 bytes and "…".
constexpr std::size_t kLongestShownLine = 60 * 4 + 2;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const HolidayFileText parsed = ParseHolidayText(HolidayFileTextAsGb18030(bytes));
    std::set<int> dates;
    for (const HolidayDay& day : parsed.days) {
        Check(IsPageDay(day.year, day.month, day.day));
        Check(day.mark == DayMark::Rest || day.mark == DayMark::Work);
        Check(day.mark == DayMark::Work || !day.name.empty());
        Check(dates.insert((day.year * 100 + day.month) * 100 + day.day).second);
    }
    int previous = 0;
    for (const BadHolidayLine& bad : parsed.badLines) {
        Check(bad.number > previous);
        previous = bad.number;
        Check(bad.text.size() <= kLongestShownLine);
        Check(bad.text.find('\0') == std::string::npos && bad.reason.find('\0') == std::string::npos);
    }
    // The raw parser too, on bytes that no decoder saw.
    const HolidayFileText raw = ParseHolidayText(bytes);
    for (const BadHolidayLine& bad : raw.badLines) Check(bad.text.find('\0') == std::string::npos);
    return 0;
}
