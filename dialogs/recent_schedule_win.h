// The recent schedule dialog (IDD_RECENT): the entries from today up to a chosen number of days
// ahead, with the two options it edits.
#pragma once

#include <windows.h>

struct ScheduleList;
struct FeedEntries;

// Modal over owner, listing the live entries of list with the subscribed events of feeds
// (when given, marked with their feed's name), then, with national_holidays nonzero,
// the national holidays in the same days. *todo_width (days ahead) changes at once with the
// combo box; *todo_boot (show at start-up, 0 or 1) is taken at OK. The caller stores both
// afterwards.
void recent_schedule_dialog(HWND owner, const ScheduleList& list, int* todo_boot, int* todo_width,
                            int national_holidays, const FeedEntries* feeds = nullptr);
