#include "links/LinkFetcher.h"

#include <atomic>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace almanac {

struct LinkFetcher::Shared {
    std::atomic<bool> fetching{false};
    std::mutex delivering;
    bool fetcherGone = false;  // guarded by delivering
};

LinkFetcher::LinkFetcher(LinkServer server) : server_(std::move(server)), shared_(std::make_shared<Shared>()) {}

LinkFetcher::~LinkFetcher() {
    std::lock_guard lock(shared_->delivering);
    shared_->fetcherGone = true;
}

bool LinkFetcher::Start(Delivery deliver) {
    if (shared_->fetching.exchange(true)) return false;
    try {
        // Detached: nobody ever waits for the network.
        std::thread(Fetch, shared_, server_, std::move(deliver)).detach();
    } catch (const std::system_error&) {
        shared_->fetching = false;
        return false;
    }
    return true;
}

bool LinkFetcher::IsFetching() const { return shared_->fetching; }

void LinkFetcher::Fetch(std::shared_ptr<Shared> shared, LinkServer server, Delivery deliver) {
    std::optional<RemoteLink> link = FetchRemoteLink(server);
    // Free before the result goes out, so its receiver may start the next
    // fetch straight away.
    shared->fetching = false;
    std::lock_guard lock(shared->delivering);
    if (!shared->fetcherGone) deliver(std::move(link));
}

}  // namespace almanac
