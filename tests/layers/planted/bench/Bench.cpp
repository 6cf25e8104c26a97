// A planted fault: a benchmark standing on a test's helper.
#include "tests/app/AppFixture.h"
