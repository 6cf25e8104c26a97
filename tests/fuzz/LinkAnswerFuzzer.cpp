// The link server's answer on any bytes: the parser must never touch memory
// outside the body, and any link it accepts must be one the shell may open:
// a web address without controls, format characters, blanks or '"', taken
// from the body as it stands.
#include "base/Gb18030.h"
#include "links/RemoteLink.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

bool IsPlainAsciiUrlStart(std::string_view target) {
    std::string_view lower[] = {"http://", "https://"};
    return std::any_of(std::begin(lower), std::end(lower), [&](std::string_view prefix) {
        if (target.size() < prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i)
            if ((target[i] | 0x20) != prefix[i] && target[i] != prefix[i]) return false;
        return true;
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view body(reinterpret_cast<const char*>(data), size);
    std::optional<almanac::RemoteLink> link = almanac::ParseLinkAnswer(body);
    if (!link) return 0;

    Check(almanac::IsSafeLinkTarget(link->target));
    Check(IsPlainAsciiUrlStart(link->target));
    // The body ends with '*', the target, a tab and the caption.
    std::string tail = "*" + link->target + "\t" + link->caption;
    Check(body.size() >= tail.size() && body.substr(body.size() - tail.size()) == tail);
    Check(link->target.find('\t') == std::string::npos);

    std::optional<std::u32string> characters = almanac::text::CharactersFromGb18030(link->target);
    Check(characters.has_value());
    for (char32_t c : *characters) {
        Check(c > 0x20 && c != '"' && c != 0x7F && !(c >= 0x80 && c <= 0xA0));
        Check(c != 0x3000 && c != 0xFEFF && !(c >= 0x2000 && c <= 0x200F) && !(c >= 0x2028 && c <= 0x202F) &&
              !(c >= 0x2066 && c <= 0x2069));
    }
    return 0;
}
