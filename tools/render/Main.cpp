// almanac-render.exe [--dpi DPI] YEAR MONTH TODAY OUT.bmp
//
// Paints the real month grid for a month of the page range (FIRST_PAGE …
// LAST_PAGE), with TODAY (YYYY-MM-DD) marked, into a 363 × 238 bitmap (at
// 96 dpi; scaled for another DPI, as on a monitor of that dpi) and writes it
// as a 24-bit BMP. Notes come from the current directory's note folders, as the
// program reads them. tools/render-month.sh runs it under Wine and turns the
// result into PNG.
#include "base/Gb18030.h"
#include "base/Text.h"
#include "display/MonthView.h"
#include "engine/PageRange.h"
#include "framework/Gdi.h"
#include "store/HolidayFile.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

using namespace almanac;

bool WriteBmp(const wchar_t* path, const win::MemoryCanvas& canvas) {
    const int stride = canvas.Stride(), height = canvas.Height();
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + DWORD(stride * height);
    info.biSize = sizeof info;
    info.biWidth = canvas.Width();
    info.biHeight = height;  // bottom-up, as BMP files are
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = DWORD(stride * height);

    FILE* out = _wfopen(path, L"wb");
    if (!out) return false;
    bool written = std::fwrite(&file, sizeof file, 1, out) == 1 && std::fwrite(&info, sizeof info, 1, out) == 1;
    GdiFlush();
    for (int y = height - 1; written && y >= 0; --y)
        written = std::fwrite(canvas.Bits() + y * stride, 1, size_t(stride), out) == size_t(stride);
    return std::fclose(out) == 0 && written;
}

int Fail(const char* message) {
    std::fprintf(stderr, "almanac-render: %s\n", message);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    win::DpiScale scale;
    if (argc == 7 && std::wcscmp(argv[1], L"--dpi") == 0) {
        wchar_t* end = nullptr;
        const long dpi = std::wcstol(argv[2], &end, 10);
        if (*end || dpi < 48 || dpi > 480) return Fail("--dpi takes a dpi from 48 to 480");
        scale = win::DpiScale(int(dpi));
        argc -= 2;
        argv += 2;
    }
    if (argc != 5) return Fail("usage: almanac-render [--dpi DPI] YEAR MONTH TODAY OUT.bmp (TODAY as YYYY-MM-DD)");
    int year = _wtoi(argv[1]), month = _wtoi(argv[2]);
    char message[160];
    if (!IsPage(year, month)) {
        std::snprintf(message, sizeof message, "YEAR MONTH must lie within %d %d .. %d %d", FIRST_PAGE.year,
                      FIRST_PAGE.month, LAST_PAGE.year, LAST_PAGE.month);
        return Fail(message);
    }
    GregorianDate today;
    if (!ParseIsoDate(text::Narrow(argv[3]), today) || !IsPageDay(today.year, today.month, today.day)) {
        std::snprintf(message, sizeof message, "TODAY must be a date YYYY-MM-DD within %04d-%02d-%02d .. %04d-%02d-%02d",
                      FIRST_DAY.year, FIRST_DAY.month, FIRST_DAY.day, LAST_DAY.year, LAST_DAY.month, LAST_DAY.day);
        return Fail(message);
    }

    const int width = scale(MonthView::WIDTH), height = scale(MonthView::HEIGHT);
    HWND host = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, width, height, nullptr, nullptr, win::Instance(),
                                nullptr);
    // The notes and 节假日安排.txt of the current folder, as the program
    // reads them from its notes folder.
    std::wstring here(GetCurrentDirectoryW(0, nullptr), L'\0');
    here.resize(GetCurrentDirectoryW(DWORD(here.size()), here.data()));
    const NotesFolder notes(text::Narrow(here));
    MonthView view(nullptr, notes);
    if (!host || !view.Create({0, 0, width, height}, host, 107, scale))
        return Fail("could not create the month grid");
    HolidayCalendar holidays;
    HolidayFileReading reading = ReadHolidayFile(notes.HolidayFile());
    if (reading.status == HolidayFileReading::Status::Read) holidays.ReplaceYears(reading.text.days);
    if (std::string problem = HolidayFileProblem(reading, notes.HolidayFile()); !problem.empty())
        std::fprintf(stderr, "almanac-render: %s\n", text::Utf8FromGb18030(problem).c_str());
    view.SetHolidays(holidays);
    view.ShowMonth(today.year, today.month, today.day);  // marks today
    view.ShowMonth(year, month, 0);

    win::MemoryCanvas canvas(width, height);
    win::PrintWindowTree(view, canvas.Get());
    if (!WriteBmp(argv[4], canvas)) return Fail("could not write the bitmap");
    DestroyWindow(host);
    return 0;
}
