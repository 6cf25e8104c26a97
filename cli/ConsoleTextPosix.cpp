#include "ConsoleText.h"

namespace almanac::cli {

// A POSIX terminal takes UTF-8 bytes as they are.
void PrepareStandardOutput() {}

}  // namespace almanac::cli
