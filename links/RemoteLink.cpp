#include "links/RemoteLink.h"

#include <algorithm>

namespace almanac {
namespace {

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char p, char t) {
        return p == (t >= 'A' && t <= 'Z' ? char(t - 'A' + 'a') : t);
    });
}

bool MayStandInTarget(char c) {
    unsigned char byte = static_cast<unsigned char>(c);
    return byte > ' ' && byte != 0x7F && c != '"';
}

}  // namespace

bool IsSafeLinkTarget(std::string_view target) {
    bool webAddress = StartsWithIgnoringCase(target, "http://") || StartsWithIgnoringCase(target, "https://");
    return webAddress && std::all_of(target.begin(), target.end(), MayStandInTarget);
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
