#!/usr/bin/python3
"""Lunar dates from the reference tools, for LunarReferenceTest.

  lunar_reference.py lunardate FIRST LAST   every day FIRST..LAST (YYYY-MM-DD) from python3-lunardate
  lunar_reference.py lunar                  the days read from stdin, from the `lunar` command

Each output line: YYYY-MM-DD year month day leap (0/1), or YYYY-MM-DD - when the tool has no answer.
"""
import concurrent.futures
import datetime
import re
import subprocess
import sys


def main():
    if sys.argv[1] == "lunardate":
        from lunardate import LunarDate
        d = datetime.date.fromisoformat(sys.argv[2])
        last = datetime.date.fromisoformat(sys.argv[3])
        out = []
        while d <= last:
            try:
                l = LunarDate.fromSolarDate(d.year, d.month, d.day)
                out.append(f"{d} {l.year} {l.month} {l.day} {int(bool(l.isLeapMonth))}")
            except ValueError:
                out.append(f"{d} -")
            d += datetime.timedelta(days=1)
        print("\n".join(out))
    else:
        pattern = re.compile(r"陰曆：\s*(\d+)年\s*(閏?)\s*(\d+)月\s*(\d+)日")

        def ask(d):
            text = subprocess.run(["lunar", "--utf8", str(d.year), str(d.month), str(d.day)],
                                  capture_output=True, text=True).stdout
            m = pattern.search(text)
            return f"{d} {m[1]} {m[3]} {m[4]} {int(bool(m[2]))}" if m else f"{d} -"

        # A process per day: several at once, the answers in the order asked.
        days = [datetime.date.fromisoformat(line.strip()) for line in sys.stdin if line.strip()]
        with concurrent.futures.ThreadPoolExecutor(max_workers=4) as pool:
            print("\n".join(pool.map(ask, days)))


if __name__ == "__main__":
    main()
