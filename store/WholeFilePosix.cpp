#include "store/WholeFile.h"

#include "store/TemporaryFiles.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <ctime>
#include <unistd.h>

namespace almanac {
namespace {

// The one place where the store's backslash paths become this system's.
// Walks GB18030 characters, whose trail bytes may equal '\\'.
std::string NativePath(std::string_view path) {
    std::string native(path);
    for (std::size_t i = 0; i < native.size();) {
        unsigned char c = static_cast<unsigned char>(native[i]);
        if (c == '\\') native[i] = '/';
        if (c < 0x81 || c == 0xFF) i += 1;
        else if (i + 1 < native.size() && native[i + 1] >= '0' && native[i + 1] <= '9') i += 4;
        else i += 2;
    }
    return native;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
    size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Hands the last error on to the caller who asked for it.
void KeepError(int* systemError) {
    if (systemError) *systemError = errno;
}

FileResult Failed(int* systemError) {
    KeepError(systemError);
    return FileResult::Failed;
}

FileResult FailWith(int error, int* systemError) {
    errno = error;
    return Failed(systemError);
}

// Closes a descriptor when it goes out of scope; errno survives the close.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        int error = errno;
        if (fd_ >= 0) close(fd_);
        errno = error;
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    // The close's own result: a write may only fail here.
    bool Close() {
        int fd = fd_;
        fd_ = -1;
        return close(fd) == 0;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t written = write(fd, data.data(), data.size());
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(size_t(written));
    }
    return true;
}

// Opens a regular file for reading. O_NONBLOCK keeps a pipe without writer
// or a device from holding the open; whatever is not a regular file is
// refused before anything is read from it.
int OpenRegularFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat info{};
    int error = fstat(fd, &info) != 0 ? errno
                : S_ISREG(info.st_mode)      ? 0
                : S_ISDIR(info.st_mode)      ? EISDIR
                                             : EINVAL;  // a pipe, a device or a socket
    if (error != 0) {
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// Appends what the file holds to out until out holds limit bytes.
bool ReadAtMost(int fd, std::size_t limit, std::string& out) {
    char buffer[65536];
    while (out.size() < limit) {
        std::size_t want = std::min(sizeof buffer, limit - out.size());
        ssize_t got = read(fd, buffer, want);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        out.append(buffer, size_t(got));
    }
    return true;
}

// Writes data to a new file that the open creates, and gets it to disk; a
// failed write leaves no file behind. False on failure, with errno (and
// *systemError) telling why: EEXIST for a name already taken.
bool WriteNewFileSynced(const std::string& path, std::string_view data, int* systemError) {
    Descriptor file(open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!file.Valid()) {
        KeepError(systemError);
        return false;
    }
    if (!WriteAll(file.Get(), data) || fsync(file.Get()) != 0 || !file.Close()) {
        KeepError(systemError);
        const int cause = errno;
        unlink(path.c_str());
        errno = cause;
        return false;
    }
    return true;
}

void SyncFolder(const std::string& file) {
    Descriptor folder(open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid()) fsync(folder.Get());
}

// A file the user marked read-only is left as it is: no write permission
// for anyone (which even the administrator's saves respect) or none for us.
// The error that says so, or 0 when the file may be replaced.
int ReadOnlyError(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return EACCES;
    return access(path.c_str(), W_OK) == 0 ? 0 : errno;
}

// Temporary files are named as store/TemporaryFiles.h says: unique to the
// save, so a save never opens another's file, and a killed save's leftover
// shows which computer and process it was.
constexpr int kTemporaryAttempts = 100;

std::atomic<unsigned> temporaryCount{0};

std::string TemporaryName(const std::string& target) {
    return FolderOf(target) + TemporaryFileName(NameOf(target), ThisComputerId(), static_cast<unsigned long>(getpid()),
                                                temporaryCount.fetch_add(1) + 1);
}

bool IsRunning(unsigned long pid) { return kill(pid_t(pid), 0) == 0 || errno == EPERM; }

// Seconds since the file was last written (negative when its time is
// ahead of this computer's clock); 0 when it cannot be told.
long long AgeInSeconds(const std::string& path) {
    struct stat info{};
    if (lstat(path.c_str(), &info) != 0) return 0;
    return static_cast<long long>(time(nullptr)) - static_cast<long long>(info.st_mtime);
}

// Removes what saves of this file left when they were killed halfway (see
// IsRemovableLeftover). A leftover is never read, so this only keeps the
// folder tidy; failures are of no consequence.
void RemoveLeftovers(const std::string& target) {
    const std::string folder = FolderOf(target);
    const std::string fileName = NameOf(target);
    const LeftoverCheck here{ThisComputerId(), static_cast<unsigned long>(getpid()), IsRunning};
    DIR* listing = opendir(folder.c_str());
    if (!listing) return;
    while (const dirent* entry = readdir(listing)) {
        std::string_view name = entry->d_name;
        if (name.substr(0, fileName.size()) != fileName) continue;
        const std::string path = folder + entry->d_name;
        if (IsRemovableLeftover(name, fileName, AgeInSeconds(path), here)) unlink(path.c_str());
    }
    closedir(listing);
}

}  // namespace

FileContents ReadWholeFile(std::string_view path, std::size_t maxBytes) {
    FileContents contents;
    Descriptor file(OpenRegularFile(NativePath(path)));
    if (!file.Valid()) {
        contents.systemError = errno;
        contents.status = StatusOfFailedRead(errno);
        return contents;
    }
    std::string bytes;
    if (!ReadAtMost(file.Get(), ReadLimitFor(maxBytes), bytes)) return {FileContents::Status::Unreadable, {}, errno};
    return ContentsRead(std::move(bytes), maxBytes);
}

FileContents::Status StatusOfFailedRead(int systemError) {
    return systemError == ENOENT ? FileContents::Status::Missing : FileContents::Status::Unreadable;
}

FileResult WriteWholeFile(std::string_view path, std::string_view data, int* systemError,
                          const FileVersion* replacing) {
    std::string target = NativePath(path);
    if (int error = ReadOnlyError(target)) return FailWith(error, systemError);
    std::string temporary;
    bool written = false;
    for (int attempt = 0; attempt < kTemporaryAttempts && !written; ++attempt) {
        temporary = TemporaryName(target);
        written = WriteNewFileSynced(temporary, data, systemError);
        if (!written && errno != EEXIST) return FileResult::Failed;
    }
    if (!written) return FileResult::Failed;
    if (replacing && !StillHolds(path, *replacing)) {
        unlink(temporary.c_str());
        return FileResult::Changed;
    }
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        KeepError(systemError);
        unlink(temporary.c_str());
        return FileResult::Failed;
    }
    SyncFolder(target);
    RemoveLeftovers(target);
    return FileResult::Done;
}

FileResult RemoveFile(std::string_view path, int* systemError, const FileVersion* replacing) {
    std::string target = NativePath(path);
    if (int error = ReadOnlyError(target)) return FailWith(error, systemError);
    if (replacing && !StillHolds(path, *replacing)) return FileResult::Changed;
    if (unlink(target.c_str()) != 0 && errno != ENOENT) return Failed(systemError);
    SyncFolder(target);
    return FileResult::Done;
}

FileResult CreateNewFile(std::string_view path, std::string_view data, int* systemError) {
    std::string target = NativePath(path);
    if (WriteNewFileSynced(target, data, systemError)) {
        SyncFolder(target);
        return FileResult::Done;
    }
    return errno == EEXIST ? FileResult::NameTaken : FileResult::Failed;
}

FileResult CopyToNewFile(std::string_view from, std::string_view to, int* systemError) {
    Descriptor source(OpenRegularFile(NativePath(from)));
    if (!source.Valid()) return errno == ENOENT ? FileResult::NoSource : Failed(systemError);
    std::string target = NativePath(to);
    Descriptor copy(open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (!copy.Valid()) return errno == EEXIST ? FileResult::NameTaken : Failed(systemError);
    for (;;) {
        std::string chunk;
        bool copied = ReadAtMost(source.Get(), 1 << 20, chunk) && WriteAll(copy.Get(), chunk);
        if (copied && !chunk.empty()) continue;
        if (copied && fsync(copy.Get()) == 0 && copy.Close()) break;
        KeepError(systemError);
        unlink(target.c_str());
        return FileResult::Failed;
    }
    SyncFolder(target);
    return FileResult::Done;
}

std::string SystemErrorText(int systemError) { return std::strerror(systemError); }

const std::string& ThisComputerId() {
    static const std::string id = [] {
        char name[256] = {};
        if (gethostname(name, sizeof name - 1) != 0) name[0] = '\0';
        const FileContents installation = ReadWholeFile("/etc/machine-id", 256);
        return ComputerIdOf(std::string(name) + "/" + installation.bytes);
    }();
    return id;
}

}  // namespace almanac
