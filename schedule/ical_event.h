// One VEVENT as the reader gathers it, property by property, and the entry it becomes.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "schedule/entry.h"
#include "schedule/ical_lines.h"
#include "schedule/ical_occurrences.h"
#include "schedule/ical_platform.h"
#include "schedule/ical_zone.h"

constexpr int kIcalMaxListedDates = 1024;  // RDATE or EXDATE values kept per event
constexpr size_t kIcalSummaryKeep = 400;   // bytes of SUMMARY kept: more than 80 characters
constexpr size_t kIcalSoundKeep = 259;     // bytes of a sound file path, as the dialog keeps
constexpr uint8_t kIcalFormUtc = 1, kIcalFormDate = 2;

// An alarm being read (VALARM).
struct IcalAlarmData {
    bool none;   // ACTION:NONE, a placeholder some programs write
    bool audio;  // ACTION:AUDIO
    bool has_trigger;
    bool relative;                   // a duration before or after the start
    int64_t seconds;                 // that duration (negative: before)
    char unit;                       // the unit its last figure names: 'w', 'd', 'h', 'm', 's'
    char sound[kIcalSoundKeep + 1];  // a usable local sound file path, code page 932
    bool sound_refused;              // an attached file that is no local file was not taken
};

// A DTSTART, DTEND or RECURRENCE-ID value: the time as written and in which zone.
struct IcalStamp {
    bool present, bad;
    IcalTime at;
    bool is_date, utc;
    char tzid[128];
};

struct IcalEventData {
    bool has_start, bad_start;
    IcalTime start;
    bool start_is_date, start_utc;
    char tzid[128];

    IcalStamp end;          // DTEND
    bool has_duration;      // DURATION (used without DTEND)
    int64_t duration;       // seconds
    IcalStamp recur_id;     // RECURRENCE-ID: the occurrence of a series this event replaces
    bool cancelled;         // STATUS:CANCELLED
    char uid[kUidSize];     // UID, "" when absent or unusable
    bool has_sequence;
    uint32_t sequence;
    bool has_modified;      // LAST-MODIFIED (UTC)
    IcalTime modified;

    bool has_summary;
    char summary[kIcalSummaryKeep + 1];  // unescaped, UTF-8 as found

    int rule_count;      // RRULE properties seen
    bool rule_unusable;  // cut short
    char rule[512];
    size_t rule_len;

    IcalDate rdates[kIcalMaxListedDates];
    int rdate_count;
    IcalDate exdates[kIcalMaxListedDates];
    int exdate_count;
    // The same excluded days as written, with their time and its form (a time without a zone
    // of its own is in the start's zone).
    IcalTime exdate_at[kIcalMaxListedDates];
    uint8_t exdate_form[kIcalMaxListedDates];  // kIcalFormUtc, kIcalFormDate
    bool dates_unknown;  // a listed date that could not be read or kept

    bool holiday, scramble;

    // The alarm taken (the first usable one) and whether any other was dropped.
    bool alarm_taken;
    AlarmKind alarm_kind;
    int64_t alarm_seconds;  // its trigger from the start (negative: before)
    char alarm_unit;        // the unit the trigger was written in
    char alarm_sound[kIcalSoundKeep + 1];
    bool alarm_sound_refused;  // the alarm taken plays the system sound instead of its file
    bool alarm_dropped;
    IcalAlarmData alarm;  // the VALARM being read
};

// What one event gives.
struct IcalImported {
    ScheduleEntry entry;
    // STATUS:CANCELLED or a rule that leaves no day at all: no entry, only (for a replaced
    // occurrence) the day its series leaves out. entry holds the uid and recur_date then.
    bool cancelled;
    bool has_version;     // SEQUENCE or LAST-MODIFIED was given (entry.sequence, .modified)
    bool recurrence_cut;  // a recurrence an entry cannot hold: its first day only
    bool alarm_cut;       // an alarm that could not be kept
    bool sound_refused;   // the alarm's sound file is no local file: the system sound instead
};

void ical_event_begin(IcalEventData* ev);
void ical_event_property(IcalEventData* ev, const IcalProperty& p, const IcalLine& line);

void ical_alarm_begin(IcalEventData* ev);
void ical_alarm_property(IcalEventData* ev, const IcalProperty& p, const IcalLine& line,
                         const IcalPlatform* platform);
void ical_alarm_end(IcalEventData* ev, bool implicit);

// The entry of a complete event: its date or every-year form in this machine's local time,
// its rule, skipped days, span and end, memo, holiday and scramble flags, alarm (a lead or a
// day alarm), identity and version, passing every check of the schedule dialog. What the
// entry cannot hold of a recurrence leaves its first day in range only (told). False when the
// event cannot give one (no usable start, no day in 1980..2079); a cancelled event or one
// whose rule leaves no day gives out->cancelled.
bool ical_event_entry(const IcalEventData& ev, const IcalPlatform* platform,
                      const std::vector<IcalZone>& zones, IcalImported* out);

// "-PT15M", "P1DT2H", "-P1W" and the like: seconds, negative before. False when malformed.
bool ical_parse_duration(const char* s, size_t n, int64_t* seconds);

// Minutes before the start of a trigger given as a duration: seconds <= 0 rounded up to
// whole minutes; -1 when it lies after the start.
int ical_minutes_before(int64_t seconds);
