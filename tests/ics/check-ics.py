#!/usr/bin/python3
"""The notes' iCalendar file as other programs read it.

Builds a notes folder with a note on every lunar day of every lunar month
and the other kinds at their edges, exports it with almanac-cli, reads the
file with python3-icalendar, expands it with libical (expand-ics) and
compares the days, 2025 to 2040, one by one:

  dates   the lunar notes' dated occurrences with the engine's own days
          (almanac-cli days: the lunar date of every day);
  rules   the lunar rules with ICU's Chinese calendar, which libical uses
          to expand them (ICU differs from the official calendar on a few
          month starts, so a rule follows ICU, not the engine).

The other kinds are checked against Python's own calendar in both forms.

    check-ics.py CLI EXPAND WORKDIR dates|rules
"""
import datetime
import os
import shutil
import subprocess
import sys

import icalendar

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import notes_fixture  # noqa: E402

FIRST, LAST = datetime.date(2025, 1, 1), datetime.date(2040, 12, 31)


def days():
    day = FIRST
    while day <= LAST:
        yield day
        day += datetime.timedelta(days=1)


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def check_lines(raw):
    """UTF-8, CRLF line ends, lines of at most 75 octets."""
    raw.decode("utf-8")
    if not raw.endswith(b"\r\n"):
        fail("the file does not end with CRLF")
    for number, line in enumerate(raw.split(b"\r\n")[:-1], 1):
        if b"\n" in line or b"\r" in line:
            fail("line %d holds a bare line end" % number)
        if len(line) > 75:
            fail("line %d is %d octets long" % (number, len(line)))


def check_structure(raw):
    """Parsed by python3-icalendar: the calendar's and each event's fields;
    the texts of the special notes come back as they were written."""
    calendar = icalendar.Calendar.from_ical(raw)
    if str(calendar.get("VERSION")) != "2.0" or not calendar.get("PRODID"):
        fail("VERSION 2.0 and a PRODID are needed")
    events = list(calendar.walk("VEVENT"))
    uids = [str(event.get("UID")) for event in events]
    if len(set(uids)) != len(uids):
        fail("UIDs repeat")
    texts = {}
    for event in events:
        for field in ("DTSTAMP", "UID", "DTSTART", "SUMMARY"):
            if event.get(field) is None:
                fail("an event without %s: %s" % (field, event.get("UID")))
        if type(event.decoded("DTSTART")) is not datetime.date:
            fail("not an all-day event: %s" % event.get("UID"))
        texts[str(event.get("SUMMARY"))] = str(event.get("DESCRIPTION", ""))
    for key, text in (("O20240210", notes_fixture.SPECIAL_TEXTS["escapes"]),
                      ("O19991231", notes_fixture.SPECIAL_TEXTS["lines"]),
                      ("O20350630", notes_fixture.SPECIAL_TEXTS["long"])):
        expected = (key + "\n" + text.replace("\r\n", "\n")).rstrip()
        if texts.get(key) != expected:
            fail("the text of %s comes back as %r, not %r" % (key, texts.get(key), expected))
    return len(events)


def expanded(expand, path):
    output = subprocess.run([expand, path, "20250101", "20410101"], check=True, capture_output=True,
                            text=True, timeout=600).stdout
    found = {}
    for line in output.splitlines():
        summary, day = line.split("\t")
        found.setdefault(summary, set()).add(datetime.datetime.strptime(day, "%Y%m%d").date())
    return found


def expected_other_kinds():
    """One-off, Gregorian-yearly and weekly notes, by Python's calendar."""
    expected = {"O20240210": set(), "O19991231": set(), "O20350630": {datetime.date(2035, 6, 30)}}
    expected["G1-1"] = {d for d in days() if (d.month, d.day) == (1, 1)}
    expected["G2-28"] = {d for d in days() if (d.month, d.day) == (2, 28)}
    expected["G2-29"] = {d for d in days() if (d.month, d.day) == (2, 29)}
    expected["G12-31"] = {d for d in days() if (d.month, d.day) == (12, 31)}
    expected["W0"] = {d for d in days() if d.isoweekday() == 7}
    expected["W3"] = {d for d in days() if d.isoweekday() == 3}
    return expected


def lunar_days_of_engine(cli):
    """(day, lunar month, lunar day, month length) from almanac-cli days."""
    output = subprocess.run([cli, "days", FIRST.isoformat(), LAST.isoformat()], check=True, capture_output=True,
                            text=True).stdout
    for line in output.splitlines():
        fields = line.split("\t")
        yield (datetime.date.fromisoformat(fields[0]), int(fields[3]), int(fields[4]), int(fields[6]))


def lunar_days_of_icu():
    import icu
    chinese = icu.Calendar.createInstance(icu.TimeZone.getGMT(), icu.Locale("zh_CN@calendar=chinese"))
    gregorian = icu.GregorianCalendar(icu.TimeZone.getGMT())
    for day in days():
        gregorian.clear()
        gregorian.set(day.year, day.month - 1, day.day, 12, 0, 0)
        chinese.setTime(gregorian.getTime())
        yield (day, chinese.get(icu.UCalendarDateFields.MONTH) + 1,
               chinese.get(icu.UCalendarDateFields.DATE),
               chinese.getActualMaximum(icu.UCalendarDateFields.DATE))


def expected_lunar(lunar_days):
    """Every month of the number, leap or not; a day-30 note on the 29th of
    a 29-day month."""
    expected = {}
    for day, month, lunar_day, length in lunar_days:
        expected.setdefault("L%d-%d" % (month, lunar_day), set()).add(day)
        if lunar_day == 29 and length == 29:
            expected.setdefault("L%d-30" % month, set()).add(day)
    return expected


def main():
    cli, expand, work, form = sys.argv[1:5]
    shutil.rmtree(work, ignore_errors=True)
    folder = os.path.join(work, "notes")
    notes_fixture.write_full_folder(folder)
    result = subprocess.run([cli, "ics", folder, "--from", "2025", "--years", "16", "--lunar", form],
                            capture_output=True, timeout=120)
    if result.returncode != 0:
        fail("almanac-cli ics exited with %d: %s" % (result.returncode, result.stderr.decode()))
    check_lines(result.stdout)
    events = check_structure(result.stdout)
    path = os.path.join(work, "notes.ics")
    with open(path, "wb") as f:
        f.write(result.stdout)

    found = expanded(expand, path)
    expected = expected_other_kinds()
    expected.update(expected_lunar(lunar_days_of_engine(cli) if form == "dates" else lunar_days_of_icu()))
    wrong = []
    for key in sorted(set(found) | set(expected)):
        missing, extra = expected.get(key, set()) - found.get(key, set()), found.get(key, set()) - expected.get(key, set())
        if missing or extra:
            wrong.append("%s: missing %s, extra %s" % (key, sorted(map(str, missing)), sorted(map(str, extra))))
    if wrong:
        fail("%d notes expand to other days than expected:\n  %s" % (len(wrong), "\n  ".join(wrong)))
    print("%s: %d events, %d days of %d notes as expected" % (form, events, sum(map(len, found.values())), len(found)))


if __name__ == "__main__":
    main()
