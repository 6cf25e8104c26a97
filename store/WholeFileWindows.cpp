#include "store/WholeFile.h"

#include "framework/Text.h"

#include <windows.h>

#include <algorithm>

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

using win::Wide;

// An open file, closed when it ends; the store keeps its own few lines
// rather than reach up into the window framework's handle classes.
class KernelHandle {
public:
    explicit KernelHandle(HANDLE handle) : handle_(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
    ~KernelHandle() { Close(); }
    KernelHandle(const KernelHandle&) = delete;
    KernelHandle& operator=(const KernelHandle&) = delete;

    bool Valid() const { return handle_ != nullptr; }
    HANDLE Get() const { return handle_; }
    // False when the system reports a failure (data that could not be written).
    bool Close() {
        bool closed = !handle_ || CloseHandle(handle_) != 0;
        handle_ = nullptr;
        return closed;
    }

private:
    HANDLE handle_;
};

int Fail(int* systemError) {
    if (systemError) *systemError = int(GetLastError());
    return -1;
}

bool WriteAll(HANDLE file, std::string_view data) {
    while (!data.empty()) {
        DWORD chunk = DWORD(std::min<size_t>(data.size(), 1 << 20)), written = 0;
        if (!WriteFile(file, data.data(), chunk, &written, nullptr) || written == 0) return false;
        data.remove_prefix(written);
    }
    return true;
}

// Writes data to a new file (disposition CREATE_ALWAYS or CREATE_NEW) and
// gets it to disk; a failed write leaves no file behind.
int WriteFileFlushed(const std::wstring& path, std::string_view data, DWORD disposition, int* systemError) {
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) return Fail(systemError);
    if (!WriteAll(file.Get(), data) || !FlushFileBuffers(file.Get())) {
        int result = Fail(systemError);
        file.Close();
        DeleteFileW(path.c_str());
        return result;
    }
    if (!file.Close()) return Fail(systemError);
    return 0;
}

}  // namespace

FileContents ReadWholeFile(std::string_view path) {
    FileContents contents;
    KernelHandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        DWORD error = GetLastError();
        bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        contents.status = missing ? FileContents::Status::Missing : FileContents::Status::Unreadable;
        contents.systemError = int(error);
        return contents;
    }
    char buffer[4096];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            return {FileContents::Status::Unreadable, {}, int(GetLastError())};
        }
        if (got == 0) break;
        contents.bytes.append(buffer, got);
    }
    contents.status = FileContents::Status::Read;
    return contents;
}

int WriteWholeFile(std::string_view path, std::string_view data, int* systemError) {
    std::wstring target = Wide(path);
    std::wstring temporary = target + L".new";
    if (WriteFileFlushed(temporary, data, CREATE_ALWAYS, systemError) != 0) return -1;
    bool replaced = RetryWhileHeld([&] {
        return MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    });
    if (!replaced) {
        int result = Fail(systemError);
        DeleteFileW(temporary.c_str());
        return result;
    }
    return 0;
}

int RemoveFile(std::string_view path, int* systemError) {
    std::wstring target = Wide(path);
    bool removed = RetryWhileHeld([&] {
        return DeleteFileW(target.c_str()) != 0 || GetLastError() == ERROR_FILE_NOT_FOUND ||
               GetLastError() == ERROR_PATH_NOT_FOUND;
    });
    return removed ? 0 : Fail(systemError);
}

int CreateNewFile(std::string_view path, std::string_view data, int* systemError) {
    if (WriteFileFlushed(Wide(path), data, CREATE_NEW, systemError) == 0) return 0;
    DWORD error = GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? 1 : -1;
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
    if (wide.empty()) return "error " + std::to_string(systemError);
    return win::Narrow(wide);
}

}  // namespace almanac
