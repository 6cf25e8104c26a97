#include "links/RemoteLink.h"

#include "base/Gb18030.h"

#include <algorithm>

namespace almanac {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
        return p == (t >= 'A' && t <= 'Z' ? char(t - 'A' + 'a') : t);
    });
}

struct CharacterRange {
    char32_t first, last;
};

// Characters that may look like nothing, like a blank, or reorder what the
// user reads: the controls, the format characters (the bidirectional
// overrides among them) and the separators, after Unicode's categories Cc,
// Cf, Zs, Zl and Zp; and '"', which could end the quoted address on the
// browser's command line.
constexpr CharacterRange kRefused[] = {
    {0x0000, 0x0020},   {0x0022, 0x0022},   {0x007F, 0x00A0},   {0x00AD, 0x00AD},   {0x0600, 0x0605},
    {0x061C, 0x061C},   {0x06DD, 0x06DD},   {0x070F, 0x070F},   {0x0890, 0x0891},   {0x08E2, 0x08E2},
    {0x1680, 0x1680},   {0x180E, 0x180E},   {0x2000, 0x200F},   {0x2028, 0x202F},   {0x205F, 0x2064},
    {0x2066, 0x206F},   {0x3000, 0x3000},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
    {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
    {0xE0020, 0xE007F},
};

bool MayStandInTarget(char32_t c) {
    return std::none_of(std::begin(kRefused), std::end(kRefused),
                        [c](const CharacterRange& range) { return c >= range.first && c <= range.last; });
}

}  // namespace

bool IsSafeLinkTarget(std::string_view target) {
    bool webAddress = StartsWithIgnoringCase(target, "http://") || StartsWithIgnoringCase(target, "https://");
    if (!webAddress) return false;
    // Judged by characters, not bytes: a GB18030 code of two or four bytes
    // may stand for a blank or a control too. Bytes that form no character
    // have no meaning to check, so they are refused.
    std::optional<std::u32string> characters = text::CharactersFromGb18030(target);
    return characters && std::all_of(characters->begin(), characters->end(), MayStandInTarget);
}

std::optional<RemoteLink> ParseLinkAnswer(std::string_view body) {
    std::size_t star = body.find_first_not_of(" \t\r\n");
    if (star == std::string_view::npos || body[star] != '*') return std::nullopt;
    std::string_view text = body.substr(star + 1);
    std::size_t tab = text.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    std::string_view target = text.substr(0, tab);
    if (!IsSafeLinkTarget(target)) return std::nullopt;
    return RemoteLink{std::string(target), std::string(text.substr(tab + 1))};
}

std::optional<RemoteLink> FetchRemoteLink(const LinkServer& server) {
    char body[LINK_ANSWER_CAPACITY + 1];
    std::size_t length = LINK_ANSWER_CAPACITY;
    int result = HttpGetBody(body, length, server.host, LINK_PATH, LINK_VERSION, server.port, server.timeout);
    if (result != HTTP_OK) return std::nullopt;
    return ParseLinkAnswer(std::string_view(body, length));
}

}  // namespace almanac
