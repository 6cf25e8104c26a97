// No fault: each platform's headers in its own branch.
#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif
#include <string>
