#include "store/WholeFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
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

int Fail(int* systemError) {
    if (systemError) *systemError = errno;
    return -1;
}

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

// Writes data to a fresh file with the given open flags and gets it to disk.
int WriteFileSynced(const std::string& path, std::string_view data, int flags, int* systemError) {
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0666);
    if (fd < 0) return Fail(systemError);
    if (!WriteAll(fd, data) || fsync(fd) != 0) {
        int error = errno;
        close(fd);
        unlink(path.c_str());
        errno = error;
        return Fail(systemError);
    }
    if (close(fd) != 0) return Fail(systemError);
    return 0;
}

void SyncFolder(const std::string& file) {
    int fd = open(FolderOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

FileContents ReadWholeFile(std::string_view path) {
    FileContents contents;
    int fd = open(NativePath(path).c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        contents.status = errno == ENOENT ? FileContents::Status::Missing : FileContents::Status::Unreadable;
        contents.systemError = errno;
        return contents;
    }
    char buffer[4096];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) {
            contents = {FileContents::Status::Unreadable, {}, errno};
            close(fd);
            return contents;
        }
        if (got == 0) break;
        contents.bytes.append(buffer, size_t(got));
    }
    close(fd);
    contents.status = FileContents::Status::Read;
    return contents;
}

int WriteWholeFile(std::string_view path, std::string_view data, int* systemError) {
    std::string target = NativePath(path);
    std::string temporary = target + ".new";
    if (WriteFileSynced(temporary, data, O_TRUNC, systemError) != 0) return -1;
    if (rename(temporary.c_str(), target.c_str()) != 0) {
        int result = Fail(systemError);
        unlink(temporary.c_str());
        return result;
    }
    SyncFolder(target);
    return 0;
}

int RemoveFile(std::string_view path, int* systemError) {
    std::string target = NativePath(path);
    if (unlink(target.c_str()) != 0 && errno != ENOENT) return Fail(systemError);
    SyncFolder(target);
    return 0;
}

int CreateNewFile(std::string_view path, std::string_view data, int* systemError) {
    std::string target = NativePath(path);
    if (WriteFileSynced(target, data, O_EXCL, systemError) == 0) {
        SyncFolder(target);
        return 0;
    }
    return errno == EEXIST ? 1 : -1;
}

std::string SystemErrorText(int systemError) { return std::strerror(systemError); }

}  // namespace almanac
