#!/usr/bin/python3
"""Writes calendar/almanac_table.cpp, the old calendar's days for 1980..2079 in a few KB:

- every lunation (old-calendar month) from the one holding 1 January 1980 to the one after
  the month holding 31 December 2079: the Japan (JST) day of its new moon, its number and
  whether it is a leap month;
- for every year, the JST day of the 24 solar terms and of the six further solar longitudes
  that set 入梅, 半夏生 and the four 土用入り;
- for every equinox, whether its instant falls before noon JST (社日 needs it).

New moons and solar longitudes come from PyEphem (Debian's python3-ephem: VSOP87 for the
sun, its lunar theory for the moon, apparent places of date, its own ΔT for UT). Only JST
days are kept; the instants decide nothing else.

Month numbers: the month holding the winter solstice is 11. Between two such months lie 12
or 13 lunations; with 13, the first one without a principal term (中気) is the leap month
and takes the number of the month before it. This also gives the published resolution of
2033-2034: no leap month in 2033, 閏11月 from 22 December 2033.

Usage: make_almanac_table.py             rewrite the table in the tree
       make_almanac_table.py --check     exit 1 unless regenerating gives the file's bytes
       make_almanac_table.py --close S   list instants within S seconds of JST midnight
"""
import math
import os
import sys

import ephem

HERE = os.path.dirname(os.path.abspath(__file__))
TABLE = os.path.join(HERE, "..", "almanac_table.cpp")

FIRST_YEAR, LAST_YEAR = 1980, 2079
# Solar longitudes of a calendar year in the order they come, 小寒 (285) first: the 24
# terms (multiples of 15) and 27, 80, 100, 117, 207, 297.
EVENT_LONGITUDES = [285, 297, 300, 315, 330, 345, 0, 15, 27, 30, 45, 60, 75, 80, 90, 100,
                    105, 117, 120, 135, 150, 165, 180, 195, 207, 210, 225, 240, 255, 270]
WINTER_SOLSTICE = 270
# Mean lunation in units of 1/10000 day; the start of lunation n is stored as its offset
# from first_mean + n * MEAN_LUNATION (floored).
MEAN_LUNATION = 295306
JST = 9 / 24.0
EPOCH = float(ephem.Date("1980/1/1 00:00:00"))  # 1 January 1980 00:00 UT

_sun = ephem.Sun()


def jst_day(date):
    """Days from 1 January 1980 (day 0) of the JST day holding the UT instant date."""
    return math.floor(float(date) - EPOCH + JST)


def seconds_from_midnight(date):
    f = (float(date) - EPOCH + JST) % 1.0
    return min(f, 1.0 - f) * 86400.0


def apparent_solar_longitude(date):
    _sun.compute(date)
    eq = ephem.Equatorial(_sun.g_ra, _sun.g_dec, epoch=date)
    return float(ephem.Ecliptic(eq, epoch=date).lon)


def solar_longitude_instant(year, degrees):
    """UT instant in year at which the sun's apparent longitude of date reaches degrees."""
    target = math.radians(degrees)
    guess = ephem.Date("%d/3/20" % year) + (degrees % 360) / 360.0 * 365.2422
    if degrees > 270:  # 小寒 .. 啓蟄 fall early in the calendar year
        guess -= 365.2422

    def f(d):
        return (apparent_solar_longitude(d) - target + math.pi) % (2 * math.pi) - math.pi

    return ephem.Date(ephem.newton(f, guess, guess + 0.01, 1e-7))


def events():
    """New moons (UT) and solar events {(year, longitude): UT instant}."""
    moons = []
    d = ephem.Date("1979/11/1")
    while d < ephem.Date("2081/3/1"):
        n = ephem.next_new_moon(d)
        moons.append(n)
        d = ephem.Date(n + 1)
    sun = {}
    for y in range(FIRST_YEAR - 1, LAST_YEAR + 2):
        for lon in EVENT_LONGITUDES:
            sun[(y, lon)] = solar_longitude_instant(y, lon)
    return moons, sun


def number_months(starts, principal):
    """(month, leap) of every lunation; starts ascending JST days, principal the JST days
    of the principal terms keyed by day -> longitude. Lunations before the first winter
    solstice month get None."""
    def terms_in(i):
        return [lon for day, lon in principal.items() if starts[i] <= day < starts[i + 1]]

    solstice_months = [i for i in range(len(starts) - 1) if WINTER_SOLSTICE in terms_in(i)]
    numbers = [None] * (len(starts) - 1)
    for a, b in zip(solstice_months, solstice_months[1:]):
        numbers[a] = (11, 0)
        leap_left = (b - a) == 13
        if not leap_left and b - a != 12:
            raise SystemExit("%d lunations between winter solstices" % (b - a))
        month = 11
        for i in range(a + 1, b):
            if leap_left and not terms_in(i):
                numbers[i] = (month, 1)
                leap_left = False
            else:
                month = month % 12 + 1
                numbers[i] = (month, 0)
        numbers[b] = (11, 0)
    return numbers


def build():
    moons, sun = events()
    starts = [jst_day(m) for m in moons]
    principal = {}
    for (y, lon), when in sun.items():
        if lon % 30 == 0:
            principal[jst_day(when)] = lon
    numbers = number_months(starts, principal)

    last_day = jst_day(ephem.Date("%d/12/31 12:00" % LAST_YEAR) - JST)
    first = max(i for i in range(len(starts)) if starts[i] <= 0)
    last = min(i for i in range(len(starts)) if starts[i] > last_day)  # the terminator
    lunations = []
    for i in range(first, last + 1):
        month, leap = numbers[i]
        lunations.append((starts[i], month, leap))

    # Offsets from the mean start, shifted so that the smallest is 0.
    offsets = [s * 10000 - n * MEAN_LUNATION for n, (s, _, _) in enumerate(lunations)]
    first_mean = min(offsets)
    packed = []
    for n, (s, month, leap) in enumerate(lunations):
        mean = (first_mean + n * MEAN_LUNATION) // 10000
        off = s - mean
        if not 0 <= off <= 7:
            raise SystemExit("lunation %d: offset %d does not fit" % (n, off))
        packed.append(month | leap << 4 | off << 5)

    months, first_days, codes = [], [], []
    for lon in EVENT_LONGITUDES:
        days = []
        for y in range(FIRST_YEAR, LAST_YEAR + 1):
            t = ephem.Date(float(sun[(y, lon)]) + JST).tuple()
            if t[0] != y:
                raise SystemExit("longitude %d of %d falls in %d" % (lon, y, t[0]))
            days.append((t[1], t[2]))
        if len({m for m, _ in days}) != 1:
            raise SystemExit("longitude %d falls in more than one month" % lon)
        months.append(days[0][0])
        first_days.append(min(d for _, d in days))
        codes.append([d - first_days[-1] for _, d in days])
        if max(codes[-1]) > 3:
            raise SystemExit("longitude %d spreads over more than four days" % lon)
    event_bits = bytearray((LAST_YEAR - FIRST_YEAR + 1) * len(EVENT_LONGITUDES) // 4 + 1)
    for e in range(len(EVENT_LONGITUDES)):
        for k, code in enumerate(codes[e]):
            i = k * len(EVENT_LONGITUDES) + e
            event_bits[i // 4] |= code << (2 * (i % 4))
    morning = bytearray((2 * (LAST_YEAR - FIRST_YEAR + 1) + 7) // 8)
    for k, y in enumerate(range(FIRST_YEAR, LAST_YEAR + 1)):
        for j, lon in enumerate((0, 180)):
            hours = (float(sun[(y, lon)]) - EPOCH + JST) % 1.0 * 24
            if hours < 12:
                i = 2 * k + j
                morning[i // 8] |= 1 << (i % 8)
    return {
        "moons": moons, "sun": sun, "lunations": packed, "first_mean": first_mean,
        "first_start": lunations[0][0], "months": months, "first_days": first_days,
        "event_bits": bytes(event_bits), "morning": bytes(morning),
    }


def hex_rows(data, per_row=16):
    rows = []
    for i in range(0, len(data), per_row):
        rows.append("    " + " ".join("0x%02x," % b for b in data[i:i + per_row]))
    return "\n".join(rows)


def int_row(values):
    return ", ".join(str(v) for v in values)


def render(t):
    return """\
// Generated by calendar/tools/make_almanac_table.py (PyEphem %(version)s); do not edit.
// The old calendar's days 1980..2079 as calendar/almanac_table.h describes them.
#include "calendar/almanac_table.h"

const int kLunationCount = %(count)d;
const int kLunationFirstMean = %(first_mean)d;  // 1/10000 day from 1 January 1980

const unsigned char kLunations[%(count)d] = {
%(lunations)s
};

const unsigned char kSolarEventMonth[kSolarEventsPerYear] = {%(months)s};
const unsigned char kSolarEventFirstDay[kSolarEventsPerYear] = {%(first_days)s};
const short kSolarEventLongitude[kSolarEventsPerYear] = {%(longitudes)s};

const unsigned char kSolarEventDays[kSolarEventBytes] = {
%(event_bits)s
};

const unsigned char kEquinoxMorning[kEquinoxMorningBytes] = {
%(morning)s
};
""" % {
        "version": ephem.__version__, "count": len(t["lunations"]),
        "first_mean": t["first_mean"], "lunations": hex_rows(t["lunations"]),
        "months": int_row(t["months"]), "first_days": int_row(t["first_days"]),
        "longitudes": int_row(EVENT_LONGITUDES), "event_bits": hex_rows(t["event_bits"]),
        "morning": hex_rows(t["morning"]),
    }


def main(argv):
    t = build()
    if len(argv) > 2 and argv[1] == "--close":
        limit = float(argv[2])
        for m in t["moons"]:
            if seconds_from_midnight(m) < limit:
                print("new moon  %s JST" % ephem.Date(float(m) + JST))
        for (y, lon), when in sorted(t["sun"].items(), key=lambda kv: float(kv[1])):
            if seconds_from_midnight(when) < limit:
                print("sun %3d   %s JST" % (lon, ephem.Date(float(when) + JST)))
        return 0
    text = render(t)
    if len(argv) > 1 and argv[1] == "--check":
        with open(TABLE, encoding="utf-8") as f:
            if f.read() != text:
                print("almanac table: regenerating gives other bytes than %s" % TABLE)
                return 1
        print("almanac table: regenerated, same bytes")
        return 0
    with open(TABLE, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
