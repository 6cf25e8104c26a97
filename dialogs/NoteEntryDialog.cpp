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

std::string TextOf(const NoteSlot& slot) { return slot.text.value_or(""); }

}  // namespace

NoteEntryDialog::NoteEntryDialog(MonthView& view)
    : ModalDialog(IDD_NOTE_ENTRY),
      view_(view),
      oneOffText_(TextOf(view.Notes().oneOffNotes.Slot(view.SelectedDay()))),
      gregorianText_(TextOf(view.Notes().gregorianYearlyNotes.Slot(view.SelectedDay()))),
      lunarText_(TextOf(view.Notes().LunarNoteSlot(view.SelectedDay()))),
      oneOffColour_(view.Notes().oneOffNotes.Slot(view.SelectedDay()).colour),
      gregorianColour_(view.Notes().gregorianYearlyNotes.Slot(view.SelectedDay()).colour),
      lunarColour_(view.Notes().LunarNoteSlot(view.SelectedDay()).colour) {}

BOOL NoteEntryDialog::OnInitDialog() {
    oneOffLimit_.Attach(Item(IDC_ONE_OFF_NOTE));
    gregorianLimit_.Attach(Item(IDC_GREGORIAN_NOTE));
    lunarLimit_.Attach(Item(IDC_LUNAR_NOTE));
    ModalDialog::OnInitDialog();
    oneOffLimit_.Remember();
    gregorianLimit_.Remember();
    lunarLimit_.Remember();
    CreateLabels();
    SetText(std::string("输入记事 - ") + PROGRAM_TITLE);
    return TRUE;  // the focus goes to the first tab stop, "取消"
}

void NoteEntryDialog::CreateLabels() {
    const MonthPage& page = view_.Page();
    const int day = view_.SelectedDay();
    const DayCell& cell = page.cells[day];
    // The lunar month without its leap prefix: a leap month's notes are its
    // ordinary month's.
    const std::string lunarMonth = LunarMonthName(cell.lunar.month, false);
    const std::string lunarDay = LunarDayName(cell.lunar.day);
    char text[128];

    std::snprintf(text, sizeof text, "%d年%d月%d日星期%s农历%s月%s", page.shownYear, page.shownMonth, day,
                  WeekdayName(cell.weekday), lunarMonth.c_str(), lunarDay.c_str());
    headerLabel_ = CreateStaticText(hwnd_, IDC_NOTE_HEADER, PixelsForDialog(hwnd_, kHeader), text, kLabelTenths);
    std::snprintf(text, sizeof text, "阳历每年%d月%d日", page.shownMonth, day);
    gregorianLabel_ =
        CreateStaticText(hwnd_, IDC_GREGORIAN_LABEL, PixelsForDialog(hwnd_, kGregorianLabel), text, kLabelTenths);
    std::snprintf(text, sizeof text, "农历每年%s月%s", lunarMonth.c_str(), lunarDay.c_str());
    lunarLabel_ = CreateStaticText(hwnd_, IDC_LUNAR_LABEL, PixelsForDialog(hwnd_, kLunarLabel), text, kLabelTenths);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    oneOffColourButton_.Create(PixelsForDialog(hwnd_, kOneOffColour), hwnd_, IDC_ONE_OFF_COLOUR, face,
                               NoteColour(oneOffColour_, NOTE_ONE_OFF), kColourButtonTenths, "楷体_gb2312");
    gregorianColourButton_.Create(PixelsForDialog(hwnd_, kGregorianColour), hwnd_, IDC_GREGORIAN_COLOUR, face,
                                  NoteColour(gregorianColour_, NOTE_GREGORIAN_YEARLY), kColourButtonTenths,
                                  "楷体_gb2312");
    lunarColourButton_.Create(PixelsForDialog(hwnd_, kLunarColour), hwnd_, IDC_LUNAR_COLOUR, face,
                              NoteColour(lunarColour_, NOTE_LUNAR_YEARLY), kColourButtonTenths, "楷体_gb2312");
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

void NoteEntryDialog::OnOK() {
    UpdateData(true);
    MonthNotes::DayNoteResults results = view_.SaveDayNotes(oneOffText_, oneOffColour_, gregorianText_,
                                                            gregorianColour_, lunarText_, lunarColour_);
    if (results.AllSaved()) {
        EndDialog(IDOK);
        return;
    }
    const MonthPage& page = view_.Page();
    MonthNotes& notes = view_.Notes();
    const int day = view_.SelectedDay();
    std::vector<UnsavedNote> unsaved;
    char name[64];
    if (results.oneOff != NOTE_OK) {
        std::snprintf(name, sizeof name, "%d年%d月%d日的记事", page.shownYear, page.shownMonth, day);
        unsaved.push_back({name, &notes.oneOffNotes, results.oneOff});
    }
    if (results.gregorianYearly != NOTE_OK) {
        std::snprintf(name, sizeof name, "阳历每年%d月%d日的记事", page.shownMonth, day);
        unsaved.push_back({name, &notes.gregorianYearlyNotes, results.gregorianYearly});
    }
    if (results.lunarYearly != NOTE_OK) {
        const LunarDate& lunar = page.cells[day].lunar;
        std::snprintf(name, sizeof name, "农历每年%s月%s的记事", LunarMonthName(lunar.month, false),
                      LunarDayName(lunar.day));
        unsaved.push_back({name, &notes.LunarNotesOf(day), results.lunarYearly});
    }
    ReportUnsavedNotes(hwnd_, unsaved);
}

}  // namespace almanac
