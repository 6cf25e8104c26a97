#include "store/WholeFile.h"

#include "base/KernelHandleWindows.h"
#include "base/Text.h"

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <utility>

namespace almanac {
namespace {

// Another program (a virus scanner, a backup tool, an editor) may hold the
// file for a moment; replacing or deleting it is tried again for about a
// second before it counts as a failure.
constexpr int kAttempts = 20;
constexpr DWORD kPauseMilliseconds = 50;

bool IsHeldByAnotherProgram(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_ACCESS_DENIED || error == ERROR_LOCK_VIOLATION;
}

template <typename Attempt>
bool RetryWhileHeld(Attempt attempt) {
    for (int i = 0;; ++i) {
        if (attempt()) return true;
        if (i + 1 == kAttempts || !IsHeldByAnotherProgram(GetLastError())) return false;
        Sleep(kPauseMilliseconds);
    }
}

using text::Wide;

// Hands the last error on to the caller who asked for it.
void KeepError(int* systemError) {
    if (systemError) *systemError = int(GetLastError());
}

FileResult Failed(int* systemError) {
    KeepError(systemError);
    return FileResult::Failed;
}

FileResult FailWith(DWORD error, int* systemError) {
    SetLastError(error);
    return Failed(systemError);
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        DWORD chunk = DWORD(std::min<size_t>(data.size(), 1 << 20)), written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

// Opens a file on disk for reading, sharing it with every other program.
// Whatever else answers to the name (a pipe, a device) is refused before
// anything is read from it; a folder does not open as a file at all.
KernelHandle OpenRegularFile(const std::wstring& path) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Valid() && GetFileType(file.Get()) != FILE_TYPE_DISK) {
        file.Close();
        SetLastError(ERROR_BAD_FILE_TYPE);
    }
    return file;
}

bool IsMissing(DWORD error) { return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND; }
bool IsTaken(DWORD error) { return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS; }

// Appends what the file holds to out until out holds limit bytes.
bool ReadAtMost(HANDLE file, std::size_t limit, std::string& out) {
    char buffer[65536];
    while (out.size() < limit) {
        DWORD want = DWORD(std::min(sizeof buffer, limit - out.size())), got = 0;
        if (!ReadFile(file, buffer, want, &got, nullptr)) return false;
        if (got == 0) break;
        out.append(buffer, got);
    }
    return true;
}

// Writes data to a new file (disposition CREATE_ALWAYS or CREATE_NEW) and
// gets it to disk; a failed write leaves no file behind. The error is the
// system's code, 0 on success.
DWORD WriteFileFlushed(const std::wstring& path, std::string_view data, DWORD disposition) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return GetLastError();
    if (!WriteAll(file.Get(), data) || !FlushFileBuffers(file.Get()) || !file.Close()) {
        DWORD error = GetLastError();
        file.Close();
        DeleteFileW(path.c_str());
        return error;
    }
    return 0;
}

// A file the user marked read-only is left as it is.
bool IsMarkedReadOnly(const std::wstring& path) {
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Temporary files are named "<file>.new.<process id>.<count>": unique to
// the save, so a save never opens another's file, and a killed save's
// leftover shows whose it was.
constexpr std::wstring_view kTemporaryMark = L".new";
constexpr int kTemporaryAttempts = 100;

std::atomic<unsigned> temporaryCount{0};

std::wstring TemporaryName(const std::wstring& target) {
    return target + std::wstring(kTemporaryMark) + L"." + std::to_wstring(GetCurrentProcessId()) + L"." +
           std::to_wstring(temporaryCount.fetch_add(1) + 1);
}

// The process id in a leftover's name "<file>.new.<pid>.<count>", 0 for the
// bare "<file>.new" that earlier versions used, -1 for any other name.
long long LeftoverOwner(std::wstring_view name, std::wstring_view prefix) {
    if (name.substr(0, prefix.size()) != prefix) return -1;
    std::wstring_view rest = name.substr(prefix.size());
    if (rest.empty()) return 0;
    long long pid = 0;
    int dots = 0;
    bool digits = false;
    for (wchar_t c : rest) {
        if (c == L'.') {
            if (++dots > 2 || (dots == 2 && !digits)) return -1;
            digits = false;
        } else if (c >= L'0' && c <= L'9' && dots > 0) {
            if (dots == 1 && (pid = pid * 10 + (c - L'0')) > 0xFFFFFFFFLL) return -1;
            digits = true;
        } else {
            return -1;
        }
    }
    return dots == 2 && digits && pid > 0 ? pid : -1;
}

bool IsRunning(DWORD pid) {
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, pid));
    if (!process.Valid()) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, alive
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Removes what saves of this file left when they were killed halfway: the
// temporary files of processes that have ended. A leftover is never read,
// so this only keeps the folder tidy; failures are of no consequence.
void RemoveLeftovers(const std::wstring& target) {
    size_t slash = target.rfind(L'\\');
    std::wstring folder = slash == std::wstring::npos ? L"" : target.substr(0, slash + 1);
    std::wstring prefix = target.substr(folder.size()) + std::wstring(kTemporaryMark);
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((target + std::wstring(kTemporaryMark) + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        long long owner = LeftoverOwner(found.cFileName, prefix);
        if (owner < 0 || (owner > 0 && (DWORD(owner) == GetCurrentProcessId() || IsRunning(DWORD(owner))))) continue;
        DeleteFileW((folder + found.cFileName).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace

// A file another program holds for a moment (a scanner, a sync client) is
// waited for as a write waits; one it keeps from everybody for good (no
// access) is not.
FileContents ReadWholeFile(std::string_view path, std::size_t maxBytes) {
    FileContents contents;
    const std::wstring name = Wide(path);
    KernelHandle file;
    for (int i = 0;; ++i) {
        file = OpenRegularFile(name);
        const DWORD error = GetLastError();
        if (file.Valid() || i + 1 == kAttempts || (error != ERROR_SHARING_VIOLATION && error != ERROR_LOCK_VIOLATION))
            break;
        Sleep(kPauseMilliseconds);
    }
    if (!file.Valid()) {
        DWORD error = GetLastError();
        contents.status = IsMissing(error) ? FileContents::Status::Missing : FileContents::Status::Unreadable;
        contents.systemError = int(error);
        return contents;
    }
    std::string bytes;
    if (!ReadAtMost(file.Get(), ReadLimitFor(maxBytes), bytes)) return {FileContents::Status::Unreadable, {}, int(GetLastError())};
    return ContentsRead(std::move(bytes), maxBytes);
}

FileResult WriteWholeFile(std::string_view path, std::string_view data, int* systemError) {
    std::wstring target = Wide(path);
    if (IsMarkedReadOnly(target)) return FailWith(ERROR_FILE_READ_ONLY, systemError);
    std::wstring temporary;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kTemporaryAttempts && IsTaken(error); ++attempt) {
        temporary = TemporaryName(target);
        error = WriteFileFlushed(temporary, data, CREATE_NEW);
    }
    if (error != 0) return FailWith(error, systemError);
    bool replaced = RetryWhileHeld([&] {
        return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (!replaced) {
        KeepError(systemError);
        DeleteFileW(temporary.c_str());
        return FileResult::Failed;
    }
    RemoveLeftovers(target);
    return FileResult::Done;
}

FileResult RemoveFile(std::string_view path, int* systemError) {
    std::wstring target = Wide(path);
    if (IsMarkedReadOnly(target)) return FailWith(ERROR_FILE_READ_ONLY, systemError);
    bool removed = RetryWhileHeld([&] { return DeleteFileW(target.c_str()) != 0 || IsMissing(GetLastError()); });
    return removed ? FileResult::Done : Failed(systemError);
}

FileResult CreateNewFile(std::string_view path, std::string_view data, int* systemError) {
    DWORD error = WriteFileFlushed(Wide(path), data, CREATE_NEW);
    if (error == 0) return FileResult::Done;
    FailWith(error, systemError);
    return IsTaken(error) ? FileResult::NameTaken : FileResult::Failed;
}

FileResult CopyToNewFile(std::string_view from, std::string_view to, int* systemError) {
    KernelHandle source = OpenRegularFile(Wide(from));
    if (!source.Valid()) return IsMissing(GetLastError()) ? FileResult::NoSource : Failed(systemError);
    std::wstring target = Wide(to);
    KernelHandle copy(CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!copy.Valid()) return IsTaken(GetLastError()) ? FileResult::NameTaken : Failed(systemError);
    for (;;) {
        std::string chunk;
        bool copied = ReadAtMost(source.Get(), 1 << 20, chunk) && WriteAll(copy.Get(), chunk);
        if (copied && !chunk.empty()) continue;
        if (copied && FlushFileBuffers(copy.Get()) && copy.Close()) return FileResult::Done;
        KeepError(systemError);
        copy.Close();
        DeleteFileW(target.c_str());
        return FileResult::Failed;
    }
}

std::string SystemErrorText(int systemError) {
    wchar_t* message = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, DWORD(systemError), 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
    std::wstring wide;
    if (message) {
        wide.assign(message, length);
        LocalFree(message);
    }
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r' || wide.back() == L' ')) wide.pop_back();
    // The store reports this one itself; not every system has words for it.
    if (wide.empty() && systemError == ERROR_FILE_READ_ONLY) return "文件已设为只读";
    if (wide.empty()) return "error " + std::to_string(systemError);
    return text::Narrow(wide);
}

}  // namespace almanac
