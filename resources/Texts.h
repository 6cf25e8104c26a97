// Texts the program shows in more than one place.
#pragma once

#include "resources/Version.h"

namespace almanac {

// The main window's title, also in the note dialog's caption: "vo" and the
// project's version.
inline constexpr char PROGRAM_TITLE[] = ALMANAC_WINDOW_TITLE;

// The program's name as the Start menu and the list of installed programs
// show it; message boxes carry it as their caption.
inline constexpr char PROGRAM_NAME[] = ALMANAC_DISPLAY_NAME;

}  // namespace almanac
