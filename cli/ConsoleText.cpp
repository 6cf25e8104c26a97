#include "cli/ConsoleText.h"

#include "base/Gb18030.h"

namespace almanac::cli {

void WriteText(const std::string& gb18030) {
    const std::string utf8 = text::Utf8FromGb18030(gb18030);
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
}

void WriteLine(const std::string& gb18030) { WriteText(gb18030 + '\n'); }

}  // namespace almanac::cli
