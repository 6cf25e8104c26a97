// Opening a web address in the user's browser (Windows). The shell's "open"
// also runs programs and opens local and network files, so the address is
// checked here, right beside the call that would act on it.
#pragma once

#include <string_view>

namespace almanac {

// Hands target to the shell's "open" when IsSafeLinkTarget accepts it;
// false when it was refused or the shell could not open it.
bool OpenWebAddress(std::string_view target);

}  // namespace almanac
