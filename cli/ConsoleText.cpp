#include "cli/ConsoleText.h"

#include "base/Gb18030.h"

namespace almanac::cli {

void WriteLine(const std::string& gb18030) {
    std::string line = text::Utf8FromGb18030(gb18030);
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stdout);
}

}  // namespace almanac::cli
