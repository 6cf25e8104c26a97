#include "base/Gb18030.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace almanac::text {
namespace {

std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) s += char(v);
    return s;
}

TEST(Gb18030Test, KnownCodes) {
    // The compiler's own GB18030 literals, and codes from each area.
    EXPECT_EQ(std::string("甲辰"), Bytes({0xBC, 0xD7, 0xB3, 0xBD}));
    EXPECT_EQ(Utf16FromGb18030("甲辰"), u"甲辰");
    EXPECT_EQ(Gb18030FromUtf16(u"A€"), Bytes({'A', 0xA2, 0xE3}));
    EXPECT_EQ(Gb18030FromUtf16(u"\u00A5"), Bytes({0x81, 0x30, 0x84, 0x36}));       // first four-byte run
    EXPECT_EQ(Gb18030FromUtf16(u"\uE7C7"), Bytes({0xA8, 0xBC}));                   // as code page 54936
    EXPECT_EQ(Gb18030FromUtf16(u"\uFFFF"), Bytes({0x84, 0x31, 0xA4, 0x39}));       // last BMP code
    EXPECT_EQ(Gb18030FromUtf16(u"\U00010000"), Bytes({0x90, 0x30, 0x81, 0x30}));   // first supplementary
    EXPECT_EQ(Gb18030FromUtf16(u"\U0010FFFF"), Bytes({0xE3, 0x32, 0x9A, 0x35}));
    EXPECT_EQ(Utf8FromGb18030("农历\r\n"), "\xE5\x86\x9C\xE5\x8E\x86\r\n");
    EXPECT_EQ(Utf8FromGb18030(Bytes({0x90, 0x30, 0x81, 0x30})), "\xF0\x90\x80\x80");
}

TEST(Gb18030Test, EveryCharacterRoundTrips) {
    std::u16string all;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        if (c < 0x10000) {
            all += char16_t(c);
        } else {
            all += char16_t(0xD800 + ((c - 0x10000) >> 10));
            all += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    std::string encoded = Gb18030FromUtf16(all);
    EXPECT_EQ(std::count(encoded.begin(), encoded.end(), '?'), 1);  // only U+003F itself
    EXPECT_TRUE(Utf16FromGb18030(encoded) == all);
}

TEST(Gb18030Test, EveryTwoByteCodeRoundTrips) {
    for (int lead = 0x81; lead <= 0xFE; ++lead)
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            if (trail == 0x7F) continue;
            std::string code = Bytes({lead, trail});
            std::u16string decoded = Utf16FromGb18030(code);
            ASSERT_EQ(decoded.size(), 1u) << std::hex << lead << trail;
            ASSERT_EQ(Gb18030FromUtf16(decoded), code) << std::hex << lead << trail;
        }
}

TEST(Gb18030Test, BadBytesBecomeReplacementCharacters) {
    EXPECT_EQ(Utf16FromGb18030(Bytes({0x80})), u"\uFFFD");
    EXPECT_EQ(Utf16FromGb18030(Bytes({0xFF, 'a'})), u"\uFFFDa");
    EXPECT_EQ(Utf16FromGb18030(Bytes({0xB0})), u"\uFFFD");                       // cut two-byte code
    EXPECT_EQ(Utf16FromGb18030(Bytes({0x81, 0x7F})), u"\uFFFD\x7F");
    EXPECT_EQ(Utf16FromGb18030(Bytes({0x81, 0x30, 0x81})), u"\uFFFD0\uFFFD");    // cut four-byte code
    EXPECT_EQ(Utf16FromGb18030(Bytes({0x84, 0x31, 0xA5, 0x30})), u"\uFFFD1\uFFFD0");  // past the BMP codes
    EXPECT_EQ(Utf16FromGb18030(Bytes({0xE3, 0x32, 0x9A, 0x36})), u"\uFFFD2\uFFFD6");  // past U+10FFFF
    EXPECT_EQ(Gb18030FromUtf16(u"a\xD800" "b\xDC00"), "a?b?");                   // unpaired surrogates
}

TEST(Gb18030Test, CharactersAreDecodedStrictly) {
    EXPECT_EQ(CharactersFromGb18030("a甲"), U"a甲");
    EXPECT_EQ(CharactersFromGb18030(Bytes({0x84, 0x31, 0xA4, 0x37})), U"\uFFFD");  // the character itself
    EXPECT_EQ(CharactersFromGb18030(Bytes({0x81, 0x30, 0x81, 0x35})), U"\u0085");
    EXPECT_EQ(CharactersFromGb18030(Bytes({0xE3, 0x32, 0x9A, 0x35})), U"\U0010FFFF");
    for (const std::string& bad : {Bytes({0x80}), Bytes({'a', 0xFF}), Bytes({0xB0}), Bytes({0x81, 0x7F}),
                                   Bytes({0x81, 0x30, 0x81}), Bytes({0x84, 0x31, 0xA5, 0x30}),
                                   Bytes({0xE3, 0x32, 0x9A, 0x36})})
        EXPECT_EQ(CharactersFromGb18030(bad), std::nullopt) << bad.size();
}

}  // namespace
}  // namespace almanac::text
