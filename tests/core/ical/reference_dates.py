#!/usr/bin/env python3
"""Computes the expected days and times of the recurrence tests in IcsCalendarTest.cpp
independently of libical, with dateutil's rrule and Python's zoneinfo. Run it after
changing a test calendar and copy its output into the tables there."""
from datetime import datetime, timedelta, date
from zoneinfo import ZoneInfo
from dateutil.rrule import rrule, rruleset, MONTHLY, WEEKLY, DAILY, MO, TU, WE, TH, FR

SH = ZoneInfo("Asia/Shanghai")
NY = ZoneInfo("America/New_York")


def show(title, times, zone=SH):
    print(title)
    for t in times:
        if isinstance(t, datetime):
            lt = t.astimezone(zone)
            print('  {"%s", "%02d:%02d"},' % (lt.date().isoformat(), lt.hour, lt.minute))
        else:
            print('  {"%s", ""},' % t.isoformat())


# Outlook weekly meeting, Mondays 09:00 Eastern, across both daylight-saving changes.
weekly = rrule(WEEKLY, byweekday=MO, dtstart=datetime(2026, 2, 23, 9, 0, tzinfo=NY), count=40)
show("weekly 09:00 New York, seen from Shanghai, 2026-02-23..2026-03-16 and 2026-10-26..2026-11-09",
     [t for t in weekly if date(2026, 2, 23) <= t.astimezone(SH).date() <= date(2026, 3, 16)
      or date(2026, 10, 26) <= t.astimezone(SH).date() <= date(2026, 11, 9)])

# Last weekday of the month (BYSETPOS=-1), all day, until 2026-12-31, one day excluded,
# one extra date, one occurrence moved by RECURRENCE-ID and one cancelled.
s = rruleset()
s.rrule(rrule(MONTHLY, byweekday=(MO, TU, WE, TH, FR), bysetpos=-1,
              dtstart=datetime(2026, 1, 30), until=datetime(2026, 12, 31)))
s.exdate(datetime(2026, 4, 30))
s.rdate(datetime(2026, 5, 15))
days = [t.date() for t in s]
days.remove(date(2026, 6, 30))  # moved to 2026-06-29 by its override
days.remove(date(2026, 7, 31))  # cancelled by its override
days.append(date(2026, 6, 29))
show("last weekday of the month 2026, all day", sorted(days))

# The 01:30 events on New York's daylight-saving days, seen from Shanghai.
show("01:30 New York on 2026-03-08 and 2026-11-01 (first of the two 01:30s)",
     [datetime(2026, 3, 8, 1, 30, tzinfo=NY), datetime(2026, 11, 1, 1, 30, tzinfo=NY, fold=0)])
