#include "app/PanelMenu.h"

#include "base/Text.h"
#include "store/WholeFile.h"

#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

namespace almanac {

int RunPanelMenu(HWND owner, POINT screenPoint) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return 0;
    const struct {
        int command;
        const char* text;
    } items[] = {
        {PANEL_EXPORT_NOTES, "导出记事(&E)…"}, {PANEL_OPEN_NOTES_FOLDER, "打开记事文件夹(&F)"}, {0, nullptr},
        {PANEL_SHOW_TODAY, "回到今天(&T)"},    {PANEL_SHOW_MEMO, "记事小本(&M)"},              {0, nullptr},
        {PANEL_END, "结束程序(&X)…"},
    };
    for (const auto& item : items) {
        if (item.text)
            AppendMenuW(menu, MF_STRING, UINT_PTR(item.command), text::Wide(item.text).c_str());
        else
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    }
    // The owner must be the foreground window, or the menu does not close
    // when the user clicks elsewhere.
    SetForegroundWindow(owner);
    const int chosen = int(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screenPoint.x,
                                          screenPoint.y, 0, owner, nullptr));
    DestroyMenu(menu);
    return chosen;
}

std::optional<ExportTarget> AskWhereToExport(HWND owner, const std::optional<std::string>& documentsFolder) {
    std::vector<wchar_t> file(32768, L'\0');
    const std::wstring name = text::Wide("我的记事.ics");
    std::copy(name.begin(), name.end(), file.begin());
    // Two kinds of the same file: how the lunar notes go into it.
    const std::wstring filter = text::Wide("日历文件，农历记事按日期（各种日历都能导入）") + L'\0' + L"*.ics" + L'\0' +
                                text::Wide("日历文件，农历记事按农历规则（RSCALE）") + L'\0' + L"*.ics" + L'\0' + L'\0';
    const std::wstring folder = documentsFolder ? text::Wide(*documentsFolder) : std::wstring();
    const std::wstring title = text::Wide("导出记事");
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = DWORD(file.size());
    dialog.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.lpstrDefExt = L"ics";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetSaveFileNameW(&dialog)) return std::nullopt;
    return ExportTarget{text::Narrow(file.data()), dialog.nFilterIndex == 2 ? LunarForm::Rules : LunarForm::Dates};
}

namespace {

std::string UtcStamp() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02dT%02d%02d%02dZ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    return stamp;
}

}  // namespace

std::string ExportNotesTo(const NotesFolder& folder, const ExportTarget& target, int fromYear) {
    ExportOptions options;
    options.fromYear = fromYear;
    options.years = EXPORT_DEFAULT_YEARS;
    options.lunarForm = target.lunarForm;
    options.stamp = UtcStamp();
    const NotesExport exported = ExportNotes(folder, options);
    if (exported.status != NotesExport::Status::Exported)
        return "记事文件夹“" + folder.Path() + "”里没有日历记事，没有导出。";
    int error = 0;
    if (WriteWholeFile(target.path, exported.calendar, &error) != FileResult::Done)
        return "记事没有导出到“" + target.path + "”：" + SystemErrorText(error);
    std::string skipped;
    for (const ExportProblem& problem : exported.problems)
        if (problem.kind != ExportProblem::Kind::InvalidText) skipped += "\n" + folder.PathOf(problem.fileName);
    if (skipped.empty()) return {};
    return "记事已导出到“" + target.path + "”，但这些记事文件无法读取或已损坏，其中的记事没有导出：" + skipped;
}

void OpenNotesFolder(HWND owner, const NotesFolder& folder) {
    ShellExecuteW(owner, L"explore", text::Wide(folder.Path()).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace almanac
