#include "store/WholeFile.h"

namespace almanac {

bool IsVersion(const FileContents& file, const FileVersion& version) {
    if (!version) return file.status == FileContents::Status::Missing;
    return file.status == FileContents::Status::Read && file.bytes == *version;
}

// Read up to one byte past the version: a longer file is another version.
bool StillHolds(std::string_view path, const FileVersion& version) {
    return IsVersion(ReadWholeFile(path, version ? version->size() : 0), version);
}

}  // namespace almanac
