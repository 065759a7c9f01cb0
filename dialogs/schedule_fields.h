// The schedule dialog's entry fields as texts and check states, and the rules between them
// and a ScheduleEntry: how each field reads, how an entry shows, what the alarm group
// enables, the checks made before an entry is stored, and the rows of the entry list.
// Pure: the dialog copies control texts in and out.
#pragma once

#include <cstddef>

#include "dialogs/schedule_lists.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"

// Read buffers are larger than the edit limits, so that text pasted or set past a limit is
// still cut by the reading rules below and not by the read.
constexpr size_t kNumberFieldSize = 16;
constexpr size_t kMemoFieldSize = 256;
constexpr size_t kSoundFieldSize = 300;
// Bytes kept of the sound file edit (the memo edit keeps kMemoKeep).
constexpr size_t kSoundKeep = 259;

// The items of the lead's unit (分前, 時間前, 日前) and of a day alarm's day (当日, 前日,
// 2日前 .. 7日前), in the order of their lists.
constexpr int kLeadUnitItems = 3;
constexpr int kDayAlarmItems = 8;
// A day alarm's time of day shown for an entry that has none yet: 9:00.
constexpr int kDefaultDayAlarmMinute = 9 * 60;

struct EntryFieldTexts {
    char year[kNumberFieldSize];
    char month[kNumberFieldSize];
    char day[kNumberFieldSize];
    char hour[kNumberFieldSize];
    char minute[kNumberFieldSize];
    char end_month[kNumberFieldSize];  // the last day of an entry that lasts several days
    char end_day[kNumberFieldSize];
    char end_hour[kNumberFieldSize];   // and the time it ends
    char end_minute[kNumberFieldSize];
    char memo[kMemoFieldSize];
    char minutes_before[kNumberFieldSize];
    int lead_unit;                     // item of the unit list (LeadUnit)
    int day_alarm_day;                 // item of the day list: 0 the day itself, k: k days before
    char day_alarm_hour[kNumberFieldSize];
    char day_alarm_minute[kNumberFieldSize];
    char sound_file[kSoundFieldSize];
    bool holiday;
    bool scramble;
    bool alarm_on;
    bool sound_on;
};

// Reads the fields into e; fields the dialog does not show (alarm_at, last_edited, the
// rule, skipped days, identity) are left as they are. Number fields read full-width digits
// as digits. Year (4 bytes), month and day (3 bytes each): empty is -1, else the leading
// digits (0 when none); the day takes "?..." as 99 and "M2"/"M3" (any case) as 98/97. Hour
// and minute: -1 when empty or out of range.
// Memo: at most 80 bytes, sound file 259, never splitting a double-byte character.
// The lead: minutes 0..99 as typed (anything else 0), hours and days as that many minutes
// (entry_fault refuses more than seven days). The end: a last day after the date (in the
// next year when its month comes before the date's) and an end time; a day alarm for an
// entry without a time with its alarm on. What cannot be read is left for entry_fault to
// refuse: span_days -1, an end hour of -1, a day alarm minute out of its range. An
// every-year entry (no year, or a day code) drops the rule of the entry it was typed over.
void entry_from_field_texts(const EntryFieldTexts* t, ScheduleEntry* e);

// The texts that show e, and e->has_time set from its hour and minute.
void field_texts_from_entry(ScheduleEntry* e, EntryFieldTexts* t);

// What the alarm group enables for an entry.
struct AlarmEnables {
    bool alarm;   // the "use" check box: every entry can have an alarm
    bool group;   // the sound check box
    bool lead;    // the lead, its unit and label: an entry with a time
    bool day;     // the day alarm's day, time and labels: an entry without a time
    bool sound;   // the sound file label, path, try and browse buttons
};
AlarmEnables alarm_enables_for(const ScheduleEntry* e);

// Month, day and memo are present: an edit with these offers Add.
bool entry_fields_complete(const ScheduleEntry* e);

// The memo field kept within kMemoKeep bytes as the user types, pastes or composes: an edit
// turned the field's text from before into after; when after is longer than limit bytes,
// what the edit inserted is cut: after[start, end) is the inserted text, and only its first
// keep bytes (whole characters) stay. False when after fits. When the text around the
// insertion alone is too long, the whole text is the insertion.
struct MemoCut {
    size_t start, end, keep;
};
bool memo_cut(const char* before, const char* after, size_t limit, MemoCut* cut);
// Characters in the first n bytes of s.
size_t cp932_chars_in(const char* s, size_t n);

// The message of the first check (entry_fault) the entry fails, nullptr when it may be
// stored. The blank memo is cleared whatever the date checks found (memo_cleared tells the
// dialog to empty the field).
const char* validate_entry(ScheduleEntry* e, bool* memo_cleared);
extern const char* const kEntryFieldMessages[11];

// A row of the entry list.
struct ScheduleRowTexts {
    char year[16];       // "%d年", or "通年" for every year
    char date[48];       // "%2d月%2d日" or the day code's form, "〜%d/%d" with a last day
    char time[32];       // "%2d:%02d", "〜%d:%02d" with an end time, empty without a time
    char repeat[96];     // the rule in words, empty for an entry that does not repeat
    char scramble[2];    // "S" or empty
    char alarm[2];       // "A" or empty
    const char* memo;    // the entry's memo
    int image;           // 1 (the flag) for a holiday, else 0
};
void schedule_row_texts(const ScheduleEntry* e, ScheduleRowTexts* out);

// Column titles and the sample texts whose widths size the columns; the memo column is
// sized to its contents after each fill.
constexpr int kScheduleColumns = 7;
constexpr int kScheduleMemoColumn = 6;
extern const ListColumn kScheduleColumnTable[kScheduleColumns];
