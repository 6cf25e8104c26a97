#include "links/HttpGet.h"

#include "testkit/LoopbackServer.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>
#include <string>
#include <vector>

namespace almanac {
namespace {

using namespace std::chrono_literals;
using testing::Pause;
using testing::HttpAnswer;
using testing::Send;
using testing::Stall;
using testing::Step;

constexpr std::size_t kCapacity = 1023;
constexpr std::chrono::milliseconds kPatient = 5s;  // never reached when the client behaves
constexpr std::chrono::milliseconds kShort = 300ms;
// Past its time-out, a call that still has not returned has ignored it.
constexpr std::chrono::milliseconds kOverrun = 10s;

const std::string kAnswer = "\r\n*http://a.example/x\t节日\r\n";

struct Fetched {
    int result;
    std::string body;  // when HTTP_OK
};

// Runs HttpGetBody on a thread of its own, so that a call which overruns its
// time-out fails the test instead of hanging it.
template <typename Unblock>
Fetched FetchWithin(std::string host, std::uint16_t port, std::chrono::milliseconds timeout, Unblock unblock) {
    auto call = std::async(std::launch::async, [=] {
        std::string buffer(kCapacity + 1, '#');
        std::size_t length = kCapacity;
        int result = HttpGetBody(buffer.data(), length, host, "link230/", "1.2", port, timeout);
        if (result != HTTP_OK) {
            EXPECT_EQ(length, kCapacity) << "a failure must leave the capacity alone";
            return Fetched{result, {}};
        }
        EXPECT_LE(length, kCapacity);
        EXPECT_EQ(buffer[length], '\0') << "the body must end with a NUL";
        return Fetched{result, buffer.substr(0, length)};
    });
    if (call.wait_for(timeout + kOverrun) != std::future_status::ready) {
        ADD_FAILURE() << "HttpGetBody did not return within its time-out";
        unblock();
    }
    return call.get();
}

Fetched FetchFrom(testing::LoopbackServer& server, std::chrono::milliseconds timeout, std::string host = "127.0.0.1") {
    return FetchWithin(std::move(host), server.Port(), timeout, [&] { server.Release(); });
}

struct ExchangeCase {
    const char* name;
    std::vector<Step> steps;
    int result;
    std::string body;
    std::chrono::milliseconds timeout = kPatient;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const ExchangeCase& c, std::ostream* out) { *out << c.name; }

class HttpExchangeTest : public ::testing::TestWithParam<ExchangeCase> {};

TEST_P(HttpExchangeTest, ReadsTheWholeResponse) {
    const ExchangeCase& c = GetParam();
    testing::LoopbackServer server(c.steps);
    Fetched fetched = FetchFrom(server, c.timeout);
    EXPECT_EQ(fetched.result, c.result);
    EXPECT_EQ(fetched.body, c.body);
}

const std::string kLongBody(1500, 'a');
const std::string kHugeBody(5000, 'b');
const std::string kPaddingHeader = "X-Padding: " + std::string(1500, 'p') + "\r\n";

INSTANTIATE_TEST_SUITE_P(
    Responses, HttpExchangeTest,
    ::testing::Values(
        ExchangeCase{"AnswerThenClose", {Send(HttpAnswer(kAnswer))}, HTTP_OK, kAnswer},
        // HTTP/1.1 keeps the connection: the body ends by its length, not by a close.
        ExchangeCase{"LengthEndsTheBodyOnAnOpenConnection",
                     {Send("HTTP/1.1 200 OK\r\ncontent-length:  " + std::to_string(kAnswer.size()) + " \r\n\r\n" +
                           kAnswer),
                      Stall()},
                     HTTP_OK, kAnswer},
        ExchangeCase{"SplitAcrossSegmentsWithPauses",
                     {Send("HTTP/1.1 200 OK\r\nCont"), Pause(60), Send("ent-Length: " + std::to_string(kAnswer.size()) + "\r\n\r"), Pause(60),
                      Send("\n\r\n*http://a.exam"), Pause(60), Send("ple/x\t节日\r\n"), Stall()},
                     HTTP_OK, kAnswer},
        ExchangeCase{"NoLengthEndsAtTheClose", {Send("HTTP/1.1 200 OK\r\n\r\n"), Pause(60), Send(kAnswer)},
                     HTTP_OK, kAnswer},
        ExchangeCase{"StatusIsNotExamined", {Send(HttpAnswer(kAnswer, "404 Not Found"))}, HTTP_OK, kAnswer},
        ExchangeCase{"HeadersOnly", {Send(HttpAnswer("")), Stall()}, HTTP_OK, ""},
        ExchangeCase{"NothingAfterTheBlankLine", {Send("HTTP/1.1 200 OK\r\n\r\n")}, HTTP_OK, ""},
        ExchangeCase{"LongBodyIsCutToCapacity", {Send(HttpAnswer(kLongBody))}, HTTP_OK, kLongBody.substr(0, kCapacity)},
        ExchangeCase{"ResponseLimitCutsAHugeBody", {Send(HttpAnswer(kHugeBody)), Stall()}, HTTP_OK,
                     kHugeBody.substr(0, kCapacity)},
        ExchangeCase{"BytesPastTheLengthAreDropped", {Send("HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n*abcdef")},
                     HTTP_OK, "*abc"},
        ExchangeCase{"ClosedWithoutAByte", {}, HTTP_NO_ANSWER, ""},
        ExchangeCase{"ClosedBeforeTheBlankLine", {Send("HTTP/1.1 200 OK\r\nContent-Length: 5\r\n")},
                     HTTP_NO_HEADER_END, ""},
        ExchangeCase{"ClosedShortOfTheLength", {Send(HttpAnswer(kAnswer).substr(0, 50))}, HTTP_NO_ANSWER, ""},
        ExchangeCase{"SilentShortOfTheLength", {Send(HttpAnswer(kAnswer).substr(0, 50)), Stall()}, HTTP_NO_ANSWER, "",
                     kShort},
        // Without a length only the close shows that the body is whole.
        ExchangeCase{"SilentWithoutLengthOrClose", {Send("HTTP/1.1 200 OK\r\n\r\n" + kAnswer), Stall()},
                     HTTP_NO_ANSWER, "", kShort},
        ExchangeCase{"AcceptsAndNeverAnswers", {Stall()}, HTTP_NO_ANSWER, "", kShort},
        // Headers fill most of the response limit: the body that fits is
        // shorter than the caller takes and than its length.
        ExchangeCase{"LimitCutsTheBodyShortOfCapacity",
                     {Send("HTTP/1.1 200 OK\r\n" + kPaddingHeader + "Content-Length: 1500\r\n\r\n" + kLongBody),
                      Stall()},
                     HTTP_NO_ANSWER, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HttpGetBodyTest, SendsExactlyTheRequestBytes) {
    testing::LoopbackServer server({Send(HttpAnswer(kAnswer))});
    ASSERT_EQ(FetchFrom(server, kPatient, "localhost").result, HTTP_OK);
    EXPECT_EQ(server.Requests(), std::vector<std::string>{"GET /link230/ HTTP/1.1\r\nHost:localhost\r\nVer:1.2\r\n\r\n"});
}

TEST(HttpGetBodyTest, ReportsEachFailureToReachTheServer) {
    EXPECT_EQ(FetchWithin("link.almanac.invalid", 80, kPatient, [] {}).result, HTTP_UNRESOLVED);
    EXPECT_EQ(FetchWithin("127.0.0.1", testing::ClosedPort(), kPatient, [] {}).result, HTTP_NOT_CONNECTED);
}

TEST(HttpGetBodyTest, GivesUpAConnectionThatDoesNotStandWithinTheTimeOut) {
    auto listener = std::make_unique<testing::UnansweredListener>();
    // Closing the listener refuses the connection, should the time-out fail.
    EXPECT_EQ(FetchWithin("127.0.0.1", listener->Port(), kShort, [&] { listener.reset(); }).result,
              HTTP_NOT_CONNECTED);
}

}  // namespace
}  // namespace almanac
