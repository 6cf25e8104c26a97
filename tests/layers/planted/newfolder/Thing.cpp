// A planted fault: sources in a folder no layer names.
#include <string>
