// Whole-file operations on full paths written with backslash separators
// ("…\我的记事\日历\200612") in GB18030, as the note store and the memo pad
// name their files. A write is complete or absent: the data goes
// to a temporary file of its own in the same folder, reaches the disk, and
// then replaces the old file in one step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace almanac {

struct FileContents {
    enum class Status {
        Read,        // bytes holds the whole file
        Missing,     // no file of that name (or no folder)
        Unreadable,  // there, but not readable: held, forbidden, a folder, a pipe or a device
        TooLarge,    // larger than the reader's limit: bytes holds the first limit bytes
    };
    Status status = Status::Missing;
    std::string bytes;
    int systemError = 0;  // errno or GetLastError when Unreadable
};

inline constexpr std::size_t WHOLE_FILE_NO_LIMIT = SIZE_MAX;

// Reads a regular file whole, reading at most maxBytes + 1 bytes: a file
// longer than maxBytes is TooLarge. Anything else that bears the name (a
// folder, a pipe, a device) is Unreadable, and never waited for.
FileContents ReadWholeFile(std::string_view path, std::size_t maxBytes = WHOLE_FILE_NO_LIMIT);

// What a read that failed with systemError (errno or GetLastError) tells
// of the file: Missing only when no file (or folder) of that name is there.
// Every other cause is Unreadable: held, forbidden, or a sync service's
// placeholder that cannot be fetched now (OneDrive offline or not running,
// the ERROR_CLOUD_FILE_* errors). Such a file is never taken for a missing
// or empty one, which a save would replace.
FileContents::Status StatusOfFailedRead(int systemError);

// For the platform readers: one byte past maxBytes is read to tell a file
// that is too large, and the bytes so read make the result.
constexpr std::size_t ReadLimitFor(std::size_t maxBytes) {
    return maxBytes == WHOLE_FILE_NO_LIMIT ? maxBytes : maxBytes + 1;
}
inline FileContents ContentsRead(std::string bytes, std::size_t maxBytes) {
    if (bytes.size() <= maxBytes) return {FileContents::Status::Read, std::move(bytes), 0};
    bytes.resize(maxBytes);
    return {FileContents::Status::TooLarge, std::move(bytes), 0};
}

// What became of a write, a removal or a copy. On Failed, *systemError
// (where given) receives the cause, and nothing was changed.
enum class FileResult {
    Done,       // the file now is as asked
    NameTaken,  // a file of the new name exists: nothing was written
    NoSource,   // there is no file to copy
    Changed,    // another writer changed the file since it was read: nothing was written
    Failed,
};

// A version of a file as it was last read: its bytes, or no file at all.
using FileVersion = std::optional<std::string>;

// What was read is that version: no file for none, else the same bytes,
// read whole.
bool IsVersion(const FileContents& file, const FileVersion& version);
// The file at path still is that version.
bool StillHolds(std::string_view path, const FileVersion& version);

// Done when the file now holds exactly data; on failure the old file is
// untouched. A file marked read-only (no write permission) is not replaced.
// With replacing given, only that version of the file is replaced: it is
// compared with the file once the data is on disk, just before the rename
// (the moment between is all another writer has), and Changed tells that
// another writer got there first.
FileResult WriteWholeFile(std::string_view path, std::string_view data, int* systemError = nullptr,
                          const FileVersion* replacing = nullptr);

// Done when the file is gone (or was never there); a file marked read-only
// stays. With replacing given, only that version is removed (else Changed).
FileResult RemoveFile(std::string_view path, int* systemError = nullptr, const FileVersion* replacing = nullptr);

// Writes a file that does not exist yet: Done, or NameTaken (nothing is
// written), or Failed.
FileResult CreateNewFile(std::string_view path, std::string_view data, int* systemError = nullptr);

// Copies the regular file from to a file to that does not exist yet, however
// large: Done, NameTaken (nothing is written), NoSource, or Failed (then no
// file to is left).
FileResult CopyToNewFile(std::string_view from, std::string_view to, int* systemError = nullptr);

// The operating system's own words for a systemError, in GB18030.
std::string SystemErrorText(int systemError);

}  // namespace almanac
