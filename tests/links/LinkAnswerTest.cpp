#include "links/RemoteLink.h"

#include "testkit/LoopbackServer.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace almanac {

// Failures show the two texts rather than the bytes of the structure.
static void PrintTo(const RemoteLink& link, std::ostream* out) {
    *out << ::testing::PrintToString(link.target) << " / " << ::testing::PrintToString(link.caption);
}

namespace {

using namespace std::chrono_literals;
using testing::HttpAnswer;
using testing::Send;

struct AnswerCase {
    const char* name;
    std::string body;
    std::optional<RemoteLink> link;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const AnswerCase& c, std::ostream* out) { *out << c.name; }

class LinkAnswerTest : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(LinkAnswerTest, ParsesStarTargetTabCaption) {
    EXPECT_EQ(ParseLinkAnswer(GetParam().body), GetParam().link);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LinkAnswerTest,
    ::testing::Values(
        AnswerCase{"LineEndsStayOnTheCaption", "\r\n*http://a.example/x\t今日黄历\r\n",
                   RemoteLink{"http://a.example/x", "今日黄历\r\n"}},
        AnswerCase{"LeadingBlankLinesBlanksAndTabs", " \t\r\n\r\n\t *https://a.example/?q=1\tC",
                   RemoteLink{"https://a.example/?q=1", "C"}},
        AnswerCase{"FirstTabEndsTheTarget", "*http://a/\tA\tB\n", RemoteLink{"http://a/", "A\tB\n"}},
        AnswerCase{"EmptyCaption", "*http://a/\t", RemoteLink{"http://a/", ""}},
        AnswerCase{"Empty", "", std::nullopt},
        AnswerCase{"OnlyLineEnds", "\r\n\r\n", std::nullopt},
        AnswerCase{"NoStar", "http://a/\tC", std::nullopt},
        AnswerCase{"TextBeforeTheStar", "x*http://a/\tC", std::nullopt},
        AnswerCase{"NoTab", "*http://a/ C\r\n", std::nullopt},
        AnswerCase{"TargetTheShellWouldRun", "*C:\\Windows\\System32\\calc.exe\tC", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LinkTargetTest, OnlyWebAddressesPass) {
    for (const char* target : {"http://a.example/", "https://a.example/p?q=1#f", "HTTP://A.EXAMPLE/", "HtTpS://a/",
                               "http://a.example/%E8%8A%82", "http://a/\xBD\xDA", "http://a/\xA3\xA1",
                               "http://a/\x81\x30\x84\x36", "http://a/\x90\x30\x81\x30", "http://a/\x84\x31\xA4\x37"})
        EXPECT_TRUE(IsSafeLinkTarget(target)) << target;
    for (const char* target :
         {"C:\\Windows\\System32\\calc.exe", "file:///C:/x", "\\\\host\\share\\x.exe", "javascript:x", "ftp://a/",
          "http:/a/", "httpx://a/", " http://a/", "", "http://a/\x01", "http://a/\r\n", "http://a/\x7F",
          "http://a/ b", "http://a/\" --flag", "http://a/\"x", "\thttp://a/",
          "http://a/\x81\x30\x81\x35",   // U+0085, a line end
          "http://a/\xA1\xA1",           // U+3000, the ideographic blank
          "http://a/\x81\x36\xA7\x31",   // U+202E, which turns the rest of the line around
          "http://a/\x81\x30\x84\x32",   // U+00A0 is a blank too
          "http://a/\x81\x36\xA4\x37",   // U+200B, a blank that shows nothing
          "http://a/\x84\x31\x95\x33",   // U+FEFF, the byte-order mark
          "http://a/\xBD",               // half a character
          "http://a/\x80", "http://a/\xFFx"})
        EXPECT_FALSE(IsSafeLinkTarget(target)) << target;
    EXPECT_FALSE(IsSafeLinkTarget(std::string_view("http://a/\0x", 10)));
}

TEST(LinkTargetTest, TheBuildsSiteAddressIsOneToo) { EXPECT_TRUE(IsSafeLinkTarget(SITE_URL)); }

struct FetchCase {
    const char* name;
    std::string response;
    std::optional<RemoteLink> link;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const FetchCase& c, std::ostream* out) { *out << c.name; }

class FetchRemoteLinkTest : public ::testing::TestWithParam<FetchCase> {};

TEST_P(FetchRemoteLinkTest, AsksTheServerForItsLink) {
    testing::LoopbackServer server({Send(GetParam().response)});
    EXPECT_EQ(FetchRemoteLink({"127.0.0.1", server.Port(), 5s}), GetParam().link);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0], "GET /link230/ HTTP/1.1\r\nHost:127.0.0.1\r\nVer:1.2\r\n\r\n");
}

const std::string kLongCaption(2000, 'c');

INSTANTIATE_TEST_SUITE_P(
    Servers, FetchRemoteLinkTest,
    ::testing::Values(
        FetchCase{"Answer", HttpAnswer("\r\n*http://a.example/x\t今日黄历\r\n"),
                  RemoteLink{"http://a.example/x", "今日黄历\r\n"}},
        FetchCase{"AnswerWithAnotherStatus", HttpAnswer("*http://a/\tC", "503 Service Unavailable"),
                  RemoteLink{"http://a/", "C"}},
        // 1023 bytes of the body: '*', 9 of the target, the tab and 1012 of the caption.
        FetchCase{"LongAnswerIsCut", HttpAnswer("*http://a/\t" + kLongCaption),
                  RemoteLink{"http://a/", kLongCaption.substr(0, 1012)}},
        FetchCase{"UnsafeTarget", HttpAnswer("*file:///C:/x\tC"), std::nullopt},
        FetchCase{"FailedExchange", "HTTP/1.1 200 OK\r\n", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace almanac
