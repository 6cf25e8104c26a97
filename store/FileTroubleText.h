// The words the user is told, once, of a file the program cannot use as it
// is: a note file or the memo that could not be read, that is larger than
// any the program writes, or that was found damaged. One place for them, so
// the grid's files and the memo speak alike. Every file is named by its full
// path, so the user can find it; GB18030.
#pragma once

#include <string>
#include <string_view>

namespace almanac {

class NoteTable;

// What the file is to the user, and what becomes of it meanwhile.
struct TroubledFile {
    std::string_view kind;             // "记事文件", "备忘"
    std::string_view path;             // full path
    std::string_view shownPart;        // what is shown of a damaged file: "能读出的记事"
    std::string_view whileUnreadable;  // what the program does until it can read it
};

// A note file of the page on show, and the memo pad's file.
TroubledFile NoteFile(std::string_view path);
TroubledFile MemoFile(std::string_view path);

// How a note table's last load found its file (NoteTable::FoundState), in
// words: unreadable, or damaged with its original kept or not.
std::string NoteFileTroubleText(const NoteTable& table);

// The file could not be read: the system's words for systemError.
std::string UnreadableFileText(const TroubledFile& file, int systemError);
// Larger than any file the program writes: not read, never replaced.
std::string OversizedFileText(const TroubledFile& file);
// Damaged: only part of it is shown. Its original was kept at copyPath, or,
// when copyPath is empty, could not be kept (systemError) and so the file is
// not replaced.
std::string DamagedFileText(const TroubledFile& file, std::string_view copyPath, int systemError);

}  // namespace almanac
