#include "store/HolidayFile.h"
#include "store/WholeFile.h"

#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace almanac {
namespace {

using testing::ScratchFolder;

// The same two lines in the three encodings a user's editor may save.
constexpr std::string_view kUtf8 = "2027-02-06 \xE4\xBC\x91 \xE6\x98\xA5\xE8\x8A\x82\n2027-02-07 \xE7\x8F\xAD\n";  // 休 春节, 班
constexpr std::string_view kGb18030 = "2027-02-06 \xD0\xDD \xB4\xBA\xBD\xDA\n2027-02-07 \xB0\xE0\n";

class HolidayFileTest : public ::testing::Test {
protected:
    ScratchFolder scratch;
};

TEST_F(HolidayFileTest, ReadsEachEncoding) {
    for (std::string bytes : {std::string("\xEF\xBB\xBF") + std::string(kUtf8), std::string(kUtf8), std::string(kGb18030)}) {
        ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, bytes);
        HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
        ASSERT_EQ(reading.status, HolidayFileReading::Status::Read);
        ASSERT_EQ(reading.text.days.size(), 2u) << bytes;
        EXPECT_EQ(reading.text.days[0].mark, DayMark::Rest);
        EXPECT_EQ(reading.text.days[0].name, "春节");
        EXPECT_EQ(reading.text.days[1].mark, DayMark::Work);
        EXPECT_TRUE(reading.text.badLines.empty());
        EXPECT_EQ(HolidayFileProblem(reading, HOLIDAY_FILE_NAME), "");
    }
}

// The two lines as Notepad saves them as "Unicode" (UTF-16 with a byte
// order mark), little and big endian, with Windows' line ends.
std::string Utf16(bool bigEndian) {
    const char16_t text[] = u"2027-02-06 \u4F11 \u6625\u8282\r\n2027-02-07 \u73ED\r\n";
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : std::u16string_view(text)) {
        char high = char(c >> 8), low = char(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

TEST_F(HolidayFileTest, ReadsUtf16ByItsByteOrderMark) {
    for (bool bigEndian : {false, true}) {
        ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, Utf16(bigEndian));
        HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
        ASSERT_EQ(reading.status, HolidayFileReading::Status::Read);
        ASSERT_EQ(reading.text.days.size(), 2u) << bigEndian;
        EXPECT_EQ(reading.text.days[0].name, "春节");
        EXPECT_EQ(reading.text.days[1].mark, DayMark::Work);
        EXPECT_TRUE(reading.text.badLines.empty());
    }
}

TEST_F(HolidayFileTest, AStrayByteInUtf8DamagesOnlyItsLine) {
    // Three good UTF-8 lines of 休 and one with a byte that is no UTF-8 in its name.
    const std::string bytes = "2027-02-06 \xE4\xBC\x91 \xE6\x98\xA5\xE8\x8A\x82\n"
                              "2027-02-07 \xE4\xBC\x91 \xE6\x98\xA5\x80\xE8\x8A\x82\n"
                              "2027-02-08 \xE4\xBC\x91 \xE6\x98\xA5\xE8\x8A\x82\n"
                              "2027-02-09 \xE4\xBC\x91 \xE6\x98\xA5\xE8\x8A\x82\n";
    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, bytes);
    HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    ASSERT_EQ(reading.status, HolidayFileReading::Status::Read);
    ASSERT_EQ(reading.text.days.size(), 3u);
    for (const HolidayDay& day : reading.text.days) EXPECT_EQ(day.name, "春节");
    ASSERT_EQ(reading.text.badLines.size(), 1u);
    EXPECT_EQ(reading.text.badLines[0].number, 2);
    EXPECT_EQ(reading.text.badLines[0].text, "2027-02-07 休 春�节");

    // A GB18030 file whose one line happens to be good UTF-8 stays GB18030.
    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, "# \xC3\xA9\n" + std::string(kGb18030));
    reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    EXPECT_EQ(reading.text.days.size(), 2u);
    EXPECT_TRUE(reading.text.badLines.empty());
}

TEST_F(HolidayFileTest, TheMessageIsReadableWhateverTheLine) {
    // A NUL and a 250 KB line: the message holds no NUL and no screenful.
    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME,
                              std::string("2027-02-06 \xD0\xDD\0\n2027-02-07 x ", 28) + std::string(250 * 1024, 'y') + "\n");
    HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    ASSERT_EQ(reading.text.badLines.size(), 2u);
    std::string problem = HolidayFileProblem(reading, HOLIDAY_FILE_NAME);
    EXPECT_EQ(problem.find('\0'), std::string::npos);
    EXPECT_LT(problem.size(), 1000u);
    EXPECT_NE(problem.find("第 2 行：2027-02-07 x yyy"), std::string::npos) << problem;
}

TEST_F(HolidayFileTest, BadLinesAreNamedOnce) {
    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, "2027-02-06 休 春节\n2027-13-01 休 春节\n");
    HolidayFileReading reading = ReadHolidayFile(HOLIDAY_FILE_NAME);
    ASSERT_EQ(reading.status, HolidayFileReading::Status::Read);
    EXPECT_EQ(reading.text.days.size(), 1u);
    std::string problem = HolidayFileProblem(reading, HOLIDAY_FILE_NAME);
    EXPECT_NE(problem.find("节假日安排.txt"), std::string::npos);
    EXPECT_NE(problem.find("第 2 行：2027-13-01 休 春节"), std::string::npos) << problem;
}

TEST_F(HolidayFileTest, WhatCannotBeAHolidayFileIsNotRead) {
    EXPECT_EQ(ReadHolidayFile(HOLIDAY_FILE_NAME).status, HolidayFileReading::Status::Missing);
    EXPECT_EQ(HolidayFileProblem(ReadHolidayFile(HOLIDAY_FILE_NAME), HOLIDAY_FILE_NAME), "");

    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, std::string(HOLIDAY_FILE_MAX_BYTES + 1, '#'));
    EXPECT_EQ(ReadHolidayFile(HOLIDAY_FILE_NAME).status, HolidayFileReading::Status::TooLarge);
    ScratchFolder::WriteBytes(HOLIDAY_FILE_NAME, std::string(HOLIDAY_FILE_MAX_BYTES, '#'));
    EXPECT_EQ(ReadHolidayFile(HOLIDAY_FILE_NAME).status, HolidayFileReading::Status::Read);
    RemoveFile(HOLIDAY_FILE_NAME);

    ScratchFolder::MakeFolder(HOLIDAY_FILE_NAME);
    HolidayFileReading folder = ReadHolidayFile(HOLIDAY_FILE_NAME);
    EXPECT_EQ(folder.status, HolidayFileReading::Status::NotAFile);
    EXPECT_NE(HolidayFileProblem(folder, HOLIDAY_FILE_NAME).find("不是普通文件"), std::string::npos);
    ScratchFolder::RemoveFolder(HOLIDAY_FILE_NAME);
#ifndef _WIN32
    // A pipe would block a plain open; it is refused before.
    ASSERT_EQ(mkfifo(ScratchFolder::Native(HOLIDAY_FILE_NAME).c_str(), 0600), 0);
    EXPECT_EQ(ReadHolidayFile(HOLIDAY_FILE_NAME).status, HolidayFileReading::Status::NotAFile);
#endif
}

}  // namespace
}  // namespace almanac
