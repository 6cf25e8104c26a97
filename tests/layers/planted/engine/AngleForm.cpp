// A planted fault: the engine reaching up through the include path's root.
#include <store/MonthNotes.h>
