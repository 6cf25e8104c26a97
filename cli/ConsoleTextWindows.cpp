#include "ConsoleText.h"

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

}  // namespace almanac::cli
