#!/usr/bin/env python3
"""Reads an exported calendar with python3-icalendar and checks it against the notes it
was made from. Usage: read_back.py <file.ics> <expected>; the expected file holds one
record per event, "YYYYMMDD\\0summary\\0description\\0categories joined by ,\\0".
Exit status 0 when every event matches byte for byte."""
import sys
from icalendar import Calendar


def main():
    cal = Calendar.from_ical(open(sys.argv[1], "rb").read())
    got = []
    for ev in cal.walk("VEVENT"):
        start = ev.decoded("DTSTART")
        end = ev.decoded("DTEND")
        if (end - start).days != 1 or hasattr(start, "hour"):
            sys.exit("not a one-day all-day event: %r" % ev)
        cats = ev.get("CATEGORIES")
        names = []
        for c in (cats if isinstance(cats, list) else [cats] if cats else []):
            names += [str(x) for x in c.cats]
        got += [start.strftime("%Y%m%d"), str(ev["SUMMARY"]), str(ev["DESCRIPTION"]), ",".join(names)]
    expected = open(sys.argv[2], "rb").read().decode("utf-8").split("\0")[:-1]
    if got != expected:
        sys.exit("read back:\n%r\nexpected:\n%r" % (got, expected))


if __name__ == "__main__":
    main()
