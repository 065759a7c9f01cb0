#!/usr/bin/python3
"""Expands the rules of the repeating entries repeat_dump wrote with python3-dateutil's rrule
(an expansion we did not write) and compares, 1980..2079, every occurrence, every day an
entry falls on (its span after each occurrence), the next occurrence from the first of each
month and every alarm instant with what the program gave.

Usage: check_repeat.py <file written by repeat_dump>
"""
import datetime
import json
import sys

from dateutil.rrule import rruleset, rrulestr

FIRST = datetime.date(1980, 1, 1)
LAST = datetime.date(2079, 12, 31)


def ymd(d):
    return d.year * 10000 + d.month * 100 + d.day


def date_of(v):
    return datetime.date(v // 10000, v // 100 % 100, v % 100)


def occurrences(case):
    """Every occurrence from the start on, the skipped days left out, up to 2079 and those of
    the week after it (whose alarms may ring in 2079) and the first after that (the next
    occurrence asked in December 2079)."""
    start = datetime.datetime.combine(date_of(case["start"]), datetime.time())
    dates = rruleset()
    dates.rrule(rrulestr(case["rrule"], dtstart=start))
    for x in case["exdate"]:
        dates.exdate(datetime.datetime.combine(date_of(x), datetime.time()))
    out = []
    for t in dates:
        out.append(t.date())
        if t.date() > LAST + datetime.timedelta(days=7):
            break
    return out


def check(case):
    days = occurrences(case)
    within = [d for d in days if FIRST <= d <= LAST]
    problems = []
    if [ymd(d) for d in within] != case["starts"]:
        problems.append("occurrences differ")
    covered = set()
    for d in within:
        for k in range(case["covered_span"] + 1):
            c = d + datetime.timedelta(days=k)
            if c <= LAST:
                covered.add(ymd(c))
    if sorted(covered) != case["covered"]:
        problems.append("covered days differ")
    # The next occurrence from the first of each month.
    want_next = []
    i = 0
    for y in range(FIRST.year, LAST.year + 1):
        for m in range(1, 13):
            first = datetime.date(y, m, 1)
            while i < len(days) and days[i] < first:
                i += 1
            want_next.append(ymd(days[i]) if i < len(days) else 0)
    if want_next != case["next"]:
        bad = [k for k in range(len(want_next)) if want_next[k] != case["next"][k]]
        problems.append("next occurrence differs from %d months on (%s, wanted %s)"
                        % (len(bad), case["next"][bad[0]], want_next[bad[0]]))
    if "alarms" in case:
        if case["time"] >= 0:
            offset = (case["time"] // 100) * 60 + case["time"] % 100 - case["lead"]
        else:
            offset = case["day_alarm"]
        want = []
        for d in days:
            at = datetime.datetime.combine(d, datetime.time()) + datetime.timedelta(minutes=offset)
            if datetime.datetime(1980, 1, 1) <= at <= datetime.datetime(2079, 12, 31, 23, 59):
                want.append("%04d%02d%02d%02d%02d/%d" % (at.year, at.month, at.day, at.hour,
                                                         at.minute, ymd(d)))
        if want != case["alarms"]:
            problems.append("alarms differ (%d against %d)" % (len(case["alarms"]), len(want)))
    return problems


def main():
    failed = 0
    count = 0
    occurrences_seen = 0
    with open(sys.argv[1]) as f:
        for line in f:
            case = json.loads(line)
            count += 1
            occurrences_seen += len(case["starts"])
            problems = check(case)
            if problems:
                failed += 1
                print("%s from %d, skipping %s, span %d: %s"
                      % (case["rrule"], case["start"], case["exdate"], case["span"],
                         "; ".join(problems)))
    print("check_repeat: %d entries, %d occurrences, %d differ" % (count, occurrences_seen, failed))
    return 1 if failed or count == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
