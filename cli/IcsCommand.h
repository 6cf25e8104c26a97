// almanac-cli ics: the notes of a notes folder as an iCalendar file.
#pragma once

#include "store/CalendarExport.h"

#include <string>

namespace almanac::cli {

// Writes the iCalendar file to standard output and each skipped file or
// imperfect note as a line on standard error. The exit status: 0, 1 when
// something was left out or changed, 2 when the folder is no notes folder.
int PrintNotesCalendar(const std::string& folder, const ExportOptions& options);

// The UTC date-time of now as a DTSTAMP value ("20250101T120000Z").
std::string StampOfNow();

// The local date's year.
int ThisYear();

}  // namespace almanac::cli
