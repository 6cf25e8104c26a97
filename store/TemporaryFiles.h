// The names of the temporary files that saves write beside their file, and
// which leftovers of killed saves may go. The notes folder may be shared
// (a sync service, a second computer): another computer's save may be
// writing its temporary file right now, and its process ids mean nothing
// here. So a temporary file names its computer and its process:
//   "<file>.new.<computer>.<process id>.<count>"
// where <computer> is eight hex digits, a hash of the computer's name and
// of its system's installation id (Windows' MachineGuid, /etc/machine-id):
// the same for every run on one computer (so a later run knows its own
// leftovers); different for two computers of one name, and for two Wine
// prefixes on one host, whose process ids are apart; and no name of the
// user's computer in a shared folder.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace almanac {

// A leftover older than this is removed whoever wrote it: no save takes
// a day, and a sync service delivers within one.
inline constexpr long long LEFTOVER_MAX_AGE_SECONDS = 24 * 60 * 60;

// Eight lowercase hex digits for what names a computer (FNV-1a, 32 bits).
std::string ComputerIdOf(std::string_view computerName);

// This computer's id, from its name and its installation's id.
const std::string& ThisComputerId();

// The temporary file of a save of fileName ("202612"), without folder.
std::string TemporaryFileName(std::string_view fileName, std::string_view computer, unsigned long processId,
                              unsigned count);

// Where and when a leftover is looked at.
struct LeftoverCheck {
    std::string_view computer;   // this computer's id
    unsigned long processId = 0; // this process
    std::function<bool(unsigned long)> isRunning;  // a process of this computer
};

// Whether the file name (without folder) beside fileName is a temporary
// file of a save that will never finish, and may go:
// - this computer's, of a process that has ended (never this process's
//   own: a save of another thread may be writing it);
// - any temporary name, this computer's, another's or one of earlier
//   versions ("<file>.new", "<file>.new.<pid>.<count>", which do not tell
//   their computer), older than LEFTOVER_MAX_AGE_SECONDS.
// Every other name stays, such as a sync service's own copies ("202612 (1)",
// "202612-办公室电脑", "default.conflict").
bool IsRemovableLeftover(std::string_view name, std::string_view fileName, long long ageSeconds,
                         const LeftoverCheck& here);

}  // namespace almanac
