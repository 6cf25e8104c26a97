// The user's own rest and work days: the optional plain-text file
// 节假日安排.txt in the notes folder, in UTF-8 (with or without a byte order
// mark), UTF-16 with a byte order mark (Notepad's "Unicode") or GB18030. It
// is only ever read. A year that appears in it replaces that year's
// built-in arrangement (engine/Holidays.h has the line format).
#pragma once

#include "engine/Holidays.h"
#include "store/NotesFolder.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace almanac {

// Far more than a century of arrangements (some 40 lines a year); a larger
// file is no holiday file and is not read.
inline constexpr std::size_t HOLIDAY_FILE_MAX_BYTES = 256 * 1024;

struct HolidayFileReading {
    enum class Status {
        Read,        // text holds the days and the bad lines
        Missing,     // no such file: the built-in arrangements stand
        Unreadable,  // could not be read (held by another program, no access)
        NotAFile,    // a folder, a device, a pipe
        TooLarge,    // larger than HOLIDAY_FILE_MAX_BYTES
    };
    Status status = Status::Missing;
    int systemError = 0;  // when Unreadable
    HolidayFileText text;
};

// Reads and parses the file at path (GB18030, relative to the current
// folder or absolute).
HolidayFileReading ReadHolidayFile(std::string_view path);

// The file's bytes as GB18030: UTF-16 (little or big endian) or UTF-8 by
// their byte order mark; else UTF-8 when the bytes are UTF-8, or when most
// lines with characters past ASCII are (a stray byte damages its own line
// only, which is then reported); else GB18030 as they are.
std::string HolidayFileTextAsGb18030(std::string_view bytes);

// What to tell the user, once, about a file that could not be used or held
// bad lines (GB18030, naming the file and each skipped line); empty when
// there is nothing to say.
std::string HolidayFileProblem(const HolidayFileReading& reading, std::string_view fileName);

// The rest and work days the calendar marks: the built-in ones with the
// years of the notes folder's 节假日安排.txt in their place.
class UserHolidays {
public:
    const HolidayCalendar& Calendar() const { return calendar_; }

    // Reads the file again. Returns what to tell the user about it, when
    // that differs from what the last read found (the file was mended, or
    // broke in another way); empty otherwise. A file that cannot be read
    // now (another program holds it) leaves the days as they were.
    std::string Reload(const NotesFolder& folder);
    // The last Reload changed the days marked.
    bool DaysChanged() const { return daysChanged_; }

private:
    HolidayCalendar calendar_;
    std::string problem_;
    bool daysChanged_ = false;
};

}  // namespace almanac
