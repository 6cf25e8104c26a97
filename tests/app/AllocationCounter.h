// The number of allocations through operator new so far in this program.
#pragma once

namespace almanac::testing {
long Allocations();
}
