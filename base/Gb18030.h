// GB18030 (the 2000 edition, as Windows' code page 54936 maps it) to and
// from Unicode. Every text the calendar holds is GB18030; windows speak
// UTF-16 and terminals UTF-8. The mapping is a bijection between GB18030
// and Unicode scalar values, so whatever the user types comes back unchanged.
// Portable: used by the Windows build at every Win32 call that carries text,
// and by almanac-cli in both builds.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace almanac::text {

// Bytes that form no GB18030 character decode as U+FFFD, one byte at a time.
std::u16string Utf16FromGb18030(std::string_view bytes);
std::string Utf8FromGb18030(std::string_view bytes);

// The characters the bytes hold, or nothing when some of them form no
// GB18030 character (where the functions above would show U+FFFD).
std::optional<std::u32string> CharactersFromGb18030(std::string_view bytes);

// An unpaired surrogate, which names no character, becomes '?'.
std::string Gb18030FromUtf16(std::u16string_view text);

}  // namespace almanac::text
