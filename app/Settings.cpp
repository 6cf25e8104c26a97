#include "app/Settings.h"

#include "framework/Registry.h"
#include "base/Text.h"
#include "store/WholeFile.h"

#include <shlobj.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <vector>

namespace almanac {

using win::RegistryKey;

int ReadSetting(std::string_view subkey, std::string_view name, std::string& text) {
    RegistryKey key = RegistryKey::Open(HKEY_CURRENT_USER, subkey, KEY_QUERY_VALUE);
    std::optional<std::string> value = key.QueryText(name, SETTING_BUFFER);
    if (!value) return -1;
    text = *value;
    return 0;
}

int WriteSetting(std::string_view subkey, std::string_view name, std::string_view text) {
    RegistryKey key = RegistryKey::Create(HKEY_CURRENT_USER, subkey, KEY_ALL_ACCESS);
    return key.Valid() && key.SetText(name, text) == ERROR_SUCCESS ? 0 : -1;
}

namespace {

int AsciiToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    // Digits past an int's range saturate instead of overflowing.
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1LL << 31);
    if (negative) value = -value;
    return int(std::clamp(value, -(1LL << 31), (1LL << 31) - 1));
}

}  // namespace

std::optional<int> ReadNumberSetting(std::string_view name) {
    std::string text;
    if (ReadSetting(SETTINGS_KEY, name, text) != 0) return std::nullopt;
    return AsciiToInt(text);
}

void WriteNumberSetting(std::string_view name, int value) { WriteSetting(SETTINGS_KEY, name, std::to_string(value)); }

void WritePositionSettings(std::string_view xName, std::string_view yName, POINT position) {
    WriteNumberSetting(xName, position.x);
    WriteNumberSetting(yName, position.y);
}

POINT PlaceOnWorkArea(long long x, long long y, int width, int height) {
    // Far-off places come near the screens first, keeping their direction,
    // so that the rectangle fits a RECT for MonitorFromRect.
    const long long screensLeft = GetSystemMetrics(SM_XVIRTUALSCREEN), screensTop = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const long long screensRight = screensLeft + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const long long screensBottom = screensTop + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    x = std::clamp(x, screensLeft - width, std::max(screensRight, screensLeft - width));
    y = std::clamp(y, screensTop - height, std::max(screensBottom, screensTop - height));
    const RECT wanted{LONG(x), LONG(y), LONG(x + width), LONG(y + height)};

    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&wanted, MONITOR_DEFAULTTONEAREST), &monitor))
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
    const RECT& work = monitor.rcWork;
    x = std::max<long long>(std::min<long long>(x, work.right - width), work.left);
    y = std::max<long long>(std::min<long long>(y, work.bottom - height), work.top);
    return {LONG(x), LONG(y)};
}

std::string ExecutablePath() {
    std::vector<wchar_t> path(32768);
    DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    return text::Narrow(std::wstring_view(path.data(), length));
}

long SetAutostart(bool on, std::string_view valueName) {
    RegistryKey run = RegistryKey::Open(HKEY_CURRENT_USER, RUN_KEY, KEY_WRITE);
    if (!run.Valid()) return run.Status();
    return on ? run.SetText(valueName, ExecutablePath()) : run.DeleteValue(valueName);
}

bool CheckAutostart() {
    std::string registered;
    if (ReadSetting(RUN_KEY, AUTOSTART_VALUE, registered) == 0 && registered == ExecutablePath()) return true;
    SetAutostart(true, AUTOSTART_VALUE);
    return false;
}

namespace {

// 0 when the folder's names can be listed (it lets the program in).
DWORD ListingError(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND ? 0 : GetLastError();
    FindClose(search);
    return 0;
}

// Makes the folder unless it is there; 0 when it is a folder the program
// can use now.
DWORD MakeFolder(const std::string& path) {
    const std::wstring folder = text::Wide(path);
    if (CreateDirectoryW(folder.c_str(), nullptr)) return 0;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return ListingError(folder);
    return error == ERROR_ALREADY_EXISTS ? ERROR_DIRECTORY : error;
}

// Why a folder could not be made: a file in its place, or the system's
// words for the error.
std::string WhyNotMade(const std::string& path, DWORD error) {
    DWORD attributes = GetFileAttributesW(text::Wide(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return "这是一个文件，不是文件夹。";
    return SystemErrorText(int(error));
}

// The full path, so that the notes stay where they are whatever becomes of
// the process's current directory.
std::string FullPath(const std::string& path) {
    const std::wstring wide = text::Wide(path);
    std::wstring full(GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
    if (full.empty()) return path;
    full.resize(GetFullPathNameW(wide.c_str(), DWORD(full.size()), full.data(), nullptr));
    return text::Narrow(full);
}

}  // namespace

NotesFolderCheck PrepareNotesFolder(const std::function<std::optional<std::string>()>& documentsFolder) {
    NotesFolderCheck check;
    std::optional<std::string> base = documentsFolder();
    if (!base) base = ShellProfileFolder();
    // Without either, the notes would go to whatever folder the program
    // was started in.
    if (!base) {
        check.notesFolder = FolderProblem{"我的记事", "系统说不出文档文件夹和用户文件夹在哪里。"};
        return check;
    }
    const std::string path = FullPath(*base + "\\我的记事");
    if (DWORD error = MakeFolder(path)) {
        check.notesFolder = FolderProblem{path, WhyNotMade(path, error)};
        return check;
    }
    check.folder.emplace(path);
    for (const char* name : {NotesFolder::CALENDAR_FOLDER, NotesFolder::MEMO_FOLDER}) {
        const std::string subfolder = check.folder->PathOf(name);
        if (DWORD error = MakeFolder(subfolder)) check.subfolders.push_back({subfolder, WhyNotMade(subfolder, error)});
    }
    return check;
}

namespace {

std::optional<std::string> ShellFolder(int csidl) {
    wchar_t path[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) || path[0] == L'\0') return std::nullopt;
    return text::Narrow(path);
}

}  // namespace

std::optional<std::string> ShellDocumentsFolder() { return ShellFolder(CSIDL_PERSONAL); }
std::optional<std::string> ShellProfileFolder() { return ShellFolder(CSIDL_PROFILE); }

}  // namespace almanac
