// The terminal speaks UTF-8; the calendar's texts are GB18030.
#pragma once

namespace almanac::cli {

// Sets standard output up for UTF-8 bytes written as they are.
void PrepareStandardOutput();

}  // namespace almanac::cli
