// A planted fault: the engine reaching up into the note store.
#include "store/NoteStore.h"
