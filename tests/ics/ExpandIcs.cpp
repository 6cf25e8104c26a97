// Expands every event of an iCalendar file with libical, as a calendar
// client does, and prints one line per occurrence in [FROM, TO): the
// event's SUMMARY, a tab and the date (YYYYMMDD).
//
//     expand-ics FILE FROM TO      FROM and TO as YYYYMMDD
#include <libical/ical.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

void PrintOccurrence(icalcomponent* event, icaltime_span* span, void*) {
    icaltimetype day = icaltime_from_timet_with_zone(span->start, 1, icaltimezone_get_utc_timezone());
    std::printf("%s\t%04d%02d%02d\n", icalcomponent_get_summary(event), day.year, day.month, day.day);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: expand-ics FILE FROM TO\n");
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::perror(argv[1]);
        return 2;
    }
    std::stringstream text;
    text << file.rdbuf();
    icalcomponent* calendar = icalparser_parse_string(text.str().c_str());
    if (!calendar || icalcomponent_isa(calendar) != ICAL_VCALENDAR_COMPONENT) {
        std::fprintf(stderr, "expand-ics: libical reads no calendar\n");
        return 1;
    }
    icaltimetype from = icaltime_from_string(argv[2]), to = icaltime_from_string(argv[3]);
    int events = 0;
    for (icalcomponent* event = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT); event;
         event = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT)) {
        icalcomponent_foreach_recurrence(event, from, to, PrintOccurrence, NULL);
        ++events;
    }
    std::fprintf(stderr, "expand-ics: %d events\n", events);
    icalcomponent_free(calendar);
    return 0;
}
