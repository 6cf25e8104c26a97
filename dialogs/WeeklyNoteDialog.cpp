#include "dialogs/WeeklyNoteDialog.h"

#include "engine/CalendarNames.h"
#include "resources/resource.h"

namespace almanac {
namespace {

// Rectangles as the dialog was laid out (2 × 2.5 pixels a dialog unit).
constexpr RECT kWeekdayLabel = {20, 10, 80, 30};
constexpr RECT kColourButton = {80, 10, 105, 30};
constexpr int kLabelTenths = 90;  // Arial 9 points

}  // namespace

WeeklyNoteDialog::WeeklyNoteDialog(const MonthNotes& notes, int weekday)
    : ModalDialog(IDD_WEEKLY_NOTE),
      folder_(notes.Folder()),
      weekday_(weekday),
      reminder_(notes.weeklyNotes.Slot(weekday)),
      weeklyText_(reminder_.stored),
      weeklyColour_(reminder_.colour) {}

BOOL WeeklyNoteDialog::OnInitDialog() {
    limit_.Attach(Item(IDC_WEEKLY_NOTE));
    ModalDialog::OnInitDialog();
    UpdateData(true);  // the text as the edit shows it: what OK compares with
    reminder_.shown = weeklyText_;
    limit_.Remember();
    weekdayLabel_ = CreateStaticText(hwnd_, -1, PixelsForDialog(hwnd_, kWeekdayLabel),
                                     std::string("每周") + WeekdayName(weekday_), kLabelTenths);
    weeklyColourButton_.Create(PixelsForDialog(hwnd_, kColourButton), hwnd_, IDC_WEEKLY_COLOUR,
                               GetSysColor(COLOR_BTNFACE), NoteColour(weeklyColour_, NOTE_WEEKLY), 100, "楷体_gb2312",
                               DialogScale(hwnd_));
    weeklyColourButton_.SetCaption("■", true);
    // What the user types goes into the reminder at once.
    PutCaretIn(Item(IDC_WEEKLY_NOTE));
    return FALSE;  // the focus is set
}

void WeeklyNoteDialog::DoDataExchange(win::DataExchange& exchange) { exchange.Text(IDC_WEEKLY_NOTE, weeklyText_); }

bool WeeklyNoteDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<WeeklyNoteDialog> table[] = {
        win::OnMessage(WM_LINK_CLICKED, &WeeklyNoteDialog::OnLinkClicked),
        win::OnCommand(IDC_WEEKLY_NOTE, EN_CHANGE, &WeeklyNoteDialog::OnEditChanged),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT WeeklyNoteDialog::OnEditChanged(WPARAM, LPARAM) {
    limit_.OnChange();
    return 0;
}

LRESULT WeeklyNoteDialog::OnLinkClicked(WPARAM id, LPARAM) {
    if (id != IDC_WEEKLY_COLOUR) return 0;
    if (std::optional<COLORREF> chosen = ChooseNoteColour(hwnd_, {NoteColour(weeklyColour_, NOTE_WEEKLY)})) {
        weeklyColour_ = *chosen | NOTE_CUSTOM_COLOUR;
        weeklyColourButton_.SetTextColour(*chosen);
    }
    return 0;
}

void WeeklyNoteDialog::OnOK() {
    UpdateData(true);
    MonthNotes notes(folder_);
    notes.weeklyNotes.LoadWeek(folder_);
    NoteResult result = NOTE_OK;
    bool keptBoth = false;
    if (auto edit = PrepareEdit(reminder_, weeklyText_, weeklyColour_, notes.weeklyNotes, weekday_, keptBoth))
        result = notes.SaveWeekdayNote(weekday_, edit->text, edit->colour);
    if (result == NOTE_OK) {
        if (keptBoth) TellBothKept(hwnd_);
        EndDialog(IDOK);
        return;
    }
    std::string name = std::string("每周") + WeekdayName(weekday_) + "的提示";
    ReportUnsavedNotes(hwnd_, {{name, &notes.weeklyNotes, result}});
}

}  // namespace almanac
