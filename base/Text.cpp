#include "base/Text.h"

#include "base/Gb18030.h"

namespace almanac::text {

std::wstring Wide(std::string_view gb18030) {
    std::u16string text = Utf16FromGb18030(gb18030);
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(std::wstring_view utf16) { return Gb18030FromUtf16(std::u16string(utf16.begin(), utf16.end())); }

}  // namespace almanac::text
