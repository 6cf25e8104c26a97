// The link line at the bottom of the panel: the link server is asked, off
// the window's thread, once a minute until it has answered and then once an
// hour; its caption shows as a link that opens its target in the browser.
// The line outlives its window: the link is kept in the state carried
// across windows.
#pragma once

#include "display/Labels.h"
#include "framework/Dpi.h"
#include "links/LinkFetcher.h"

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>
#include <string>

namespace almanac {

class LinkLine {
public:
    // The fetching thread posts fetchedMessage to window when a link came.
    LinkLine(LinkServer server, HWND window, UINT fetchedMessage);

    // The label, hidden until there is a caption (target and caption: a link
    // the window before this one had).
    void Create(const RECT& rect, int id, const win::DpiScale& scale, const std::string& target,
                const std::string& caption);
    void Rescale(const RECT& rect, const win::DpiScale& scale);

    // Tick 0 and every 60th asks while no link has come, every 3600th after.
    void OnTick(int tick);
    // The window heard fetchedMessage: the link comes out of the mailbox.
    void TakeFetchedLink();
    // The label was clicked.
    void Open() const;

    const std::string& Caption() const { return caption_; }
    const std::string& Target() const { return target_; }
    // A fetch is under way (a tick meanwhile starts none).
    bool IsFetching() const { return fetcher_.IsFetching(); }

private:
    struct Mailbox {
        std::mutex mutex;
        std::optional<RemoteLink> link;
    };

    HWND window_;
    UINT fetchedMessage_;
    LinkLabel label_;
    std::string target_, caption_;
    std::shared_ptr<Mailbox> mailbox_ = std::make_shared<Mailbox>();
    LinkFetcher fetcher_;
};

}  // namespace almanac
