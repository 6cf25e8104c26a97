#include "dialogs/NoteEntryDialog.h"

#include "engine/CalendarNames.h"
#include "resources/Texts.h"
#include "resources/resource.h"

#include <cstdio>

namespace almanac {
namespace {

// Rectangles as the dialog was laid out (2 × 2.5 pixels a dialog unit).
constexpr RECT kHeader = {10, 10, 330, 30};
constexpr RECT kOneOffColour = {340, 10, 365, 30};
constexpr RECT kGregorianLabel = {10, 230, 120, 250};
constexpr RECT kGregorianColour = {130, 230, 155, 250};
constexpr RECT kLunarLabel = {10, 280, 120, 300};
constexpr RECT kLunarColour = {130, 280, 155, 300};

constexpr int kColourButtonTenths = 120;
constexpr int kLabelTenths = 90;  // Arial 9 points
constexpr const char* kSwatch = "■";

}  // namespace

NoteEntryDialog::NoteEntryDialog(const MonthPage& page, const MonthNotes& notes, int day)
    : ModalDialog(IDD_NOTE_ENTRY),
      folder_(notes.Folder()),
      year_(page.shownYear),
      month_(page.shownMonth),
      day_(day),
      cell_(page.cells[day]),
      lunarSlot_(notes.LunarSlotIndex(day)),
      oneOff_(notes.oneOffNotes.Slot(day)),
      gregorianYearly_(notes.gregorianYearlyNotes.Slot(day)),
      lunarYearly_(notes.LunarNoteSlot(day)),
      oneOffText_(oneOff_.stored),
      gregorianText_(gregorianYearly_.stored),
      lunarText_(lunarYearly_.stored),
      oneOffColour_(oneOff_.colour),
      gregorianColour_(gregorianYearly_.colour),
      lunarColour_(lunarYearly_.colour) {}

BOOL NoteEntryDialog::OnInitDialog() {
    oneOffLimit_.Attach(Item(IDC_ONE_OFF_NOTE));
    gregorianLimit_.Attach(Item(IDC_GREGORIAN_NOTE));
    lunarLimit_.Attach(Item(IDC_LUNAR_NOTE));
    ModalDialog::OnInitDialog();
    // The texts as the edits show them: what OK compares with.
    UpdateData(true);
    oneOff_.shown = oneOffText_;
    gregorianYearly_.shown = gregorianText_;
    lunarYearly_.shown = lunarText_;
    oneOffLimit_.Remember();
    gregorianLimit_.Remember();
    lunarLimit_.Remember();
    CreateLabels();
    SetText(std::string("输入记事 - ") + PROGRAM_TITLE);
    // What the user types goes into the note for this date at once.
    PutCaretIn(Item(IDC_ONE_OFF_NOTE));
    return FALSE;  // the focus is set
}

void NoteEntryDialog::CreateLabels() {
    // The lunar month without its leap prefix: a leap month's notes are its
    // ordinary month's.
    const std::string lunarMonth = LunarMonthName(cell_.lunar.month, false);
    const std::string lunarDay = LunarDayName(cell_.lunar.day);
    char text[128];

    std::snprintf(text, sizeof text, "%d年%d月%d日星期%s农历%s月%s", year_, month_, day_, WeekdayName(cell_.weekday),
                  lunarMonth.c_str(), lunarDay.c_str());
    headerLabel_ = CreateStaticText(hwnd_, IDC_NOTE_HEADER, PixelsForDialog(hwnd_, kHeader), text, kLabelTenths);
    std::snprintf(text, sizeof text, "阳历每年%d月%d日", month_, day_);
    gregorianLabel_ =
        CreateStaticText(hwnd_, IDC_GREGORIAN_LABEL, PixelsForDialog(hwnd_, kGregorianLabel), text, kLabelTenths);
    // The note edited may be the month's day-30 note, on the last day of a
    // 29-day month.
    std::snprintf(text, sizeof text, "农历每年%s月%s", lunarMonth.c_str(), LunarDayName(lunarSlot_));
    lunarLabel_ = CreateStaticText(hwnd_, IDC_LUNAR_LABEL, PixelsForDialog(hwnd_, kLunarLabel), text, kLabelTenths);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const win::DpiScale scale = DialogScale(hwnd_);
    oneOffColourButton_.Create(PixelsForDialog(hwnd_, kOneOffColour), hwnd_, IDC_ONE_OFF_COLOUR, face,
                               NoteColour(oneOffColour_, NOTE_ONE_OFF), kColourButtonTenths, "楷体_gb2312", scale);
    gregorianColourButton_.Create(PixelsForDialog(hwnd_, kGregorianColour), hwnd_, IDC_GREGORIAN_COLOUR, face,
                                  NoteColour(gregorianColour_, NOTE_GREGORIAN_YEARLY), kColourButtonTenths,
                                  "楷体_gb2312", scale);
    lunarColourButton_.Create(PixelsForDialog(hwnd_, kLunarColour), hwnd_, IDC_LUNAR_COLOUR, face,
                              NoteColour(lunarColour_, NOTE_LUNAR_YEARLY), kColourButtonTenths, "楷体_gb2312",
                              scale);
    for (LinkLabel* button : {&oneOffColourButton_, &gregorianColourButton_, &lunarColourButton_})
        button->SetCaption(kSwatch, true);
}

void NoteEntryDialog::DoDataExchange(win::DataExchange& exchange) {
    exchange.Text(IDC_ONE_OFF_NOTE, oneOffText_);
    exchange.Text(IDC_GREGORIAN_NOTE, gregorianText_);
    exchange.Text(IDC_LUNAR_NOTE, lunarText_);
}

bool NoteEntryDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    static constexpr win::MessageEntry<NoteEntryDialog> table[] = {
        win::OnMessage(WM_LINK_CLICKED, &NoteEntryDialog::OnLinkClicked),
        win::OnCommand(IDC_ONE_OFF_NOTE, EN_CHANGE, &NoteEntryDialog::OnEditChanged),
        win::OnCommand(IDC_GREGORIAN_NOTE, EN_CHANGE, &NoteEntryDialog::OnEditChanged),
        win::OnCommand(IDC_LUNAR_NOTE, EN_CHANGE, &NoteEntryDialog::OnEditChanged),
    };
    return win::Dispatch(*this, table, message, wParam, lParam, result);
}

LRESULT NoteEntryDialog::OnEditChanged(WPARAM wParam, LPARAM) {
    switch (LOWORD(wParam)) {
        case IDC_ONE_OFF_NOTE: oneOffLimit_.OnChange(); break;
        case IDC_GREGORIAN_NOTE: gregorianLimit_.OnChange(); break;
        case IDC_LUNAR_NOTE: lunarLimit_.OnChange(); break;
    }
    return 0;
}

// The chosen colour lives in the dialog until OK.
LRESULT NoteEntryDialog::OnLinkClicked(WPARAM id, LPARAM) {
    struct Target {
        std::uint32_t& colour;
        LinkLabel& button;
    };
    std::optional<Target> target;
    if (id == IDC_ONE_OFF_COLOUR) target.emplace(Target{oneOffColour_, oneOffColourButton_});
    if (id == IDC_GREGORIAN_COLOUR) target.emplace(Target{gregorianColour_, gregorianColourButton_});
    if (id == IDC_LUNAR_COLOUR) target.emplace(Target{lunarColour_, lunarColourButton_});
    if (!target) return 0;
    std::optional<COLORREF> chosen =
        ChooseNoteColour(hwnd_, {NoteColour(oneOffColour_, NOTE_ONE_OFF), NoteColour(gregorianColour_, NOTE_GREGORIAN_YEARLY),
                                 NoteColour(lunarColour_, NOTE_LUNAR_YEARLY)});
    if (!chosen) return 0;
    target->colour = *chosen | NOTE_CUSTOM_COLOUR;
    target->button.SetTextColour(*chosen);
    return 0;
}

// The date's files are read again here: the grid may show another page by
// now, and the files are what the notes are saved into. The owner shows
// the grid's files again once the dialog ends.
void NoteEntryDialog::OnOK() {
    UpdateData(true);
    MonthPage page;
    page.Build(year_, month_, 0);
    MonthNotes notes(folder_);
    notes.Load(page);
    NoteTable& lunarTable = notes.LunarNotesOf(day_);
    bool keptBoth = false;
    MonthNotes::DayNoteResults results = notes.SaveDayNotes(
        day_, PrepareEdit(oneOff_, oneOffText_, oneOffColour_, notes.oneOffNotes, day_, keptBoth),
        PrepareEdit(gregorianYearly_, gregorianText_, gregorianColour_, notes.gregorianYearlyNotes, day_, keptBoth),
        PrepareEdit(lunarYearly_, lunarText_, lunarColour_, lunarTable, lunarSlot_, keptBoth));
    if (results.AllSaved()) {
        if (keptBoth) TellBothKept(hwnd_);
        EndDialog(IDOK);
        return;
    }
    std::vector<UnsavedNote> unsaved;
    char name[64];
    if (results.oneOff != NOTE_OK) {
        std::snprintf(name, sizeof name, "%d年%d月%d日的记事", year_, month_, day_);
        unsaved.push_back({name, &notes.oneOffNotes, results.oneOff});
    }
    if (results.gregorianYearly != NOTE_OK) {
        std::snprintf(name, sizeof name, "阳历每年%d月%d日的记事", month_, day_);
        unsaved.push_back({name, &notes.gregorianYearlyNotes, results.gregorianYearly});
    }
    if (results.lunarYearly != NOTE_OK) {
        std::snprintf(name, sizeof name, "农历每年%s月%s的记事", LunarMonthName(cell_.lunar.month, false),
                      LunarDayName(lunarSlot_));
        unsaved.push_back({name, &lunarTable, results.lunarYearly});
    }
    ReportUnsavedNotes(hwnd_, unsaved);
}

}  // namespace almanac
