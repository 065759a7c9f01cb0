#!/usr/bin/python3
"""Reads the exported calendar of a full schedule with an iCalendar parser we did not write
(python3-icalendar, rules expanded by python3-dateutil) and compares every event with what
the program shows for its entry: the days 1980..2079 (each occurrence with the days it spans),
the memo, the time and end time, every instant the alarm rings at and the holiday flag. Also checks the lines themselves: CR LF ends, at most 75 octets, no character
split by a fold.

Usage: check_ical.py <directory with schedule.ics and expected.json>
"""
import datetime
import json
import sys

from dateutil.rrule import rruleset, rrulestr
from icalendar import Calendar

FIRST = datetime.date(1980, 1, 1)
LAST = datetime.date(2079, 12, 31)


def as_datetime(value):
    if isinstance(value, datetime.datetime):
        return value
    return datetime.datetime.combine(value, datetime.time())


def listed(event, name):
    """Every value of RDATE or EXDATE, however many properties hold them."""
    props = event.get(name)
    if props is None:
        return []
    if not isinstance(props, list):
        props = [props]
    return [as_datetime(v.dt) for p in props for v in p.dts]


def starts_of(event):
    """The start of every occurrence 1980..2079: the rule less its excluded days."""
    start = as_datetime(event.decoded("DTSTART"))
    dates = rruleset()
    dates.rdate(start)
    if "RRULE" in event:
        dates.rrule(rrulestr(event["RRULE"].to_ical().decode(), dtstart=start))
    for d in listed(event, "RDATE"):
        dates.rdate(d)
    for d in listed(event, "EXDATE"):
        dates.exdate(d)
    lo = datetime.datetime.combine(FIRST, datetime.time())
    hi = datetime.datetime.combine(LAST, datetime.time(23, 59, 59))
    if start.tzinfo is not None:
        lo, hi = start.tzinfo.localize(lo), start.tzinfo.localize(hi)
    return list(dates.between(lo, hi, inc=True))


def length_of(event):
    """How long each occurrence lasts: DTEND less DTSTART (none: an instant, or one day)."""
    start = event.decoded("DTSTART")
    if "DTEND" in event:
        return event.decoded("DTEND") - start
    if isinstance(start, datetime.datetime):
        return datetime.timedelta(0)
    return datetime.timedelta(days=1)


def days_of(event, starts):
    """Every day an occurrence covers; an end at 00:00 does not reach into its day."""
    length = length_of(event)
    timed = isinstance(event.decoded("DTSTART"), datetime.datetime)
    days = set()
    for s in starts:
        end = s + length
        last = end.date()
        if not timed:
            last -= datetime.timedelta(days=1)
        elif end.time() == datetime.time() and last > s.date():
            last -= datetime.timedelta(days=1)
        d = s.date()
        while d <= last or d == s.date():
            if FIRST <= d <= LAST:
                days.add(d.isoformat())
            d += datetime.timedelta(days=1)
    return sorted(days)


def alarm_instants(event, alarm, starts):
    """The local wall time of each occurrence's ringing (the trigger from its start)."""
    trigger = alarm.decoded("TRIGGER")
    return [(as_datetime(s) + trigger).strftime("%Y-%m-%dT%H:%M") for s in starts]


def check_lines(raw):
    problems = []
    if not raw.endswith(b"\r\n"):
        problems.append("the file does not end with CR LF")
    for n, line in enumerate(raw.split(b"\r\n")[:-1], 1):
        if b"\n" in line or b"\r" in line:
            problems.append("line %d: a bare line break" % n)
        if len(line) > 75:
            problems.append("line %d: %d octets" % (n, len(line)))
        try:
            line.decode("utf-8")
        except UnicodeDecodeError:
            problems.append("line %d: a character split by a fold" % n)
    return problems


def check_event(event, want):
    problems = []
    starts = starts_of(event)
    got_days = days_of(event, starts)
    if got_days != want["dates"]:
        missing = sorted(set(want["dates"]) - set(got_days))
        extra = sorted(set(got_days) - set(want["dates"]))
        problems.append("days differ: missing %s, extra %s" % (missing[:5], extra[:5]))
    if str(event.get("SUMMARY")) != want["summary"]:
        problems.append("summary %r, want %r" % (str(event.get("SUMMARY")), want["summary"]))
    start = event.decoded("DTSTART")
    if want["time"] is None:
        if isinstance(start, datetime.datetime):
            problems.append("a time where the entry has none")
    else:
        if not isinstance(start, datetime.datetime):
            problems.append("no time, want %s" % want["time"])
        else:
            if start.strftime("%H:%M") != want["time"]:
                problems.append("time %s, want %s" % (start.strftime("%H:%M"), want["time"]))
            if str(start.tzinfo) != "Asia/Tokyo":
                problems.append("zone %s" % start.tzinfo)
            end = (start + length_of(event)).strftime("%H:%M") if "DTEND" in event else None
            if want["end"] is not None and end != want["end"]:
                problems.append("end %s, want %s" % (end, want["end"]))
    alarms = [c for c in event.subcomponents if c.name == "VALARM"]
    if want["alarm"] is None:
        if alarms:
            problems.append("an alarm where the entry has none")
    elif len(alarms) != 1:
        problems.append("%d alarms, want one" % len(alarms))
    else:
        a = alarms[0]
        if str(a.get("ACTION")) != want["alarm"]["action"]:
            problems.append("alarm action %s" % a.get("ACTION"))
        got = alarm_instants(event, a, starts)
        if got != want["alarm"]["at"]:
            missing = sorted(set(want["alarm"]["at"]) - set(got))
            extra = sorted(set(got) - set(want["alarm"]["at"]))
            problems.append("alarms differ (trigger %s): missing %s, extra %s"
                            % (a.get("TRIGGER").to_ical(), missing[:3], extra[:3]))
        attach = a.get("ATTACH")
        if (str(attach) if attach is not None else None) != want["alarm"]["attach"]:
            problems.append("alarm sound %r" % attach)
    if ("X-ZELMAR-HOLIDAY" in event) != want["holiday"]:
        problems.append("holiday flag")
    return problems


def main(directory):
    raw = open(directory + "/schedule.ics", "rb").read()
    expected = json.load(open(directory + "/expected.json", encoding="utf-8"))
    problems = check_lines(raw)
    calendar = Calendar.from_ical(raw)
    for key, value in (("VERSION", "2.0"), ("CALSCALE", "GREGORIAN")):
        if str(calendar.get(key)) != value:
            problems.append("%s is %s" % (key, calendar.get(key)))
    events = {}
    for event in calendar.walk("VEVENT"):
        uid = str(event["UID"])
        if uid in events:
            problems.append("UID %s twice" % uid)
        events[uid] = event
    days = alarms = 0
    for want in expected["events"]:
        event = events.pop(want["uid"], None)
        if event is None:
            problems.append("%s (%s): no such event" % (want["uid"], want["summary"]))
            continue
        days += len(want["dates"])
        alarms += len(want["alarm"]["at"]) if want["alarm"] else 0
        problems += ["%s (%s): %s" % (want["uid"], want["summary"], p)
                     for p in check_event(event, want)]
    problems += ["%s: an event for no entry" % uid for uid in events]
    if len(expected["events"]) + expected["not_written"] != expected["entries"]:
        problems.append("entries and events do not add up")
    for p in problems[:40]:
        print("check_ical: " + p)
    print("check_ical: %d events, %d days 1980-2079 and %d alarm instants compared, "
          "%d entries without a day, %d problems"
          % (len(expected["events"]), days, alarms, expected["not_written"], len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
