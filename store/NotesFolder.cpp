#include "store/NotesFolder.h"

#include <cstdio>

namespace almanac {

std::string NotesFolder::MonthFile(int year, int month) const {
    char name[32];
    std::snprintf(name, sizeof name, "%s\\%d%02d", CALENDAR_FOLDER, year, month);
    return PathOf(name);
}

std::string NotesFolder::HolidayFile() const { return PathOf(HOLIDAY_FILE_NAME); }

}  // namespace almanac
