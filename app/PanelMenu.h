// The panel's context menu, the Windows way: a right-click on the panel, or
// the menu key or Shift+F10 while the grid has the keyboard. It holds the
// export of the notes to a calendar file, the notes folder in Explorer, and
// what a user looks for there besides (today, the memo pad, the end).
#pragma once

#include "store/CalendarExport.h"
#include "store/NotesFolder.h"

#include <windows.h>

#include <optional>
#include <string>

namespace almanac {

enum PanelCommand {
    PANEL_EXPORT_NOTES = 1,
    PANEL_OPEN_NOTES_FOLDER,
    PANEL_SHOW_TODAY,
    PANEL_SHOW_MEMO,
    PANEL_END,
};

// Shows the menu at a screen point and returns the command chosen, or 0.
int RunPanelMenu(HWND owner, POINT screenPoint);

// Where the user wants the notes: the system's Save As dialog, opened on
// documentsFolder with the name 我的记事.ics; the file's path (GB18030) and
// how the lunar notes go, or nothing when the user cancelled.
struct ExportTarget {
    std::string path;
    LunarForm lunarForm = LunarForm::Dates;
};
std::optional<ExportTarget> AskWhereToExport(HWND owner, const std::optional<std::string>& documentsFolder);

// Exports the notes of the folder to the target, written whole or not at
// all; what to tell the user (failure, or files skipped), empty when all
// went well. fromYear: the first year of the recurring notes.
std::string ExportNotesTo(const NotesFolder& folder, const ExportTarget& target, int fromYear);

// Explorer on the notes folder.
void OpenNotesFolder(HWND owner, const NotesFolder& folder);

}  // namespace almanac
