// Fetches the remote link on a thread of its own, so that the window which
// asks goes on answering while the link server is slow, silent or out of
// reach.
#pragma once

#include "links/RemoteLink.h"

#include <functional>
#include <memory>
#include <optional>

namespace almanac {

class LinkFetcher {
public:
    // Receives the link, or nothing when the fetch failed or the answer was
    // unusable. It runs on the fetching thread, so it should only hand the
    // result on (the window posts itself a message), and it must not destroy
    // the fetcher.
    using Delivery = std::function<void(std::optional<RemoteLink>)>;

    explicit LinkFetcher(LinkServer server = {});

    // Returns at once, even while a fetch waits on the network: that fetch
    // ends on its own, within the server's time-out, and its result is
    // dropped. Only a delivery already under way is waited for.
    ~LinkFetcher();

    LinkFetcher(const LinkFetcher&) = delete;
    LinkFetcher& operator=(const LinkFetcher&) = delete;

    // Starts one fetch and returns at once; deliver gets its result. False,
    // and nothing starts, while a fetch is under way (or when the system
    // gives no thread).
    bool Start(Delivery deliver);

    // From Start until the result is about to be delivered.
    bool IsFetching() const;

private:
    struct Shared;

    static void Fetch(std::shared_ptr<Shared> shared, LinkServer server, Delivery deliver);

    LinkServer server_;
    // Also held by a running fetch, which may outlive the fetcher.
    std::shared_ptr<Shared> shared_;
};

}  // namespace almanac
