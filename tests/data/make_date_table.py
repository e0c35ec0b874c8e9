#!/usr/bin/python3
"""Writes date_table.txt: calendar dates and their fractional years.

Each line: year month day fraction, where fraction = year + day-of-year / days-in-year
(January 1 is day 1) computed from Python's calendar. Between 1901 and 2099 the
calendar's leap years are exactly the years divisible by 4, so the program's date
reading must give these values to the last bit.

Rows: February 28, March 1 and December 31 of every year 1901..2099 (plus February 29
of leap years), and every day of 1904, 2000 and 2001.
Run: /usr/bin/python3 make_date_table.py > date_table.txt
"""
import calendar
import datetime


def fraction(d):
    doy = d.timetuple().tm_yday
    days = 366 if calendar.isleap(d.year) else 365
    return d.year + doy / days


def main():
    dates = set()
    for y in range(1901, 2100):
        dates.add(datetime.date(y, 2, 28))
        dates.add(datetime.date(y, 3, 1))
        dates.add(datetime.date(y, 12, 31))
        if calendar.isleap(y):
            dates.add(datetime.date(y, 2, 29))
    for y in (1904, 2000, 2001):
        d = datetime.date(y, 1, 1)
        while d.year == y:
            dates.add(d)
            d += datetime.timedelta(days=1)
    for d in sorted(dates):
        print(d.year, d.month, d.day, repr(fraction(d)))


if __name__ == "__main__":
    main()
