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

struct EntryFieldTexts {
    char year[kNumberFieldSize];
    char month[kNumberFieldSize];
    char day[kNumberFieldSize];
    char hour[kNumberFieldSize];
    char minute[kNumberFieldSize];
    char memo[kMemoFieldSize];
    char minutes_before[kNumberFieldSize];
    char sound_file[kSoundFieldSize];
    bool holiday;
    bool scramble;
    bool alarm_on;
    bool sound_on;
};

// Reads the fields into e; fields the dialog does not show (alarm_at, last_edited) are left
// as they are. Year (4 bytes), month and day (3 bytes each): empty is -1, else the leading
// digits (0 when none); the day takes "?..." as 99 and "M2"/"M3" (any case) as 98/97. Hour
// and minute: -1 when empty or out of range. Memo: at most 80 bytes, sound file 259, never
// splitting a double-byte character.
void entry_from_field_texts(const EntryFieldTexts* t, ScheduleEntry* e);

// The texts that show e, and e->has_time set from its hour and minute.
void field_texts_from_entry(ScheduleEntry* e, EntryFieldTexts* t);

// What the alarm group enables for an entry.
struct AlarmEnables {
    bool alarm;   // the "use" check box: only an entry with a time can have an alarm
    bool group;   // minutes before, its label, the sound check box
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
extern const char* const kEntryFieldMessages[6];

// A row of the entry list.
struct ScheduleRowTexts {
    char year[16];       // "%d年", or "通年" for every year
    char date[32];       // "%2d月%2d日" or the day code's form
    char time[16];       // "%2d:%02d", empty without a time
    char scramble[2];    // "S" or empty
    char alarm[2];       // "A" or empty
    const char* memo;    // the entry's memo
    int image;           // 1 (the flag) for a holiday, else 0
};
void schedule_row_texts(const ScheduleEntry* e, ScheduleRowTexts* out);

// Column titles and the sample texts whose widths size the columns; the memo column is
// sized to its contents after each fill.
constexpr int kScheduleColumns = 6;
extern const ListColumn kScheduleColumnTable[kScheduleColumns];
