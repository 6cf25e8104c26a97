// A planted fault: portable code reaching for Windows.
#include <windows.h>
