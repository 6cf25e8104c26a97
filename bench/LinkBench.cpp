// What a fetch costs the window's thread while the link server says nothing:
// starting it, and, should the window close meanwhile, destroying the
// fetcher. Both must stay far below a frame, whatever the network does.
#include "links/LinkFetcher.h"

#include "testkit/LoopbackServer.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <future>
#include <memory>

namespace almanac {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

double Microseconds(Clock::duration duration) { return std::chrono::duration<double, std::micro>(duration).count(); }

void StalledFetch(benchmark::State& state) {
    double worstStart = 0, worstDestruction = 0;
    for (auto _ : state) {
        testing::LoopbackServer server({testing::Stall()});
        auto fetcher = std::make_unique<LinkFetcher>(LinkServer{"127.0.0.1", server.Port(), 10s});
        // Fulfilled when the abandoned fetch lets go of its delivery.
        auto fetchEnded = std::make_shared<std::promise<void>>();
        std::future<void> ended = fetchEnded->get_future();
        std::shared_ptr<void> heldByTheFetch(nullptr, [fetchEnded](void*) { fetchEnded->set_value(); });
        LinkFetcher::Delivery ignore = [heldByTheFetch](std::optional<RemoteLink>) {};
        heldByTheFetch.reset();

        Clock::time_point began = Clock::now();
        fetcher->Start(std::move(ignore));
        Clock::duration start = Clock::now() - began;
        if (!server.WaitForRequests(1, 10s)) state.SkipWithError("the fetch never reached the server");

        began = Clock::now();
        fetcher.reset();
        Clock::duration destruction = Clock::now() - began;

        server.Release();
        ended.wait();
        state.SetIterationTime(std::chrono::duration<double>(start + destruction).count());
        worstStart = std::max(worstStart, Microseconds(start));
        worstDestruction = std::max(worstDestruction, Microseconds(destruction));
    }
    state.counters["worst_start_us"] = worstStart;
    state.counters["worst_destruction_us"] = worstDestruction;
}
BENCHMARK(StalledFetch)->UseManualTime()->Iterations(500)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace almanac
