// Rules of the two read-only schedule lists: the entries of one day of the month on show
// (day contents) and the entries from today up to a number of days ahead (recent
// schedule). Which entries each list holds, in list order, and every text its rows, header
// and combo box show. The dialog procedures only put these into their controls.
#pragma once

#include <cstddef>

#include "calendar/date.h"
#include "schedule/entry.h"

// Days ahead the recent list can cover (the combo box offers 1..99).
constexpr int kTodoWidthMin = 1;
constexpr int kTodoWidthMax = 99;

// A stored ToDoWidth as the combo box and the list use it: within 1..99.
int clamp_todo_width(int width);
// The combo item of width k: "%2d" (" 1" .. " 9", "10" .. "99").
void format_todo_width_item(char* out, size_t size, int k);
// The item to select for a stored width (clamped), 0-based.
int todo_width_item_index(int width);
// The user picked item index: true, with the new width, when it names a width 1..99 that
// differs from *width (the list is then rebuilt); false for the same width or no item.
bool todo_width_pick(int index, int* width);

// Header of both dialogs: "%d年%2d月%2d日(%s)" with the Japanese weekday name; with wareki
// nonzero the date's era year in place of "%d年".
void format_list_header(char* out, size_t size, int year, int month, int day, int wareki);
// Distance label of n days from today: "今日", "明日", "明後日", else "%2ld日後".
void format_distance_label(char* out, size_t size, long n);

// Holiday image of an entry's row: 1 (the flag) for any non-zero holiday byte, else 0.
int entry_image(const ScheduleEntry* e);

// Column layout of a list view: a title (nullptr: none), the alignment, and a width that is
// the pixel width of sample (when given) plus extra; the memo column is sized to its
// contents after the fill instead; a column that fits is as wide as its widest text after
// the fill, the sample's width at the least.
enum ListAlign { kListAlignLeft, kListAlignCenter };
struct ListColumn {
    const char* title;
    ListAlign align;
    const char* sample;
    int extra;
    bool autosize;
    bool fit = false;
};

// Rows of the recent list at most: a daily entry has one a day.
constexpr int kMaxRecentRows = 10000;

constexpr int kDayColumnCount = 3;
constexpr int kRecentColumnCount = 5;
extern const ListColumn kDayColumns[kDayColumnCount];
extern const ListColumn kRecentColumns[kRecentColumnCount];
// The time columns, and the sample they widen to when a row shows a time with its end.
constexpr int kDayTimeColumn = 1;
constexpr int kRecentTimeColumn = 2;
extern const char kTimeRangeSample[];
// An entry's time as every list shows it: "%2d:%02d", with its end "14:00〜15:30", empty
// without a time.
void entry_time_text(char* out, size_t size, const ScheduleEntry* e);

constexpr size_t kMemoText = 81;  // the memo and its NUL

struct DayRow {
    int image;
    char time[24];  // "%2d:%02d" or with its end "%2d:%02d〜%2d:%02d", empty without a time
    char memo[kMemoText];
};

// The row of entry e in the day contents of year-month-day, when the entry falls on that
// day as the month grid marks it. False for a date the month does not have and for
// entries whose stored month is not 1..12.
bool day_contents_row(const ScheduleEntry* e, int year, int month, int day, DayRow* out);

// The first row of the day contents on a national holiday, before the day's entries: the
// flag, no time, the holiday's name. It stands for no entry. False on any other day and
// when national (the switch of the shown holidays) is 0.
bool day_contents_holiday_row(int year, int month, int day, int national, DayRow* out);

// The row of the old calendar that heads the day contents (before a national holiday's):
// with kyureki nonzero the old-calendar date, its 六曜 and the day's solar term and 雑節
// ("旧暦 11月1日 大安 / 冬至"); with only rokuyo nonzero the day's 六曜. No flag, no time. False
// when both are 0 and for a date outside 1980..2079 or that does not exist.
bool day_contents_almanac_row(int year, int month, int day, int rokuyo, int kyureki,
                              DayRow* out);

struct RecentRow {
    long days;      // from today
    int image;
    char label[16];
    char date[32];  // "%2d月%2d日(%s)"
    char time[24];
    char alarm[2];  // "A" with a time and an alarm, else empty
    char memo[kMemoText];
};

// The row of entry e in the recent list seen on today (ty-tm-td) covering width days
// ahead (clamped to 1..99): its next day from today on, so an every-year entry whose month
// lies before this month falls in next year. Not listed: dates before today or past the
// width, day codes that name no day in the month, days the month does not have in that
// year (29 February of a common year), and stored months outside 1..12.
bool recent_row(const ScheduleEntry* e, int ty, int tm, int td, int width, RecentRow* out);

// One row of the recent list before its texts: the entry's place in the list and the day
// (days from today) it is listed on.
struct RecentOccurrence {
    int entry;
    int days;
    CalendarDate day;
    bool subscribed = false;  // entry is a place in the subscribed calendars' list
};

// Every occurrence of the entries of list[0..count) from today (ty-tm-td) up to width days
// ahead (clamped to 1..99), in date order, those of one day in list order. An occurrence that
// began before today and lasts into it is listed on today, first. Writes at most max;
// returns their count. Cheap: the texts are made only for the rows on show
// (recent_occurrence_row).
int recent_occurrences(const ScheduleEntry* list, int count, int ty, int tm, int td, int width,
                       RecentOccurrence* out, int max);
// The row of an occurrence of list (as recent_occurrences gave it).
void recent_occurrence_row(const ScheduleEntry* list, const RecentOccurrence& o, RecentRow* out);
// Both at once: the rows of every occurrence.
int recent_rows(const ScheduleEntry* list, int count, int ty, int tm, int td, int width,
                RecentRow* out, int max);

// Whether the entry's rows show a time with its end.
bool entry_time_has_end(const ScheduleEntry* e);

// One day is at most one holiday: today and 99 days ahead hold at most 100.
constexpr int kMaxRecentHolidays = kTodoWidthMax + 1;

// The national holidays from today (ty-tm-td) up to width days ahead (clamped to 1..99), in
// date order, as rows of the recent list that follow the entries' rows: the flag, the
// distance label, the date, no time and no alarm, the holiday's name. None when national
// (the switch of the shown holidays) is 0. Writes at most max rows; returns their count.
int recent_holiday_rows(int ty, int tm, int td, int width, int national, RecentRow* out, int max);
