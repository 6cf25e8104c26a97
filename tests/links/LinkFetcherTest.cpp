#include "links/LinkFetcher.h"

#include "testkit/LoopbackServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

namespace almanac {
namespace {

using namespace std::chrono_literals;
using testing::Send;
using testing::Stall;
using Result = std::optional<RemoteLink>;

constexpr auto kFetchEnds = 10s;  // far beyond a loopback exchange

// Catches the one result of one fetch.
class Catcher {
public:
    LinkFetcher::Delivery Delivery() {
        return [promise = promise_](Result result) { promise->set_value(std::move(result)); };
    }
    // The result, or a failed test when none comes.
    Result Wait() {
        if (future_.wait_for(kFetchEnds) != std::future_status::ready) {
            ADD_FAILURE() << "no result was delivered";
            return std::nullopt;
        }
        return future_.get();
    }
    bool HasResult() const { return future_.wait_for(0s) == std::future_status::ready; }

private:
    std::shared_ptr<std::promise<Result>> promise_ = std::make_shared<std::promise<Result>>();
    std::future<Result> future_ = promise_->get_future();
};

TEST(LinkFetcherTest, DeliversTheLink) {
    const std::string body = "\r\n*http://a.example/x\t今日黄历\r\n";
    testing::LoopbackServer server({Send(testing::HttpAnswer(body)), Stall()});
    LinkFetcher fetcher({"127.0.0.1", server.Port(), 5s});
    Catcher catcher;
    ASSERT_TRUE(fetcher.Start(catcher.Delivery()));
    EXPECT_EQ(catcher.Wait(), (RemoteLink{"http://a.example/x", "今日黄历\r\n"}));
    EXPECT_FALSE(fetcher.IsFetching());
}

TEST(LinkFetcherTest, StartsAtOnceAndRunsOneFetchAtATime) {
    testing::LoopbackServer server({Stall()});
    LinkFetcher fetcher({"127.0.0.1", server.Port(), 10s});
    Catcher first, refused, next;

    // Start returns while the server says nothing, which it does until it
    // is released: the fetch goes on without the caller.
    ASSERT_TRUE(fetcher.Start(first.Delivery()));
    ASSERT_TRUE(server.WaitForRequests(1, kFetchEnds));
    EXPECT_TRUE(fetcher.IsFetching());
    EXPECT_FALSE(fetcher.Start(refused.Delivery()));

    server.Release();  // the silent server closes: the fetch fails
    EXPECT_FALSE(first.Wait().has_value());
    // Free by the time its result arrives.
    EXPECT_TRUE(fetcher.Start(next.Delivery()));
    EXPECT_FALSE(next.Wait().has_value());
    EXPECT_FALSE(refused.HasResult());
}

TEST(LinkFetcherTest, GoesAtOnceWhileItsFetchStallsAndDropsTheResult) {
    testing::LoopbackServer server({Stall()});
    auto delivered = std::make_shared<std::atomic<bool>>(false);
    // Fulfilled when the fetch lets go of its delivery, that is when it ends.
    auto fetchEnded = std::make_shared<std::promise<void>>();
    std::future<void> ended = fetchEnded->get_future();
    {
        std::shared_ptr<void> heldByTheFetch(nullptr, [fetchEnded](void*) { fetchEnded->set_value(); });
        auto fetcher = std::make_unique<LinkFetcher>(LinkServer{"127.0.0.1", server.Port(), 10s});
        ASSERT_TRUE(fetcher->Start([delivered, heldByTheFetch](Result) { *delivered = true; }));
        heldByTheFetch.reset();
        ASSERT_TRUE(server.WaitForRequests(1, kFetchEnds));

        // Gone while the server still says nothing: the fetch did not end
        // first (it cannot end before the server is released).
        fetcher.reset();
        EXPECT_NE(ended.wait_for(0s), std::future_status::ready);
    }
    server.Release();
    ASSERT_EQ(ended.wait_for(kFetchEnds), std::future_status::ready) << "the abandoned fetch never ended";
    EXPECT_FALSE(*delivered) << "a result reached a fetcher that was gone";
}

}  // namespace
}  // namespace almanac
