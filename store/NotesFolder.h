// The notes folder ("我的记事" under the user's documents folder) and the
// names of the files in it. Every note file, the memo and the holiday file
// are reached through one of these, by full path: nothing depends on the
// process's current directory. Paths are GB18030 with backslash separators,
// as Windows writes them (the POSIX build's file layer turns them into '/').
#pragma once

#include <string>
#include <string_view>

namespace almanac {

// The user's own rest and work days, in the notes folder.
inline constexpr const char* HOLIDAY_FILE_NAME = "节假日安排.txt";

class NotesFolder {
public:
    // folder: the notes folder's full path, without a trailing separator.
    explicit NotesFolder(std::string folder) : folder_(std::move(folder)) {}

    const std::string& Path() const { return folder_; }
    // A file or folder in the notes folder, by its path relative to it.
    std::string PathOf(std::string_view relative) const { return folder_ + "\\" + std::string(relative); }

    // "日历\<year><month, two digits>": one-off notes of a month; year 1
    // holds the Gregorian-yearly notes of a month, year 0 the lunar-yearly
    // notes of a lunar month.
    std::string MonthFile(int year, int month) const;
    // "日历\week": the weekday reminders.
    std::string WeekFile() const { return PathOf(CALENDAR_FOLDER + std::string("\\week")); }
    // "备忘\default": the memo pad's text.
    std::string MemoFile() const { return PathOf(MEMO_FOLDER + std::string("\\default")); }
    // "节假日安排.txt": the user's own rest and work days.
    std::string HolidayFile() const;

    static constexpr const char* CALENDAR_FOLDER = "日历";
    static constexpr const char* MEMO_FOLDER = "备忘";

private:
    std::string folder_;
};

}  // namespace almanac
