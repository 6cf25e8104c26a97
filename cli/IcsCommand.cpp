#include "cli/IcsCommand.h"

#include "base/Gb18030.h"
#include "store/WholeFile.h"

#include <cstdio>
#include <ctime>

namespace almanac::cli {
namespace {

// Messages are built in GB18030, like the calendar's texts, but the folder
// is named in the bytes it was given in.
void Report(const std::string& folder, const std::string& gb18030) {
    std::string message = text::Utf8FromGb18030(gb18030);
    std::fprintf(stderr, "almanac-cli: %s: %s\n", folder.c_str(), message.c_str());
}

std::string ProblemText(const ExportProblem& problem) {
    switch (problem.kind) {
        case ExportProblem::Kind::UnreadableFile:
            return problem.fileName + " skipped: it could not be read (" + SystemErrorText(problem.systemError) + ")";
        case ExportProblem::Kind::DamagedFile:
            return problem.fileName + " skipped: it is damaged (not a whole note file)";
        case ExportProblem::Kind::InvalidText:
            return problem.fileName + " note " + std::to_string(problem.slot) +
                   ": bytes that form no character, exported as U+FFFD";
    }
    return {};
}

}  // namespace

int PrintNotesCalendar(const std::string& folder, const ExportOptions& options) {
    NotesExport result = ExportNotes(NotesFolder(folder), options);
    switch (result.status) {
        case NotesExport::Status::NoFolder: Report(folder, "no such folder"); return 2;
        case NotesExport::Status::NotNotesFolder: Report(folder, "not a notes folder (it holds no 日历)"); return 2;
        case NotesExport::Status::Exported: break;
    }
    std::fwrite(result.calendar.data(), 1, result.calendar.size(), stdout);
    for (const ExportProblem& problem : result.problems) Report(folder, ProblemText(problem));
    return result.problems.empty() ? 0 : 1;
}

std::string StampOfNow() {
    std::time_t now = std::time(nullptr);
    const std::tm* utc = std::gmtime(&now);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%SZ", utc);
    return stamp;
}

int ThisYear() {
    std::time_t now = std::time(nullptr);
    return std::localtime(&now)->tm_year + 1900;
}

}  // namespace almanac::cli
