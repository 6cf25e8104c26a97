// The dialog in which the user writes the reminder of one weekday.
#pragma once

#include "dialogs/NoteDialogParts.h"
#include "display/Labels.h"
#include "display/MonthView.h"
#include "framework/Dialog.h"

namespace almanac {

class WeeklyNoteDialog : public win::ModalDialog {
public:
    // Takes the selected weekday's reminder from the grid; saves it to that
    // weekday, whatever the grid shows by then.
    explicit WeeklyNoteDialog(MonthView& view);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(win::DataExchange& exchange) override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnOK() override;

private:
    LRESULT OnLinkClicked(WPARAM id, LPARAM);
    LRESULT OnEditChanged(WPARAM, LPARAM);

    MonthView& view_;
    int weekday_;
    OpenedNote reminder_;
    std::string weeklyText_;
    std::uint32_t weeklyColour_;
    StaticLabel weekdayLabel_;
    LinkLabel weeklyColourButton_;
    NoteTextLimit limit_;
};

}  // namespace almanac
