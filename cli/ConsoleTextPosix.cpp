#include "cli/ConsoleText.h"

#include <cstdlib>
#include <unistd.h>

namespace almanac::cli {

// A POSIX terminal takes UTF-8 bytes as they are.
void PrepareStandardOutput() {}

bool StandardOutputTakesColour() { return isatty(STDOUT_FILENO) && !std::getenv("NO_COLOR"); }

}  // namespace almanac::cli
