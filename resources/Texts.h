// Texts the program shows in more than one place.
#pragma once

namespace almanac {

// The main window's title, also in the note dialog's caption.
inline constexpr char PROGRAM_TITLE[] = "vo2.25";

}  // namespace almanac
