// The text rules of iCalendar (RFC 5545, section 3.1 and 3.3.11): content
// lines folded at 75 octets and ended with CRLF, TEXT values escaped, dates
// written YYYYMMDD. Everything here is UTF-8.
#pragma once

#include "engine/GregorianCalendar.h"

#include <string>
#include <string_view>

namespace almanac::ical {

// The longest content line, in octets, without its CRLF.
inline constexpr std::size_t MAX_LINE_OCTETS = 75;

// A content line folded into lines of at most 75 octets, each continuation
// beginning with one space, every line ended with CRLF. A fold never splits
// a UTF-8 character.
std::string FoldedLine(std::string_view line);

// A TEXT value: backslash, semicolon and comma escaped with a backslash, each
// line break ("\r\n", or a lone "\r" or "\n") written "\n". Other control
// characters, which TEXT cannot hold, are left out; a tab stays.
std::string EscapedText(std::string_view utf8);

// A DATE value: "20240210".
std::string DateValue(const GregorianDate& date);

}  // namespace almanac::ical
