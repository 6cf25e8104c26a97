// The dialog in which the user writes a day's three notes: one for that
// date, one every year on its Gregorian month and day, one every year on its
// lunar month and day, each with a colour of its own.
#pragma once

#include "dialogs/NoteDialogParts.h"
#include "display/Labels.h"
#include "engine/MonthPage.h"
#include "store/MonthNotes.h"
#include "framework/Dialog.h"

namespace almanac {

class NoteEntryDialog : public win::ModalDialog {
public:
    // Edits the notes of a day of the page, as notes holds them. What it
    // saves goes to that date's files, whatever page is on show by then.
    NoteEntryDialog(const MonthPage& page, const MonthNotes& notes, int day);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(win::DataExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    // Saves the notes that changed to the date the dialog was opened for,
    // then has the grid show its files again; stays open, text and all,
    // when a note could not be saved.
    void OnOK() override;

private:
    LRESULT OnLinkClicked(WPARAM id, LPARAM);
    LRESULT OnEditChanged(WPARAM, LPARAM);
    void CreateLabels();

    NotesFolder folder_;
    // The date the dialog was opened for, and its cell.
    int year_, month_, day_;
    DayCell cell_;
    int lunarSlot_;  // the lunar day whose note the dialog edits
    OpenedNote oneOff_, gregorianYearly_, lunarYearly_;
    std::string oneOffText_, gregorianText_, lunarText_;
    std::uint32_t oneOffColour_, gregorianColour_, lunarColour_;
    StaticLabel headerLabel_, gregorianLabel_, lunarLabel_;
    LinkLabel oneOffColourButton_, gregorianColourButton_, lunarColourButton_;
    NoteTextLimit oneOffLimit_, gregorianLimit_, lunarLimit_;
};

}  // namespace almanac
