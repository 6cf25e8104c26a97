#include "base/Gb18030.h"

#include <array>
#include <cstdint>
#include <memory>

namespace almanac::text {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Two-byte codes: lead 0x81-0xFE, trail 0x40-0x7E or 0x80-0xFE.
constexpr int kLeads = 126;
constexpr int kTrails = 190;
constexpr std::uint16_t kTwoByteTable[kLeads][kTrails] = {
#include "base/Gb18030Table.inc"
};

// Four-byte codes b1 b2 b3 b4 (b1, b3 in 0x81-0xFE; b2, b4 in 0x30-0x39)
// count in a mixed radix of 10 and 126. Indexes 0-39419 (0x81308130 to
// 0x8431A439) are the rest of the Basic Multilingual Plane; from 0x90308130
// the supplementary planes follow in order.
constexpr int kFourByteBmpCodes = 39420;
constexpr int kSupplementaryStart = (0x90 - 0x81) * 12600;

int TrailColumn(unsigned char trail) {
    if (trail >= 0x40 && trail <= 0x7E) return trail - 0x40;
    if (trail >= 0x80 && trail <= 0xFE) return trail - 0x41;
    return -1;
}

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The lookups the table implies, made once: the BMP code point of each
// four-byte index, and the code of each BMP code point (two-byte codes
// below 0x10000, four-byte codes as their four bytes).
struct Maps {
    std::array<std::uint16_t, kFourByteBmpCodes> fourByteBmp{};
    std::array<std::uint32_t, 0x10000> codeOf{};

    Maps() {
        for (int lead = 0; lead < kLeads; ++lead)
            for (int column = 0; column < kTrails; ++column) {
                int trail = column + (column < 0x3F ? 0x40 : 0x41);
                codeOf[kTwoByteTable[lead][column]] = std::uint32_t((0x81 + lead) << 8 | trail);
            }
        // The four-byte BMP codes take the remaining code points in order.
        int index = 0;
        for (char32_t c = 0x80; c < 0x10000; ++c) {
            if (IsSurrogate(c) || codeOf[c]) continue;
            fourByteBmp[index] = std::uint16_t(c);
            codeOf[c] = FourByteCode(index++);
        }
    }

    static std::uint32_t FourByteCode(int index) {
        return std::uint32_t(0x81 + index / 12600) << 24 | std::uint32_t(0x30 + index / 1260 % 10) << 16 |
               std::uint32_t(0x81 + index / 10 % 126) << 8 | std::uint32_t(0x30 + index % 10);
    }
};

const Maps& TheMaps() {
    static const auto maps = std::make_unique<Maps>();
    return *maps;
}

// Decodes the character at bytes[i] and advances i past it.
char32_t DecodeNext(std::string_view bytes, size_t& i) {
    auto at = [&](size_t k) { return static_cast<unsigned char>(bytes[k]); };
    unsigned char b1 = at(i);
    if (b1 < 0x80) {
        ++i;
        return b1;
    }
    if (b1 >= 0x81 && b1 <= 0xFE && i + 1 < bytes.size()) {
        unsigned char b2 = at(i + 1);
        if (int column = TrailColumn(b2); column >= 0) {
            i += 2;
            return kTwoByteTable[b1 - 0x81][column];
        }
        if (b2 >= 0x30 && b2 <= 0x39 && i + 3 < bytes.size()) {
            unsigned char b3 = at(i + 2), b4 = at(i + 3);
            if (b3 >= 0x81 && b3 <= 0xFE && b4 >= 0x30 && b4 <= 0x39) {
                int index = (((b1 - 0x81) * 10 + (b2 - 0x30)) * 126 + (b3 - 0x81)) * 10 + (b4 - 0x30);
                if (index < kFourByteBmpCodes) {
                    i += 4;
                    return TheMaps().fourByteBmp[index];
                }
                char32_t supplementary = char32_t(index - kSupplementaryStart) + 0x10000;
                if (index >= kSupplementaryStart && supplementary <= 0x10FFFF) {
                    i += 4;
                    return supplementary;
                }
            }
        }
    }
    ++i;
    return kReplacement;
}

void AppendCode(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += char(c);
        return;
    }
    std::uint32_t code = c < 0x10000 ? TheMaps().codeOf[c] : Maps::FourByteCode(kSupplementaryStart + int(c - 0x10000));
    if (code > 0xFFFF) {
        out += char(code >> 24);
        out += char(code >> 16);
    }
    out += char(code >> 8);
    out += char(code);
}

}  // namespace

std::u16string Utf16FromGb18030(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        char32_t c = DecodeNext(bytes, i);
        if (c < 0x10000) {
            out += char16_t(c);
        } else {
            out += char16_t(0xD800 + ((c - 0x10000) >> 10));
            out += char16_t(0xDC00 + ((c - 0x10000) & 0x3FF));
        }
    }
    return out;
}

std::string Utf8FromGb18030(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (size_t i = 0; i < bytes.size();) {
        char32_t c = DecodeNext(bytes, i);
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | c >> 6);
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | c >> 12);
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | c >> 18);
            out += char(0x80 | (c >> 12 & 0x3F));
            out += char(0x80 | (c >> 6 & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::optional<std::u32string> CharactersFromGb18030(std::string_view bytes) {
    std::u32string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        size_t start = i;
        char32_t c = DecodeNext(bytes, i);
        // U+FFFD has a four-byte code of its own; from one byte it marks bytes that form nothing.
        if (c == kReplacement && i - start == 1) return std::nullopt;
        out += c;
    }
    return out;
}

std::string Gb18030FromUtf16(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (IsSurrogate(c)) {
            c = '?';
        }
        AppendCode(out, c);
    }
    return out;
}

}  // namespace almanac::text
