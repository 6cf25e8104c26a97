#include "store/HolidayFile.h"

#include "base/Gb18030.h"
#include "store/WholeFile.h"

#ifdef _WIN32
#include "base/Text.h"
#endif

#include <filesystem>
#include <system_error>

namespace almanac {
namespace {

// Decodes strict UTF-8 (no overlong forms, no surrogates, nothing past
// U+10FFFF) into UTF-16; false when the bytes are not UTF-8.
bool DecodeUtf8(std::string_view bytes, std::u16string& text) {
    for (std::size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        std::size_t length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        char32_t code = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
        for (std::size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(bytes[i + k]);
            if ((next >> 6) != 0x2) return false;
            code = (code << 6) | (next & 0x3F);
        }
        constexpr char32_t smallest[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < smallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
        if (code >= 0x10000) {
            code -= 0x10000;
            text.push_back(char16_t(0xD800 + (code >> 10)));
            text.push_back(char16_t(0xDC00 + (code & 0x3FF)));
        } else {
            text.push_back(char16_t(code));
        }
        i += length;
    }
    return true;
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
    constexpr std::string_view bom = "\xEF\xBB\xBF";
    const bool marked = bytes.substr(0, bom.size()) == bom;
    if (marked) bytes.remove_prefix(bom.size());
    std::u16string text;
    if (DecodeUtf8(bytes, text)) return text::Gb18030FromUtf16(text);
    return std::string(bytes);  // GB18030 (or damaged UTF-8, whose bad lines show as such)
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
    calendar_ = HolidayCalendar();
    if (reading.status == HolidayFileReading::Status::Read) calendar_.ReplaceYears(reading.text.days);
    std::string problem = HolidayFileProblem(reading, file);
    if (problem == problem_) return {};
    problem_ = problem;
    return problem;
}

}  // namespace almanac
