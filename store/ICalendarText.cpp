#include "store/ICalendarText.h"

#include <cstdio>

namespace almanac::ical {
namespace {

// A UTF-8 continuation byte (10xxxxxx) never starts a character.
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

}  // namespace

std::string FoldedLine(std::string_view line) {
    std::string folded;
    // The first line holds 75 octets; each continuation holds 74 after its space.
    std::size_t room = MAX_LINE_OCTETS;
    while (line.size() > room) {
        std::size_t cut = room;
        while (cut > 0 && IsContinuationByte(line[cut])) --cut;
        folded.append(line.substr(0, cut));
        folded += "\r\n ";
        line.remove_prefix(cut);
        room = MAX_LINE_OCTETS - 1;
    }
    folded.append(line);
    folded += "\r\n";
    return folded;
}

std::string EscapedText(std::string_view utf8) {
    std::string escaped;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        char c = utf8[i];
        switch (c) {
            case '\\': escaped += "\\\\"; break;
            case ';': escaped += "\\;"; break;
            case ',': escaped += "\\,"; break;
            case '\r':
                if (i + 1 < utf8.size() && utf8[i + 1] == '\n') ++i;
                escaped += "\\n";
                break;
            case '\n': escaped += "\\n"; break;
            case '\t': escaped += c; break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) break;  // no control character in TEXT
                escaped += c;
        }
    }
    return escaped;
}

std::string DateValue(const GregorianDate& date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d%02d%02d", date.year, date.month, date.day);
    return text;
}

}  // namespace almanac::ical
