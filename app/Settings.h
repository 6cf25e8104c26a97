// What the program keeps outside itself: its settings as decimal strings
// under HKEY_CURRENT_USER, its autostart entry in the user's Run key, and
// the notes folder under the user's documents folder.
#pragma once

#include "store/NotesFolder.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace almanac {

inline constexpr const char* SETTINGS_KEY = "SOFTWARE\\Orvane\\Kelvadar";
inline constexpr const char* RUN_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* AUTOSTART_VALUE = "Kelvadar";
// Every caller reads into this many bytes, terminator included.
inline constexpr std::size_t SETTING_BUFFER = 255;

// 0 and the value's text when it exists and fits the buffer; -1 otherwise.
int ReadSetting(std::string_view subkey, std::string_view name, std::string& text);
// 0, or -1 when the key cannot be created or the value set.
int WriteSetting(std::string_view subkey, std::string_view name, std::string_view text);

// A setting read as the C library's atoi reads: blanks, a sign, the digits
// up to the first other character; text without digits is 0.
std::optional<int> ReadNumberSetting(std::string_view name);
void WriteNumberSetting(std::string_view name, int value);
// A window's place, as the pair of settings xName and yName.
void WritePositionSettings(std::string_view xName, std::string_view yName, POINT position);

// Where a window of width × height meant for (x, y) goes so that it shows
// whole: onto the work area of the monitor nearest to it, pulled in from the
// edges it crosses (a window larger than the work area keeps its top-left
// corner there). Any x and y, however far off or gone their monitor.
POINT PlaceOnWorkArea(long long x, long long y, int width, int height);

// The full path of the running executable, in GB18030.
std::string ExecutablePath();

// On: the Run key's value names this executable; off: the value is deleted.
// The Run key is never created. Returns the registry's result.
long SetAutostart(bool on, std::string_view valueName);

// Makes the entry point at this executable unless it already does, byte
// for byte; true when it already did.
bool CheckAutostart();

// A folder of the notes that cannot be used: its path and why, in words.
struct FolderProblem {
    std::string path;
    std::string reason;
};

struct NotesFolderCheck {
    // The notes folder, once it is there (made when it was not).
    std::optional<NotesFolder> folder;
    // The notes folder could not be made: nothing else was tried.
    std::optional<FolderProblem> notesFolder;
    // "日历" or "备忘" could not be made: their files fail to open and to
    // save where they are.
    std::vector<FolderProblem> subfolders;
};

// Makes sure of "<documents>\我的记事" with its subfolders "日历" and
// "备忘", and names it by its full path. When the documents folder is
// unknown, the user's profile folder stands in; when that is unknown too,
// there is no notes folder. The process's current directory is left alone.
NotesFolderCheck PrepareNotesFolder(const std::function<std::optional<std::string>()>& documentsFolder);

// The shell's folders, in GB18030; nothing when the shell cannot tell.
std::optional<std::string> ShellDocumentsFolder();
std::optional<std::string> ShellProfileFolder();

}  // namespace almanac
