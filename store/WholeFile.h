// Whole-file operations on paths relative to the current directory, written
// with backslash separators ("日历\200612") in GB18030, as the note store and
// the memo pad name their files. A write is complete or absent: the data goes
// to a temporary file in the same folder, reaches the disk, and then replaces
// the old file in one step.
#pragma once

#include <string>
#include <string_view>

namespace almanac {

struct FileContents {
    enum class Status { Read, Missing, Unreadable };
    Status status = Status::Missing;
    std::string bytes;    // the whole file when Read
    int systemError = 0;  // errno or GetLastError when Unreadable
};

FileContents ReadWholeFile(std::string_view path);

// 0 when the file now holds exactly data; -1 when it could not be written,
// and then the old file is untouched. *systemError receives the cause.
int WriteWholeFile(std::string_view path, std::string_view data, int* systemError = nullptr);

// 0 when the file is gone (or was never there), -1 when it stays.
int RemoveFile(std::string_view path, int* systemError = nullptr);

// Writes a file that does not exist yet: 0 when written, 1 when a file of
// that name exists (nothing is written), -1 on failure.
int CreateNewFile(std::string_view path, std::string_view data, int* systemError = nullptr);

// The operating system's own words for a systemError, in GB18030.
std::string SystemErrorText(int systemError);

}  // namespace almanac
