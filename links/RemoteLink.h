// The link line's answer, star, target, tab, caption, and the one request
// that fetches it.
#pragma once

#include "links/HttpGet.h"
#include "links/LinkSettings.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace almanac {

inline constexpr char LINK_PATH[] = "link230/";
inline constexpr char LINK_VERSION[] = "1.2";

// The most answer bytes looked at; the rest of a longer body is cut off.
inline constexpr std::size_t LINK_ANSWER_CAPACITY = 1023;

struct RemoteLink {
    std::string target;   // opened by the shell on a click: always an http or https address
    std::string caption;  // GB18030 text to show, trailing line ends included
    bool operator==(const RemoteLink&) const = default;
};

// The target arrives over plain HTTP, where anyone on the path can change it,
// and goes to the shell's "open", which also runs programs and opens local and
// network files. So only web addresses pass: "http://" or "https://" in any
// letter case, then GB18030 characters that are neither controls, format
// characters (bidirectional overrides among them) nor blanks or other
// separators, and no '"' (which could end the quoted address on the
// browser's command line and start arguments). Bytes that form no GB18030
// character are refused.
bool IsSafeLinkTarget(std::string_view target);

// After any blanks, tabs and line ends: '*', the target up to the first tab,
// and the caption, everything after that tab. Nothing when the body has
// another shape, no tab, or a target that IsSafeLinkTarget refuses.
std::optional<RemoteLink> ParseLinkAnswer(std::string_view body);

struct LinkServer {
    std::string host = LINK_SERVER_HOST;
    std::uint16_t port = HTTP_PORT;
    std::chrono::milliseconds timeout = HTTP_TIME_OUT;
};

// Asks server for its link: one HttpGetBody with LINK_PATH and LINK_VERSION,
// then ParseLinkAnswer. Nothing when the exchange fails or the answer is
// unusable. Blocks like HttpGetBody.
std::optional<RemoteLink> FetchRemoteLink(const LinkServer& server);

}  // namespace almanac
