#include "store/HolidayFile.h"

#include "base/Gb18030.h"
#include "store/WholeFile.h"

#ifdef _WIN32
#include "base/Text.h"
#endif

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>

namespace almanac {
namespace {

// The length of the strict UTF-8 sequence at i (no overlong forms, no
// surrogates, nothing past U+10FFFF) and its character; 0 when the bytes
// there are no UTF-8.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t i, char32_t& code) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > bytes.size()) return 0;
    code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    for (std::size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(bytes[i + k]);
        if ((next >> 6) != 0x2) return 0;
        code = (code << 6) | (next & 0x3F);
    }
    constexpr char32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

void AppendUtf16(char32_t code, std::u16string& text) {
    if (code >= 0x10000) {
        code -= 0x10000;
        text.push_back(char16_t(0xD800 + (code >> 10)));
        text.push_back(char16_t(0xDC00 + (code & 0x3FF)));
    } else {
        text.push_back(char16_t(code));
    }
}

// UTF-8 as GB18030. A byte that is no part of a UTF-8 character becomes
// 0xFF, which is no part of a GB18030 character either: its line is then
// reported, not read as something else.
std::string Gb18030FromUtf8(std::string_view bytes) {
    std::string result;
    std::u16string run;
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t code = 0;
        if (std::size_t length = Utf8SequenceAt(bytes, i, code)) {
            AppendUtf16(code, run);
            i += length;
            continue;
        }
        result += text::Gb18030FromUtf16(run);
        run.clear();
        result += '\xFF';
        ++i;
    }
    return result + text::Gb18030FromUtf16(run);
}

bool IsUtf8(std::string_view bytes) {
    char32_t code = 0;
    for (std::size_t i = 0, length = 0; i < bytes.size(); i += length)
        if ((length = Utf8SequenceAt(bytes, i, code)) == 0) return false;
    return true;
}

// Whether text that is not UTF-8 throughout still was written as UTF-8,
// with a few damaged lines: more of its lines hold characters past ASCII
// in good UTF-8 than hold bytes that are no UTF-8. A GB18030 line of
// Chinese is almost never good UTF-8 (休 is D0 DD).
bool IsMostlyUtf8(std::string_view bytes) {
    int utf8Lines = 0, otherLines = 0;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        const bool ascii = std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) continue;
        if (IsUtf8(line)) ++utf8Lines;
        else ++otherLines;
    }
    return utf8Lines > otherLines;
}

// UTF-16 (after its byte order mark) as GB18030; an odd last byte is
// dropped, an unpaired surrogate becomes '?'.
std::string Gb18030FromUtf16Bytes(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
        text.push_back(char16_t(bigEndian ? first << 8 | second : second << 8 | first));
    }
    return text::Gb18030FromUtf16(text);
}

// For the kind of what the path names, told without opening it: a folder,
// a pipe or a device is no text file.
std::filesystem::path FileSystemPath(std::string_view path) {
#ifdef _WIN32
    return std::filesystem::path(text::Wide(path));
#else
    return std::filesystem::path(std::string(path));
#endif
}

}  // namespace

std::string HolidayFileTextAsGb18030(std::string_view bytes) {
    constexpr std::string_view utf8Mark = "\xEF\xBB\xBF", littleEndianMark = "\xFF\xFE", bigEndianMark = "\xFE\xFF";
    if (bytes.substr(0, 2) == littleEndianMark) return Gb18030FromUtf16Bytes(bytes.substr(2), false);
    if (bytes.substr(0, 2) == bigEndianMark) return Gb18030FromUtf16Bytes(bytes.substr(2), true);
    const bool marked = bytes.substr(0, utf8Mark.size()) == utf8Mark;
    if (marked) bytes.remove_prefix(utf8Mark.size());
    if (marked || IsUtf8(bytes) || IsMostlyUtf8(bytes)) return Gb18030FromUtf8(bytes);
    return std::string(bytes);  // GB18030
}

HolidayFileReading ReadHolidayFile(std::string_view path) {
    HolidayFileReading reading;
    std::error_code error;
    const std::filesystem::path where = FileSystemPath(path);
    std::filesystem::file_status status = std::filesystem::status(where, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        reading.status = HolidayFileReading::Status::Missing;
        return reading;
    }
    if (!error && status.type() != std::filesystem::file_type::regular) {
        reading.status = HolidayFileReading::Status::NotAFile;
        return reading;
    }
    // Read no further than one byte past the limit, however large the file.
    FileContents contents = ReadWholeFile(path, HOLIDAY_FILE_MAX_BYTES);
    switch (contents.status) {
        case FileContents::Status::TooLarge:
            reading.status = HolidayFileReading::Status::TooLarge;
            return reading;
        case FileContents::Status::Missing:
            reading.status = HolidayFileReading::Status::Missing;
            return reading;
        case FileContents::Status::Unreadable:
            reading.status = HolidayFileReading::Status::Unreadable;
            reading.systemError = contents.systemError;
            return reading;
        case FileContents::Status::Read:
            break;
    }
    reading.status = HolidayFileReading::Status::Read;
    reading.text = ParseHolidayText(HolidayFileTextAsGb18030(contents.bytes));
    return reading;
}

std::string HolidayFileProblem(const HolidayFileReading& reading, std::string_view fileName) {
    const std::string name(fileName);
    switch (reading.status) {
        case HolidayFileReading::Status::Missing:
            return {};
        case HolidayFileReading::Status::Unreadable:
            return "无法读取“" + name + "”（" + SystemErrorText(reading.systemError) + "），仍按内置的节假日安排显示。";
        case HolidayFileReading::Status::NotAFile:
            return "“" + name + "”不是普通文件，未读取，仍按内置的节假日安排显示。";
        case HolidayFileReading::Status::TooLarge:
            return "“" + name + "”太大，不像节假日安排，未读取，仍按内置的节假日安排显示。";
        case HolidayFileReading::Status::Read:
            break;
    }
    if (reading.text.badLines.empty()) return {};
    std::string message = "“" + name + "”中有无法识别的行，已跳过：";
    constexpr std::size_t kShownLines = 8;
    for (std::size_t i = 0; i < reading.text.badLines.size() && i < kShownLines; ++i) {
        const BadHolidayLine& bad = reading.text.badLines[i];
        message += "\n第 " + std::to_string(bad.number) + " 行：" + bad.text + "（" + bad.reason + "）";
    }
    if (reading.text.badLines.size() > kShownLines)
        message += "\n另有 " + std::to_string(reading.text.badLines.size() - kShownLines) + " 行。";
    return message;
}

std::string UserHolidays::Reload(const NotesFolder& folder) {
    const std::string file = folder.HolidayFile();
    HolidayFileReading reading = ReadHolidayFile(file);
    daysChanged_ = false;
    if (reading.status != HolidayFileReading::Status::Unreadable) {
        HolidayCalendar calendar;
        if (reading.status == HolidayFileReading::Status::Read) calendar.ReplaceYears(reading.text.days);
        daysChanged_ = !(calendar == calendar_);
        if (daysChanged_) calendar_ = std::move(calendar);
    }
    std::string problem = HolidayFileProblem(reading, file);
    if (problem == problem_) return {};
    problem_ = problem;
    return problem;
}

}  // namespace almanac
