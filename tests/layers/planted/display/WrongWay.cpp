// A planted fault: the display reaching into the link line.
#include "links/LinkSettings.h"
