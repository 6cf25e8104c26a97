// A fresh, empty folder that is the current directory while it lives, with
// raw file helpers that take the store's GB18030 backslash paths (relative
// to it). The raw helpers go straight to the operating system, so tests can
// check the store's files byte for byte without using the store. The store
// itself is given the folder by its full path (Notes()), as the program
// gives it the notes folder.
#pragma once

#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "store/NotesFolder.h"

#ifdef _WIN32
#include "base/Gb18030.h"
#include "base/Text.h"

#include <windows.h>
#else
#include <sys/wait.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace almanac::testing {

class ScratchFolder {
public:
    ScratchFolder() : previous_(std::filesystem::current_path()) {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() / ("almanac-test-" + std::to_string(random()));
        std::filesystem::create_directories(folder_);
        std::filesystem::current_path(folder_);
    }
    ~ScratchFolder() {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder's full path, GB18030.
    std::string Path() const {
#ifdef _WIN32
        return text::Narrow(folder_.wstring());
#else
        return folder_.string();
#endif
    }
    // The folder as the notes folder.
    NotesFolder Notes() const { return NotesFolder(Path()); }
    // The current directory as the notes folder (in a child process that
    // runs where its parent's scratch folder is).
    static NotesFolder Here() {
#ifdef _WIN32
        return NotesFolder(text::Narrow(std::filesystem::current_path().wstring()));
#else
        return NotesFolder(std::filesystem::current_path().string());
#endif
    }

    // The note folders: "日历" and "备忘".
    static void MakeNoteFolders() {
        MakeFolder("日历");
        MakeFolder("备忘");
    }

#ifdef _WIN32
    static std::wstring Wide(std::string_view path) {
        std::u16string wide = text::Utf16FromGb18030(path);
        return std::wstring(wide.begin(), wide.end());
    }
    static void MakeFolder(std::string_view path) { CreateDirectoryW(Wide(path).c_str(), nullptr); }
    static void RemoveFolder(std::string_view path) { RemoveDirectoryW(Wide(path).c_str()); }
    static void RemoveFile(std::string_view path) { DeleteFileW(Wide(path).c_str()); }
    static bool Exists(std::string_view path) { return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }
    static void WriteBytes(std::string_view path, std::string_view bytes) {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    // The names in a folder, "." and ".." left out.
    static std::vector<std::string> List(std::string_view folder) {
        std::vector<std::string> names;
        WIN32_FIND_DATAW found;
        HANDLE search = FindFirstFileW((Wide(folder) + L"\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE) return names;
        do {
            std::wstring_view name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            names.push_back(text::Gb18030FromUtf16(std::u16string(name.begin(), name.end())));
        } while (FindNextFileW(search, &found));
        FindClose(search);
        return names;
    }
    // Marks a file read-only as the user would, or clears the mark.
    static void MarkReadOnly(std::string_view path, bool readOnly = true) {
        SetFileAttributesW(Wide(path).c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
    }
    static bool IsMarkedReadOnly(std::string_view path) {
        DWORD attributes = GetFileAttributesW(Wide(path).c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    }
    static std::optional<std::string> ReadBytes(std::string_view path) {
        HANDLE file = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return std::nullopt;
        std::string bytes;
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }
#else
    static std::string Native(std::string_view path) {
        std::string native(path);
        for (std::size_t i = 0; i < native.size(); ++i) {
            unsigned char c = static_cast<unsigned char>(native[i]);
            if (c == '\\') native[i] = '/';
            if (c >= 0x81 && c != 0xFF) ++i;  // the test paths hold two-byte characters only
        }
        return native;
    }
    static void MakeFolder(std::string_view path) { mkdir(Native(path).c_str(), 0777); }
    static void RemoveFolder(std::string_view path) { rmdir(Native(path).c_str()); }
    static void RemoveFile(std::string_view path) { unlink(Native(path).c_str()); }
    static bool Exists(std::string_view path) {
        struct stat info;
        return stat(Native(path).c_str(), &info) == 0;
    }
    static void WriteBytes(std::string_view path, std::string_view bytes) {
        int fd = open(Native(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (fd < 0) return;
        [[maybe_unused]] ssize_t written = write(fd, bytes.data(), bytes.size());
        close(fd);
    }
    // The names in a folder, "." and ".." left out.
    static std::vector<std::string> List(std::string_view folder) {
        std::vector<std::string> names;
        DIR* listing = opendir(Native(folder).c_str());
        if (!listing) return names;
        while (const dirent* entry = readdir(listing)) {
            std::string_view name = entry->d_name;
            if (name != "." && name != "..") names.emplace_back(name);
        }
        closedir(listing);
        return names;
    }
    // Marks a file read-only as the user would (no write permission for
    // anyone), or clears the mark.
    static void MarkReadOnly(std::string_view path, bool readOnly = true) {
        chmod(Native(path).c_str(), readOnly ? 0444 : 0644);
    }
    static bool IsMarkedReadOnly(std::string_view path) {
        struct stat info;
        return stat(Native(path).c_str(), &info) == 0 && (info.st_mode & 0222) == 0;
    }
    static std::optional<std::string> ReadBytes(std::string_view path) {
        int fd = open(Native(path).c_str(), O_RDONLY);
        if (fd < 0) return std::nullopt;
        std::string bytes;
        char buffer[4096];
        ssize_t got;
        while ((got = read(fd, buffer, sizeof buffer)) > 0) bytes.append(buffer, std::size_t(got));
        close(fd);
        return bytes;
    }
#endif

private:
    std::filesystem::path previous_;
    std::filesystem::path folder_;
};

#ifdef _WIN32
inline unsigned long ThisProcessId() { return GetCurrentProcessId(); }
// The id of a process that has ended: a child that did nothing.
inline unsigned long EndedProcessId() {
    wchar_t command[] = L"cmd.exe /c exit 0";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info))
        return 0xFFFFFFF0;  // no process has so high an id
    WaitForSingleObject(info.hProcess, INFINITE);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return info.dwProcessId;
}
#else
inline unsigned long ThisProcessId() { return static_cast<unsigned long>(getpid()); }
// The id of a process that has ended: a child that did nothing.
inline unsigned long EndedProcessId() {
    pid_t child = fork();
    if (child == 0) _exit(0);
    waitpid(child, nullptr, 0);
    return static_cast<unsigned long>(child);
}
#endif

// Builds a note file: the header, then records of (slot, text, colour).
struct NoteRecord {
    int slot;
    std::string_view text;
    std::uint32_t colour = 0;
};

inline std::string NoteFileBytes(std::initializer_list<NoteRecord> records, std::uint16_t header = 100) {
    auto u16 = [](std::string& out, unsigned v) {
        out += char(v & 0xFF);
        out += char(v >> 8 & 0xFF);
    };
    std::string bytes;
    u16(bytes, header);
    for (const NoteRecord& r : records) {
        u16(bytes, unsigned(r.slot));
        u16(bytes, unsigned(r.text.size()));
        u16(bytes, r.colour & 0xFFFF);
        u16(bytes, r.colour >> 16);
        bytes += r.text;
    }
    return bytes;
}

}  // namespace almanac::testing
