// Repeating and spanning entries in the real program: written into the settings file by the
// program's own writer, they mark their days month after month (a skipped day stays plain,
// each day of a span is marked, a repeating holiday reddens each of its days), and their
// alarms ring at a later occurrence and every year, never on a skipped day (the seam clock).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/month_layout.h"
#include "calendar/date.h"
#include "calendar/dayclass.h"
#include "config/profile_file.h"
#include "resources/resource.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "schedule/schedule_sections.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

ScheduleEntry dated(int y, int m, int d, const char* memo, int holiday = 0) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = y, e.month = m, e.day = d;
    e.holiday = static_cast<uint8_t>(holiday);
    std::snprintf(e.memo, sizeof e.memo, "%s", memo);
    return e;
}

// A settings file: the [Config] lines, then the entries as the program writes them.
std::string settings_with(const std::string& config, std::vector<ScheduleEntry> entries) {
    const std::string head = "[Config]\r\n" + config;
    ProfileFile doc;
    doc.parse(head.data(), head.size());
    ScheduleKeep keep;
    int count = static_cast<int>(entries.size());
    for (ScheduleEntry& e : entries) entry_settle(&e);
    schedule_merge(doc, entries.data(), &count, count, &keep);
    schedule_write(&doc, entries.data(), count, keep);
    return doc.serialize();
}

// 燃えるゴミ on Mondays and Thursdays from 3 June 2030 without 13 June; 資源ゴミ, a holiday,
// on the 2nd and 4th Wednesday; 夏季休暇 from 29 July to 1 August.
std::vector<ScheduleEntry> household() {
    ScheduleEntry garbage = dated(2030, 6, 3, "燃えるゴミ");
    garbage.repeat.kind = RepeatKind::kWeekly;
    garbage.repeat.interval = 1;
    garbage.repeat.weekdays = (1 << 1) | (1 << 4);
    garbage.skips[garbage.skip_count++] = 20300613;
    ScheduleEntry recycle = dated(2030, 6, 12, "資源ゴミ", 1);
    recycle.repeat.kind = RepeatKind::kMonthlyByWeekday;
    recycle.repeat.interval = 1;
    recycle.repeat.nth_weekdays[1] = recycle.repeat.nth_weekdays[3] = 1 << 3;
    ScheduleEntry vacation = dated(2030, 7, 29, "夏季休暇");
    vacation.span_days = 3;
    return {garbage, recycle, vacation};
}

struct GridShot {
    Image img;
    int ox = 0, oy = 0;
    MonthGrid grid = {};
};



int count_in_cell(const GridShot& s, int day, bool (*pred)(uint32_t)) {
    const CellRect& r = s.grid.drawn[day - 1];
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += pred(s.img.at(s.ox + x, s.oy + y)) ? 1 : 0;
    return n;
}

int count_box(const GridShot& s, int day) {
    const uint32_t box = rgb_of(marked_box_colour(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOW)));
    const CellRect& r = s.grid.drawn[day - 1];
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.img.at(s.ox + x, s.oy + y) == box ? 1 : 0;
    return n;
}

bool shoot_month(const App& app, int year, int month, GridShot* s) {
    if (!show_month(app, year, month) || !lay_out_month(app, year, month, 0, &s->grid)) return false;
    return capture_client(app.hwnd, &s->img, &s->ox, &s->oy);
}



}  // namespace

E2E_TEST(repeating_entries_mark_their_days_month_after_month) {
    const std::string dir = fresh_dir("repeating_marks");
    const std::string config =
        "monthlang=0\r\nweeklang=0\r\nclock=0\r\nNationalHolidays=0\r\ncmode=1\r\n"
        "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n";
    const std::vector<ScheduleEntry> entries = household();
    REQUIRE(write_file(settings_file_of(dir), settings_with(config, entries)));
    App app;
    REQUIRE(app_start(app, dir));
    for (int month = 6; month <= 8; ++month) {
        GridShot s;
        REQUIRE(shoot_month(app, 2030, month, &s));
        save_png(s.img, g_work_dir + "repeating_2030_" + std::to_string(month) + ".png");
        // What the program's rules say, cell by cell: a box on the days of the garbage and the
        // vacation, red on the recycling holiday and Sundays.
        const DayMarks marks = month_marks(entries.data(), static_cast<int>(entries.size()), 2030, month);
        int boxes = 0, holidays = 0;
        for (int d = 1; d <= days_in_month(month, 2030); ++d) {
            const bool boxed = (marks.marked >> d) & 1u;
            const bool red = ((marks.holiday >> d) & 1u) || weekday_of(2030, month, d) == 0;
            boxes += boxed;
            holidays += (marks.holiday >> d) & 1u;
            if (boxed) CHECK(count_box(s, d) > 20);
            else CHECK_EQ(count_box(s, d), 0);
            if (red) CHECK(count_in_cell(s, d, reddish) > 5);
            else if (weekday_of(2030, month, d) != 6) CHECK_EQ(count_in_cell(s, d, reddish), 0);
        }
        CHECK_EQ(holidays, 2);
        CHECK(boxes >= 7);
    }
    // The rules themselves: the skipped Thursday and each day of the span.
    const DayMarks june = month_marks(entries.data(), 3, 2030, 6);
    CHECK(((june.marked >> 13) & 1u) == 0);
    CHECK(((june.marked >> 17) & 1u) != 0);
    const DayMarks july = month_marks(entries.data(), 3, 2030, 7);
    const DayMarks august = month_marks(entries.data(), 3, 2030, 8);
    CHECK(((july.marked >> 29) & 7u) == 7u);
    CHECK(((august.marked >> 1) & 1u) != 0);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(repeating_alarms_ring_at_a_later_occurrence_and_every_year) {
    ScheduleEntry weekly = dated(2030, 6, 6, "定例会議");
    weekly.repeat.kind = RepeatKind::kWeekly;
    weekly.repeat.interval = 1;
    weekly.repeat.weekdays = 1 << 4;
    weekly.skips[weekly.skip_count++] = 20300620;
    weekly.has_time = 1, weekly.hour = 9, weekly.minute = 0;
    weekly.minutes_before = 10, weekly.alarm_kind = 1;
    ScheduleEntry birthday = dated(-1, 9, 21, "誕生日");
    birthday.has_time = 1, birthday.hour = 9, birthday.minute = 22, birthday.alarm_kind = 1;

    const std::string dir = fresh_dir("repeating_alarms");
    REQUIRE(set_seam_clock(dir, "203006130845"));
    REQUIRE(write_file(settings_file_of(dir), settings_with("method=0\r\n", {weekly, birthday})));
    App app;
    REQUIRE(app_start_seam(app, dir));
    CHECK(alarm_window(app, 2500) == nullptr);
    struct Step {
        const char* minute;
        const char* text;  // nullptr: nothing rings
    } steps[] = {
        {"203006130850", "2030年6月13日  9:00\r\n定例会議\r\n10 分前です"},  // the second Thursday
        {"203006200850", nullptr},                                        // skipped
        {"203006270850", "2030年6月27日  9:00\r\n定例会議\r\n10 分前です"},
        {"203109210922", "2031年9月21日  9:22\r\n誕生日\r\n予定時刻です"},   // every year
        {"203209210922", "2032年9月21日  9:22\r\n誕生日\r\n予定時刻です"},
    };
    for (const Step& s : steps) {
        REQUIRE(set_seam_clock(dir, s.minute));
        HWND w = alarm_window(app, s.text ? 8000 : 2500);
        if (!s.text) {
            CHECK(w == nullptr);
            continue;
        }
        REQUIRE(w != nullptr);
        CHECK(window_text(GetDlgItem(w, IDC_ALARM_TEXT)) == s.text);
        if (std::strcmp(s.minute, "203006130850") == 0) keep_screenshot(w, "repeating_alarm.png");
        REQUIRE(send_sync(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0));
        CHECK(wait_until(is_gone, w));
    }
    CHECK_EQ(app_close(app), 0);
    // The rule and the skipped day are still in the file, in their own lines.
    std::string file;
    REQUIRE(read_file(settings_file_of(dir), &file));
    CHECK(file.find(".rrule=FREQ=WEEKLY;BYDAY=TH;WKST=SU\r\n") != std::string::npos);
    CHECK(file.find(".exdate=20300620\r\n") != std::string::npos);
}
