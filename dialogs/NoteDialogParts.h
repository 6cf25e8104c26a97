// What the note entry and weekly reminder dialogs share: edits that refuse
// more than a note can hold, labels and colour buttons placed to match the
// template's controls under any font, the system colour chooser, and the
// report of a note that could not be saved.
#pragma once

#include "framework/Gdi.h"
#include "store/MonthNotes.h"
#include "store/NoteStore.h"

#include <windows.h>

#include <string>
#include <vector>

namespace almanac {

// Keeps an edit's text within NOTE_MAX_TEXT bytes once encoded: a change that
// would go beyond is taken back, with a beep.
class NoteTextLimit {
public:
    // Before the edit is filled: lifts its own limit (30000 characters).
    void Attach(HWND edit);
    // After it is filled: its text is the one to go back to.
    void Remember();
    // On the edit's EN_CHANGE.
    void OnChange();

private:
    HWND edit_ = nullptr;
    std::wstring lastFitting_;
    bool restoring_ = false;
};

// A rectangle given in pixels for a dialog unit of 2 pixels across and 2.5
// down (the metrics the dialogs were laid out with), in this dialog's pixels:
// so it stays beside the template's controls whatever the dialog's font.
RECT PixelsForDialog(HWND dialog, const RECT& layoutPixels);

// The scale of the fonts made for a dialog's own labels: the dpi its
// template was laid out at, the dpi of the monitor it opened on.
win::DpiScale DialogScale(HWND dialog);

// Gives the edit the keyboard with the caret after its text, so that what
// the user types first goes there (from WM_INITDIALOG, which then returns
// FALSE).
void PutCaretIn(HWND edit);

// A static text of the dialog with a font of its own.
struct StaticLabel {
    HWND window = nullptr;
    win::Font font;
};

// A left-aligned static text at rect in Arial of pointTenths tenths of a
// point, or smaller when the text would not fit the rectangle's width (the
// rectangle follows the dialog's units, the font the screen's).
StaticLabel CreateStaticText(HWND dialog, int id, const RECT& rect, std::string_view text, int pointTenths);

// The system colour chooser with these custom colours; the colour chosen, or
// nothing when the user cancelled.
std::optional<COLORREF> ChooseNoteColour(HWND owner, const std::vector<COLORREF>& customColours);

// A note as its dialog opened it: the stored bytes and colour, and the text
// as the edit showed it, which differs where the bytes are not valid text.
struct OpenedNote {
    std::string stored;
    std::string shown;
    std::uint32_t colour = 0;

    explicit OpenedNote(const NoteSlot& slot) : stored(slot.text.value_or("")), colour(slot.colour) {}
    // What to save of the edit's text and the chosen colour: nothing when
    // neither changed.
    std::optional<MonthNotes::NoteEdit> EditOf(const std::string& text, std::uint32_t chosenColour) const;
    // The stored bytes could not be shown as they are (not valid text).
    bool ShownDiffers() const { return shown != stored; }
};

// The edit of a note, to be saved into slot of table, the note's file as it
// is now: when the note's stored bytes could not be shown as they are, table
// is told to keep its file's original beside it before the save replaces
// it. When another writer changed the note while the dialog was open, text
// becomes both texts (KeepBoth) and keptBoth is set.
std::optional<MonthNotes::NoteEdit> PrepareEdit(const OpenedNote& note, std::string& text, std::uint32_t chosenColour,
                                                NoteTable& table, int slot, bool& keptBoth);

// Tells the user that a note's text from elsewhere was kept beside theirs.
void TellBothKept(HWND owner);

// One note that a save left unsaved: what the user calls it, its file, and
// the store's result.
struct UnsavedNote {
    std::string name;
    const NoteTable* table;
    int result;
};

// Tells the user which notes were not saved and why, and that their texts
// are still in the dialog.
void ReportUnsavedNotes(HWND owner, const std::vector<UnsavedNote>& notes);

}  // namespace almanac
