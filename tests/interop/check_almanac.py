#!/usr/bin/python3
"""Checks the old calendar's days the program shows for 1980..2079 (almanac_dump's file)
against a computation of their own, made with another astronomy code than the program's
table: ERFA (Debian's python3-erfa) for the sun (epv00, a simplified VSOP2000 solution) and
the moon (moon98, Meeus' series), apparent places in the true ecliptic of date (IAU
2006/2000A precession-nutation, annual aberration of the sun), ΔT from the Espenak-Meeus
polynomials, JST days. The rules are written here afresh:

- the month holding the winter solstice is the 11th; from one such month to the next lie 12
  months, or 13 of which the first without a principal term (中気) is the leap month. The
  published resolution of 2033-2034 (閏11月 from 22 December 2033, the month from 23
  September 2033 the 9th) is checked month by month, and the months whose number is not
  the one their principal term names are listed;
- 六曜 (month + day) mod 6, 2 being 先勝;
- 社日 the 戊 day whose noon lies nearest the equinox instant (sexagenary days from the
  Julian day number);
- the other 雑節 by their day counts from 立春 and the equinoxes and by solar longitude;
- the era from the dates the eras began.

Every day is compared: old-calendar month, leap flag and day, 六曜, the term beginning on
it, its 雑節 and era year. Also the leap months of the century and the two new moons within
a minute of JST midnight, whose month starts the published tables put on 3 November 2051 and
22 August 2074.

Usage: check_almanac.py <almanac_dump file>
"""
import bisect
import datetime
import math
import sys

import erfa
import numpy as np

J2000 = 2451545.0
FIRST = datetime.date(1980, 1, 1)
LAST = datetime.date(2079, 12, 31)
JD_OF_1980 = 2444239.5  # 1 January 1980 00:00 UT
AU_LIGHT_DAYS = 499.004783836 / 86400.0

# Principal terms and the month each names: 春分 (0 degrees) is the 2nd month's.
PRINCIPAL = {(lon // 30 + 1) % 12 + 1: lon for lon in range(0, 360, 30)}
MONTH_OF_PRINCIPAL = {lon: m for m, lon in PRINCIPAL.items()}

# The published resolution of 2033-2034: the months from 25 August 2033 to 20 March 2034.
RESOLUTION_2033 = [
    ("2033-08-25", 8, 0), ("2033-09-23", 9, 0), ("2033-10-23", 10, 0), ("2033-11-22", 11, 0),
    ("2033-12-22", 11, 1), ("2034-01-20", 12, 0), ("2034-02-19", 1, 0), ("2034-03-20", 2, 0),
]
# Leap months of the century as published 旧暦 tables list them (year, month).
LEAP_MONTHS = [
    (1982, 4), (1984, 10), (1987, 6), (1990, 5), (1993, 3), (1995, 8), (1998, 5), (2001, 4),
    (2004, 2), (2006, 7), (2009, 5), (2012, 3), (2014, 9), (2017, 5), (2020, 4), (2023, 2),
    (2025, 6), (2028, 5), (2031, 3), (2033, 11), (2036, 6), (2039, 5), (2042, 2), (2044, 7),
    (2047, 5), (2050, 3), (2052, 8), (2055, 6), (2058, 4), (2061, 3), (2063, 7), (2066, 5),
    (2069, 4), (2071, 8), (2074, 6), (2077, 4),
]
NEAR_MIDNIGHT_MONTH_STARTS = ["2051-11-03", "2074-08-22"]

ERAS = [(datetime.date(2019, 5, 1), 2), (datetime.date(1989, 1, 8), 1),
        (datetime.date(1926, 12, 25), 0)]

# 雑節 bits as the program numbers them, and their rules.
SETSUBUN, HIGAN_IN_S, SHANICHI_S, HIGAN_AKE_S, HACHIJUHACHIYA, NYUBAI, HANGESHO = range(7)
DOYO_W, DOYO_SP, DOYO_SU, DOYO_A, NIHYAKUTOKA, NIHYAKUHATSUKA = range(7, 13)
HIGAN_IN_A, SHANICHI_A, HIGAN_AKE_A = range(13, 16)


def delta_t(year):
    """Espenak-Meeus ΔT in seconds for a decimal year, 1986..2150."""
    if year < 2005:
        t = year - 2000
        return (63.86 + 0.3345 * t - 0.060374 * t ** 2 + 0.0017275 * t ** 3
                + 0.000651814 * t ** 4 + 0.00002373599 * t ** 5)
    if year < 2050:
        t = year - 2000
        return 62.92 + 0.32217 * t + 0.005589 * t * t
    return -20 + 32 * ((year - 1820) / 100) ** 2 - 0.5628 * (2150 - year)


def delta_t_early(year):
    """Espenak-Meeus ΔT for 1961..1986."""
    t = year - 1975
    return 45.45 + 1.067 * t - t * t / 260 - t ** 3 / 718


def ut_of_tt(jd_tt):
    years = 2000 + (jd_tt - J2000) / 365.25
    dt = np.array([delta_t(y) if y >= 1986 else delta_t_early(y) for y in years])
    return jd_tt - dt / 86400.0


def frame_at(d):
    """Rotation from the GCRS to the true equator and equinox of date, and the true
    obliquity, at TT dates J2000 + d (IAU 2006/2000A)."""
    dpsi, deps, epsa, rb, rp, rbp, rn, rbpn = erfa.pn06a(J2000, d)
    return rbpn, epsa + deps


def ecliptic_longitude(frame, p):
    """Longitude in the true ecliptic of date of GCRS direction vectors p (n x 3)."""
    rbpn, eps = frame
    q = np.einsum("nij,nj->ni", rbpn, p)
    return np.arctan2(q[:, 1] * np.cos(eps) + q[:, 2] * np.sin(eps), q[:, 0])


def sun_longitude(frame, d):
    pvh, pvb = erfa.epv00(J2000, d)
    to_sun = -pvh["p"]
    u = to_sun / np.linalg.norm(to_sun, axis=1)[:, None]
    apparent = u + pvb["v"] * AU_LIGHT_DAYS  # annual aberration
    return ecliptic_longitude(frame, apparent)


def moon_longitude(frame, d):
    return ecliptic_longitude(frame, erfa.moon98(J2000, d)["p"])


def wrap(a):
    return (a + math.pi) % (2 * math.pi) - math.pi


def solve(f, d, rate):
    """Roots of f(frame, d) near d (days from J2000, TT), f changing at about rate radians a
    day. The frame of date moves slowly: it is taken at the first guess, then once more at
    the root found with it."""
    for _ in range(2):
        frame = frame_at(d)
        for _ in range(20):
            step = wrap(f(frame, d)) / rate
            d = d - step
            if np.max(np.abs(step)) < 1e-8:
                break
        else:
            raise SystemExit("no convergence")
    return d


def new_moons():
    k = np.arange(-260, 1015)  # lunations from 1979 to 2082 (Meeus' k)
    d = 5.09766 + 29.530588861 * k
    d = solve(lambda fr, x: moon_longitude(fr, x) - sun_longitude(fr, x), d,
              2 * math.pi / 29.53)
    return ut_of_tt(d + J2000)


def solar_instants(longitudes, years):
    pairs = [(y, lon) for y in years for lon in longitudes]
    target = np.radians([lon for _, lon in pairs])
    d = np.array([(y - 2000) * 365.2422 + 79.0 + ((lon - 360 if lon > 270 else lon) / 360.0) * 365.2422
                  for y, lon in pairs])
    d = solve(lambda fr, x: sun_longitude(fr, x) - target, d, 2 * math.pi / 365.2422)
    return {p: t for p, t in zip(pairs, ut_of_tt(d + J2000))}


def jst_date(jd_ut):
    return FIRST + datetime.timedelta(days=math.floor(jd_ut - JD_OF_1980 + 9 / 24.0))


def jst_seconds_from_midnight(jd_ut):
    f = (jd_ut - JD_OF_1980 + 9 / 24.0) % 1.0
    return min(f, 1 - f) * 86400


def jst_hour(jd_ut):
    return (jd_ut - JD_OF_1980 + 9 / 24.0) % 1.0 * 24


def stem(date):
    """Heavenly stem, 0 甲 .. 9 癸, from the Julian day number (甲子 = JDN + 49 = 0 mod 60)."""
    jdn = date.toordinal() + 1721425
    return (jdn + 49) % 10


def lunar_months(moons, principal_days):
    """[(start date, month, leap)]: the month holding 冬至 is the 11th; a year from one such
    month to the next with 13 months has as leap month the first without a principal term.
    Also the months whose number is not the one their only principal term names."""
    starts = [jst_date(m) for m in moons]
    days = sorted(principal_days)
    held = []
    for a, b in zip(starts, starts[1:]):
        lo, hi = bisect.bisect_left(days, a), bisect.bisect_left(days, b)
        held.append([principal_days[d] for d in days[lo:hi]])
    elevens = [i for i, h in enumerate(held) if 270 in h]
    months = [(starts[i], None, 0) for i in range(len(held))]
    for a, b in zip(elevens, elevens[1:]):
        span = b - a
        if span not in (12, 13):
            raise SystemExit("%d months from %s" % (span, starts[a]))
        leap_at = next(i for i in range(a + 1, b) if not held[i]) if span == 13 else None
        for i in range(a, b):
            before = i - a - (1 if leap_at is not None and i >= leap_at else 0)
            months[i] = (starts[i], (10 + before) % 12 + 1, 1 if i == leap_at else 0)
    odd = [(a, m, leap) for (a, m, leap), h in zip(months, held)
           if m is not None and len(h) == 1 and MONTH_OF_PRINCIPAL[h[0]] != m]
    return months, odd


def zassetsu_days(year, sun):
    def day(lon):
        return jst_date(sun[(year, lon)])

    def shanichi(lon):
        instant = sun[(year, lon)] - JD_OF_1980 + 9 / 24.0
        best = None
        for k in range(-10, 11):
            c = day(lon) + datetime.timedelta(days=k)
            if stem(c) != 4:
                continue
            noon = (c - FIRST).days + 0.5
            dist = abs(noon - instant)
            if best is None or dist < best[0]:
                best = (dist, c)
        return best[1]

    risshun = day(315)
    td = datetime.timedelta
    return {
        SETSUBUN: risshun - td(1), HACHIJUHACHIYA: risshun + td(87),
        NIHYAKUTOKA: risshun + td(209), NIHYAKUHATSUKA: risshun + td(219),
        HIGAN_IN_S: day(0) - td(3), HIGAN_AKE_S: day(0) + td(3), SHANICHI_S: shanichi(0),
        HIGAN_IN_A: day(180) - td(3), HIGAN_AKE_A: day(180) + td(3), SHANICHI_A: shanichi(180),
        NYUBAI: day(80), HANGESHO: day(100),
        DOYO_W: day(297), DOYO_SP: day(27), DOYO_SU: day(117), DOYO_A: day(207),
    }


def era_of(date):
    for start, era in ERAS:
        if date >= start:
            return era, date.year - start.year + 1
    raise SystemExit("no era for %s" % date)


def expected_days(moons, sun):
    principal = {jst_date(t): lon for (y, lon), t in sun.items() if lon % 30 == 0 and lon < 360}
    months, odd = lunar_months(moons, principal)
    terms = {jst_date(t): lon // 15 for (y, lon), t in sun.items() if lon % 15 == 0}
    zassetsu = {}
    for y in range(FIRST.year, LAST.year + 1):
        for bit, day in zassetsu_days(y, sun).items():
            zassetsu[day] = zassetsu.get(day, 0) | 1 << bit
    want = {}
    i = 0
    day = FIRST
    while day <= LAST:
        while months[i + 1][0] <= day:
            i += 1
        start, m, leap = months[i]
        if m is None:
            raise SystemExit("no month number for %s" % start)
        lday = (day - start).days + 1
        era, era_year = era_of(day)
        want[day.isoformat()] = (m, leap, lday, (m + lday + 4) % 6, terms.get(day, -1),
                                 zassetsu.get(day, 0), era, era_year)
        day += datetime.timedelta(days=1)
    return want, months, odd


def main(argv):
    if len(argv) != 2:
        print(__doc__)
        return 2
    moons = new_moons()
    longitudes = list(range(0, 360, 15)) + [27, 80, 100, 117, 207, 297]
    sun = solar_instants(longitudes, range(FIRST.year - 1, LAST.year + 2))
    want, months, odd = expected_days(moons, sun)

    problems = []
    got = {}
    with open(argv[1], encoding="ascii") as f:
        for line in f:
            date, *fields = line.split()
            got[date] = tuple(int(v) for v in fields)
    if len(got) != len(want):
        problems.append("%d days in the dump, %d expected" % (len(got), len(want)))
    names = ["month", "leap", "day", "rokuyo", "term", "zassetsu", "era", "era year"]
    compared = 0
    for date, w in sorted(want.items()):
        g = got.get(date)
        if g is None:
            problems.append("%s: missing" % date)
            continue
        compared += 1
        for name, a, b in zip(names, g, w):
            if a != b:
                problems.append("%s: %s %s, want %s" % (date, name, a, b))

    leaps = [(a.year - (1 if m >= 11 and a.month <= 2 else 0), m) for a, m, leap in months
             if leap and FIRST <= a <= LAST]
    if leaps != LEAP_MONTHS:
        problems.append("leap months %s, published %s" % (leaps, LEAP_MONTHS))
    own = {a.isoformat(): (m, leap) for a, m, leap in months}
    for date, m, leap in RESOLUTION_2033:
        if own.get(date) != (m, leap):
            problems.append("2033-2034: the month from %s computed as %s" % (date, own.get(date)))
        if got.get(date, ())[:3] != (m, leap, 1):
            problems.append("2033-2034: the program shows %s on %s" % (got.get(date), date))
    for date in NEAR_MIDNIGHT_MONTH_STARTS:
        if date not in own or got.get(date, ())[2:3] != (1,):
            problems.append("no month starts on %s" % date)
    for m in moons:
        if jst_date(m).isoformat() in NEAR_MIDNIGHT_MONTH_STARTS:
            h = jst_hour(m)
            print("check_almanac: new moon at %s %02d:%02d:%02d JST, %.0f s before midnight" %
                  (jst_date(m), h, h * 60 % 60, h * 3600 % 60, jst_seconds_from_midnight(m)))
    for a, m, leap in odd:
        print("check_almanac: the month from %s is %s%d月 by the winter solstice rule" %
              (a, "閏" if leap else "", m))

    for p in problems[:40]:
        print("check_almanac: " + p)
    if problems:
        print("check_almanac: %d differences" % len(problems))
        return 1
    print("check_almanac: %d days compared (old-calendar date, 六曜, solar terms, 雑節, era), "
          "%d leap months, all agree" % (compared, len(leaps)))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
