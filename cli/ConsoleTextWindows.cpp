#include "cli/ConsoleText.h"

#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

namespace almanac::cli {

void PrepareStandardOutput() {
    // Bytes as they are: no "\r\n" for "\n", so a pipe gets what Linux gets.
    _setmode(_fileno(stdout), _O_BINARY);
    if (GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_CHAR) SetConsoleOutputCP(CP_UTF8);
}

bool StandardOutputTakesColour() {
    HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (std::getenv("NO_COLOR") || !GetConsoleMode(output, &mode)) return false;
    return SetConsoleMode(output, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0;
}

}  // namespace almanac::cli
