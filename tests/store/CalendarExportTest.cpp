#include "store/CalendarExport.h"
#include "store/ICalendarText.h"

#include "store/NoteStore.h"
#include "testkit/ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace almanac {
namespace {

using testing::ScratchFolder;

std::vector<std::string> PhysicalLines(const std::string& folded) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < folded.size();) {
        std::size_t end = folded.find("\r\n", at);
        lines.push_back(folded.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Unfolded(const std::string& folded) {
    std::string line;
    for (const std::string& physical : PhysicalLines(folded)) line += line.empty() ? physical : physical.substr(1);
    return line;
}

bool StartsWithContinuationByte(const std::string& text) {
    return !text.empty() && (static_cast<unsigned char>(text[0]) & 0xC0) == 0x80;
}

// RFC 5545 3.1: lines of at most 75 octets, continued by CRLF and a space;
// a fold never splits a UTF-8 character (3 octets each here, so the folds
// fall off the 75-octet mark).
TEST(ICalendarTextTest, FoldsAt75OctetsWithoutSplittingCharacters) {
    struct Case {
        std::string line;
        std::size_t physicalLines;
    };
    std::string chinese;
    for (int i = 0; i < 60; ++i) chinese += "\xE9\x95\xBF";  // 长, 180 octets
    for (const Case& c : {Case{std::string(75, 'a'), 1}, Case{std::string(76, 'a'), 2},
                          Case{std::string(75 + 74 + 1, 'a'), 3}, Case{"SUMMARY:" + chinese, 3}}) {
        std::string folded = ical::FoldedLine(c.line);
        std::vector<std::string> lines = PhysicalLines(folded);
        EXPECT_EQ(lines.size(), c.physicalLines) << c.line;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_LE(lines[i].size(), 75u);
            if (i > 0) {
                EXPECT_EQ(lines[i][0], ' ');
                EXPECT_FALSE(StartsWithContinuationByte(lines[i].substr(1)));
            }
        }
        EXPECT_EQ(Unfolded(folded), c.line);
    }
}

// RFC 5545 3.3.11: backslash, semicolon and comma escaped, line breaks as
// \n; a control character cannot be in TEXT, a tab can.
TEST(ICalendarTextTest, EscapesText) {
    EXPECT_EQ(ical::EscapedText("a,b;c\\d"), "a\\,b\\;c\\\\d");
    EXPECT_EQ(ical::EscapedText("one\r\ntwo\nthree\rfour"), "one\\ntwo\\nthree\\nfour");
    EXPECT_EQ(ical::EscapedText(std::string("x\x01y\tz\x7F", 6)), "xy\tz");
}

// The default colours of the note kinds are CSS3 colours themselves.
TEST(CalendarExportTest, NearestCssColour) {
    EXPECT_STREQ(NearestCssColour(NoteColour(0, NOTE_ONE_OFF)), "lightskyblue");  // (135, 206, 250)
    EXPECT_STREQ(NearestCssColour(NoteColour(0, NOTE_GREGORIAN_YEARLY)), "red");
    EXPECT_STREQ(NearestCssColour(0x00FF0000), "blue");
    EXPECT_STREQ(NearestCssColour(0x00FEFEFE), "white");
}

// Reading only: a damaged file is reported and stays as it was, with no
// copy made beside it.
TEST(CalendarExportTest, LeavesADamagedFileAlone) {
    ScratchFolder scratch;
    ScratchFolder::MakeNoteFolders();
    const std::string damaged("\x64\x00\x03\x00\x05\x00", 6);  // a record cut off
    ScratchFolder::WriteBytes("日历\\003", damaged);
    NotesExport result = ExportNotes(scratch.Notes(), {2025, 1, LunarForm::Dates, "20250101T000000Z"});
    ASSERT_EQ(result.status, NotesExport::Status::Exported);
    ASSERT_EQ(result.problems.size(), 1u);
    EXPECT_EQ(result.problems[0].kind, ExportProblem::Kind::DamagedFile);
    EXPECT_EQ(result.problems[0].fileName, "日历\\003");
    EXPECT_EQ(ScratchFolder::ReadBytes("日历\\003"), damaged);
    EXPECT_FALSE(ScratchFolder::Exists("日历\\003.bad"));
    EXPECT_EQ(result.events, 0);
}

}  // namespace
}  // namespace almanac
