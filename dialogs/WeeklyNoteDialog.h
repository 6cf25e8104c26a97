// The dialog in which the user writes the reminder of one weekday.
#pragma once

#include "dialogs/NoteDialogParts.h"
#include "display/Labels.h"
#include "store/MonthNotes.h"
#include "framework/Dialog.h"

namespace almanac {

class WeeklyNoteDialog : public win::ModalDialog {
public:
    // Edits a weekday's reminder (0 = Sunday), as notes holds it; saves it
    // to the week file, whatever page is on show by then.
    WeeklyNoteDialog(const MonthNotes& notes, int weekday);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(win::DataExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;

private:
    LRESULT OnLinkClicked(WPARAM id, LPARAM);
    LRESULT OnEditChanged(WPARAM, LPARAM);

    NotesFolder folder_;
    int weekday_;
    OpenedNote reminder_;
    std::string weeklyText_;
    std::uint32_t weeklyColour_;
    StaticLabel weekdayLabel_;
    LinkLabel weeklyColourButton_;
    NoteTextLimit limit_;
};

}  // namespace almanac
