// A planted fault: a Windows header no list names, in portable code.
#include <wincrypt.h>
