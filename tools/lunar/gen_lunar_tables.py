#!/usr/bin/python3
"""Generates src/core/calendar/LunarTables.cpp: the Chinese calendar years 1900..2100 and the
24 solar terms of the Gregorian years 1900..2100, from the positions of the Sun and the
Moon given by python3-ephem (Debian package), with the calendar rules:

- times are Beijing time (UTC+8); a term or new moon falls on the civil day that holds it;
- a month begins on the day of a new moon;
- the month that holds the winter solstice is the 11th;
- when 13 months begin between two 11th months, the first of them without a principal
  term (zhongqi: the Sun at a multiple of 30 degrees) is a leap month and takes the
  number of the month before it.

Usage: gen_lunar_tables.py [--out FILE] [--terms] [--months]
  --terms   prints every solar term as "YYYY-MM-DD<TAB>index<TAB>Beijing time" instead
  --months  prints every month start as "YYYY-MM-DD<TAB>lunar year<TAB>month<TAB>leap"
Both together print the terms, then the months (three and four fields a line). The tests
use them to check the committed table against a fresh computation.
"""
import argparse
import datetime
import math
import sys

import ephem

FIRST_YEAR, LAST_YEAR = 1900, 2100
BEIJING = datetime.timedelta(hours=8)
# Instants closer than this to a Beijing midnight are listed in the output: the model of
# the Sun (and Delta T far from today) may move them to the other day.
NEAR_MIDNIGHT = datetime.timedelta(minutes=10)

TERM_NAMES = ["小寒", "大寒", "立春", "雨水", "惊蛰", "春分", "清明", "谷雨", "立夏", "小满", "芒种", "夏至",
              "小暑", "大暑", "立秋", "处暑", "白露", "秋分", "寒露", "霜降", "立冬", "小雪", "大雪", "冬至"]


def sun_longitude(t):
    """Apparent geocentric ecliptic longitude of the Sun (degrees, equinox of date)."""
    d = ephem.Date(t)
    s = ephem.Sun()
    s.compute(d, epoch=d)
    return math.degrees(ephem.Ecliptic(ephem.Equatorial(s.ra, s.dec, epoch=d), epoch=d).lon)


def term_instant(year, index):
    """UT instant (ephem.Date) of solar term `index` (0 = 小寒 .. 23 = 冬至) of `year`."""
    target = (285 + 15 * index) % 360
    month, day = index // 2 + 1, (6 if index % 2 == 0 else 21)
    lo = ephem.Date(datetime.datetime(year, month, day)) - 6
    hi = lo + 12

    def diff(t):
        return (sun_longitude(t) - target + 180) % 360 - 180

    assert diff(lo) < 0 < diff(hi), (year, index)
    while hi - lo > 1e-7:  # about 0.01 s
        mid = (lo + hi) / 2
        if diff(mid) < 0:
            lo = mid
        else:
            hi = mid
    return ephem.Date((lo + hi) / 2)


def beijing(t):
    return ephem.Date(t).datetime() + BEIJING


def near_midnight(dt):
    since = dt - dt.replace(hour=0, minute=0, second=0, microsecond=0)
    return min(since, datetime.timedelta(days=1) - since) < NEAR_MIDNIGHT


def all_terms():
    """{(year, index): Beijing datetime} for the years around the table."""
    return {(y, i): beijing(term_instant(y, i)) for y in range(FIRST_YEAR - 2, LAST_YEAR + 2) for i in range(24)}


def all_new_moons():
    moons = []
    t = ephem.Date(datetime.datetime(FIRST_YEAR - 2, 10, 1))
    end = ephem.Date(datetime.datetime(LAST_YEAR + 2, 3, 1))
    while t < end:
        t = ephem.next_new_moon(t)
        moons.append(beijing(t))
        t = ephem.Date(t + 1)
    return moons


def lunar_months(terms, moons):
    """[(start date, lunar year, month 1..12, leap)] in order."""
    starts = [m.date() for m in moons]
    zhongqi = sorted(v.date() for (y, i), v in terms.items() if i % 2 == 1)

    def month_of(day):  # index of the month holding `day`
        return max(k for k, s in enumerate(starts) if s <= day)

    def has_zhongqi(k):
        return any(starts[k] <= z < starts[k + 1] for z in zhongqi)

    numbered = {}  # month index -> (number, leap)
    for y in range(FIRST_YEAR - 2, LAST_YEAR + 1):
        a = month_of(terms[(y, 23)].date())
        b = month_of(terms[(y + 1, 23)].date())
        leap_at = None
        if b - a == 13:
            leap_at = next(k for k in range(a + 1, b) if not has_zhongqi(k))
        else:
            assert b - a == 12, (y, b - a)
        number, leap = 11, False
        for k in range(a, b):
            if k == leap_at:
                leap = True
            elif k != a:
                number, leap = number % 12 + 1, False
            numbered[k] = (number, leap)
    out = []
    year = None
    for k in sorted(numbered):
        number, leap = numbered[k]
        if number == 1 and not leap:
            year = starts[k].year
        if year is not None:
            out.append((starts[k], year, number, leap))
    return out, starts


def pack_years(months, starts):
    """One 32-bit word per lunar year FIRST_YEAR..LAST_YEAR: bit i (0..12) = month i of the
    year has 30 days, bits 13..16 = the leap month's number (0 none), bits 17..22 = days
    from 1 January to the first day of the year."""
    words = []
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        ms = [m for m in months if m[1] == y]
        first = ms[0][0]
        word, leap_number = 0, 0
        for i, (start, _, number, leap) in enumerate(ms):
            k = starts.index(start)
            length = (starts[k + 1] - start).days
            assert length in (29, 30)
            if length == 30:
                word |= 1 << i
            if leap:
                leap_number = number
        assert len(ms) == (13 if leap_number else 12)
        offset = (first - datetime.date(y, 1, 1)).days
        assert 0 <= offset < 64
        words.append(word | leap_number << 13 | offset << 17)
    return words


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--out")
    ap.add_argument("--terms", action="store_true")
    ap.add_argument("--months", action="store_true")
    args = ap.parse_args()
    terms = all_terms()
    if args.terms:
        for (y, i), dt in sorted(terms.items()):
            if FIRST_YEAR <= y <= LAST_YEAR:
                print(f"{dt:%Y-%m-%d}\t{i}\t{dt:%H:%M:%S}")
        if not args.months:
            return
    moons = all_new_moons()
    months, starts = lunar_months(terms, moons)
    if args.months:
        for start, year, number, leap in months:
            if FIRST_YEAR <= year <= LAST_YEAR:
                print(f"{start:%Y-%m-%d}\t{year}\t{number}\t{int(leap)}")
        return
    words = pack_years(months, starts)

    near = [f"//   {TERM_NAMES[i]} {dt:%Y-%m-%d %H:%M:%S}" for (y, i), dt in sorted(terms.items())
            if FIRST_YEAR <= y <= LAST_YEAR and near_midnight(dt)]
    near += [f"//   new moon {dt:%Y-%m-%d %H:%M:%S}" for dt in moons
             if FIRST_YEAR <= dt.year <= LAST_YEAR and near_midnight(dt)]
    lines = [
        "// Generated by tools/lunar/gen_lunar_tables.py from the Sun and Moon positions of",
        "// python3-ephem; do not edit. Regenerate with",
        "//   /usr/bin/python3 tools/lunar/gen_lunar_tables.py --out src/core/calendar/LunarTables.cpp",
        "//",
        f"// Instants within {NEAR_MIDNIGHT.seconds // 60} minutes of a Beijing midnight (Beijing time as computed; the",
        "// day taken is the civil day of that time):",
        *near,
        '#include "core/calendar/LunarTables.h"',
        "",
        "namespace ov::lunar {",
        "",
        f"const uint32_t kLunarYears[{len(words)}] = {{",
    ]
    for i in range(0, len(words), 6):
        lines.append("    " + " ".join(f"0x{w:06x}," for w in words[i:i + 6]))
    lines += ["};", "", f"const uint8_t kTermDays[{LAST_YEAR - FIRST_YEAR + 1}][24] = {{"]
    for y in range(FIRST_YEAR, LAST_YEAR + 1):
        lines.append("    {" + ", ".join(str(terms[(y, i)].day) for i in range(24)) + f"}},  // {y}")
    lines += ["};", "", "}  // namespace ov::lunar", ""]
    text = "\n".join(lines)
    if args.out:
        with open(args.out, "w", encoding="utf-8") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
