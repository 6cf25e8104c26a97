#include "store/WholeFile.h"

#include "base/KernelHandleWindows.h"
#include "base/Text.h"
#include "store/TemporaryFiles.h"

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

// The errors of a sync service's placeholder file whose text cannot be
// fetched now (winerror.h's ERROR_CLOUD_FILE_*, which MinGW's lacks): the
// file is there, only not here yet.
constexpr DWORD kCloudFileErrors[] = {
    358,  // SYNC_ROOT_METADATA_CORRUPT
    362,  // PROVIDER_NOT_RUNNING
    363,  // METADATA_CORRUPT
    364,  // METADATA_TOO_LARGE
    365,  // PROPERTY_BLOB_TOO_LARGE
    366,  // PROPERTY_BLOB_CHECKSUM_MISMATCH
    374,  // TOO_MANY_PROPERTY_BLOBS
    375,  // PROPERTY_VERSION_NOT_SUPPORTED
    377,  // NOT_IN_SYNC
    378,  // ALREADY_CONNECTED
    379,  // NOT_SUPPORTED
    380,  // INVALID_REQUEST
    381,  // READ_ONLY_VOLUME
    382,  // CONNECTED_PROVIDER_ONLY
    383,  // VALIDATION_FAILED
    386,  // AUTHENTICATION_FAILED
    387,  // INSUFFICIENT_RESOURCES
    388,  // NETWORK_UNAVAILABLE
    389,  // UNSUCCESSFUL
    391,  // IN_USE
    392,  // PINNED
    393,  // REQUEST_ABORTED
    394,  // PROPERTY_CORRUPT
    395,  // ACCESS_DENIED
    396,  // INCOMPATIBLE_HARDLINKS
    397,  // PROPERTY_LOCK_CONFLICT
    398,  // REQUEST_CANCELED
    404,  // PROVIDER_TERMINATED
};

bool IsCloudFileError(DWORD error) {
    return std::find(std::begin(kCloudFileErrors), std::end(kCloudFileErrors), error) != std::end(kCloudFileErrors);
}
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

// Temporary files are named as store/TemporaryFiles.h says: unique to the
// save, so a save never opens another's file, and a killed save's leftover
// shows which computer and process it was.
constexpr int kTemporaryAttempts = 100;

std::atomic<unsigned> temporaryCount{0};

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.rfind(L'\\');
    return slash == std::wstring::npos ? L"" : path.substr(0, slash + 1);
}

std::wstring TemporaryName(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    const std::string name = text::Narrow(target.substr(folder.size()));
    return folder + Wide(TemporaryFileName(name, ThisComputerId(), GetCurrentProcessId(), temporaryCount.fetch_add(1) + 1));
}

bool IsRunning(unsigned long pid) {
    KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid)));
    if (!process.Valid()) return GetLastError() == ERROR_ACCESS_DENIED;  // someone else's, alive
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Seconds from a file time (100 ns since 1601) to now; negative when the
// file's time is ahead of this computer's clock.
long long AgeInSeconds(const FILETIME& written) {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return static_cast<long long>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    return (ticks(now) - ticks(written)) / 10000000;
}

// Removes what saves of this file left when they were killed halfway (see
// IsRemovableLeftover). A leftover is never read, so this only keeps the
// folder tidy; failures are of no consequence.
void RemoveLeftovers(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    const std::string fileName = text::Narrow(target.substr(folder.size()));
    const LeftoverCheck here{ThisComputerId(), GetCurrentProcessId(), IsRunning};
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((target + L".new*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (IsRemovableLeftover(text::Narrow(found.cFileName), fileName, AgeInSeconds(found.ftLastWriteTime), here))
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
        contents.systemError = int(GetLastError());
        contents.status = StatusOfFailedRead(contents.systemError);
        return contents;
    }
    std::string bytes;
    if (!ReadAtMost(file.Get(), ReadLimitFor(maxBytes), bytes)) return {FileContents::Status::Unreadable, {}, int(GetLastError())};
    return ContentsRead(std::move(bytes), maxBytes);
}

FileContents::Status StatusOfFailedRead(int systemError) {
    return IsMissing(DWORD(systemError)) ? FileContents::Status::Missing : FileContents::Status::Unreadable;
}

FileResult WriteWholeFile(std::string_view path, std::string_view data, int* systemError,
                          const FileVersion* replacing) {
    std::wstring target = Wide(path);
    if (IsMarkedReadOnly(target)) return FailWith(ERROR_FILE_READ_ONLY, systemError);
    std::wstring temporary;
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < kTemporaryAttempts && IsTaken(error); ++attempt) {
        temporary = TemporaryName(target);
        error = WriteFileFlushed(temporary, data, CREATE_NEW);
    }
    if (error != 0) return FailWith(error, systemError);
    if (replacing && !StillHolds(path, *replacing)) {
        DeleteFileW(temporary.c_str());
        return FileResult::Changed;
    }
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

FileResult RemoveFile(std::string_view path, int* systemError, const FileVersion* replacing) {
    std::wstring target = Wide(path);
    if (IsMarkedReadOnly(target)) return FailWith(ERROR_FILE_READ_ONLY, systemError);
    if (replacing && !StillHolds(path, *replacing)) return FileResult::Changed;
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

const std::string& ThisComputerId() {
    static const std::string id = [] {
        wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
        DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
        if (!GetComputerNameW(name, &length)) length = 0;
        // The installation's id, in the 64-bit view also for a 32-bit program.
        wchar_t installation[64] = {};
        DWORD size = sizeof installation;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Cryptography", L"MachineGuid",
                         RRF_RT_REG_SZ | RRF_SUBKEY_WOW6464KEY, nullptr, installation, &size) != ERROR_SUCCESS)
            installation[0] = L'\0';
        return ComputerIdOf(text::Narrow(std::wstring_view(name, length)) + "/" + text::Narrow(installation));
    }();
    return id;
}

std::string SystemErrorText(int systemError) {
    // Words of our own, which say what to do; not every system has any.
    if (IsCloudFileError(DWORD(systemError)))
        return "同步服务此时取不到这个文件（可能未联网，或同步程序没有运行），错误 " + std::to_string(systemError);
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
