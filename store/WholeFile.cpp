#include "store/WholeFile.h"

namespace almanac {

// Read up to one byte past the version: a longer file is another version.
bool StillHolds(std::string_view path, const FileVersion& version) {
    const FileContents now = ReadWholeFile(path, version ? version->size() : 0);
    if (!version) return now.status == FileContents::Status::Missing;
    return now.status == FileContents::Status::Read && now.bytes == *version;
}

}  // namespace almanac
