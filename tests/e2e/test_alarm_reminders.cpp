// Alarms a user cannot miss, in the real program: every alarm due at once in sight (checked
// on screenshots) with the keyboard on 閉じる, 5分後, alarms due while the program was
// closed, the clock set back, and the end of the Windows session.
#include <cstdio>
#include <string>
#include <vector>

#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

#include "resources/resource.h"

namespace {

struct Due {
    int y, mo, d, h, mi;
    const char* memo;
};

// The settings file: [Config] lines, then the entries (alarm kind 1, at their own time).
std::string settings_for(const std::string& config, const std::vector<Due>& entries) {
    std::string sched = "[Schedule]\r\nschedulecount=" + std::to_string(entries.size()) + "\r\n";
    std::string alarm = "[Alarm]\r\n";
    int n = 0;
    for (const Due& e : entries) {
        char s[160], a[64];
        ++n;
        std::snprintf(s, sizeof s, "schedule%03d=%04d%02d%02d01%s\r\n", n, e.y, e.mo, e.d, e.memo);
        std::snprintf(a, sizeof a, "alarm%03d=%02d%02d001\r\n", n, e.h, e.mi);
        sched += s;
        alarm += a;
    }
    return "[Config]\r\nmethod=0\r\n" + config + sched + alarm;
}

std::vector<Due> due_now(const SYSTEMTIME& now, int count) {
    std::vector<Due> out;
    static const char* memos[] = {"会議", "電話", "打合せ", "来客", "締切", "出張", "面談", "報告"};
    for (int k = 0; k < count; ++k)
        out.push_back({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, memos[k % 8]});
    return out;
}



// Starts the program in a fresh directory with count entries due in the current minute;
// returns its alarm window.
HWND start_with_due(App& app, const char* name, int count) {
    const std::string dir = fresh_dir(name);
    if (!write_file(settings_file_of(dir), settings_for("", due_now(settled_now(), count))) ||
        !app_start(app, dir))
        return nullptr;
    return alarm_window(app);
}

// Starts the seam program in a fresh directory (returned in dir) at a minute of its clock,
// with these entries and, if given, a snooze interval.
bool start_seam_at(App& app, std::string* dir, const char* name, const char* minute,
                   const std::vector<Due>& entries, const char* snooze_ms = nullptr) {
    *dir = fresh_dir(name);
    return set_seam_clock(*dir, minute) &&
           (!snooze_ms || write_file(*dir + "snooze_ms.txt", snooze_ms)) &&
           write_file(settings_file_of(*dir), settings_for("", entries)) && app_start_seam(app, *dir);
}


// What a screenshot of the text control shows: the runs of rows holding dark pixels (the
// lines of text), grouped into blocks where an empty line parts them.
struct Ink {
    std::vector<std::pair<int, int>> lines;   // first and last row of each line
    std::vector<std::pair<int, int>> blocks;  // first and last row of each block
};

Ink ink_in(const Image& shot, const RECT& area) {
    Ink ink;
    int run_start = -1;
    for (int y = area.top; y <= area.bottom; ++y) {
        bool dark = false;
        for (int x = area.left; y < area.bottom && x < area.right && !dark; ++x) {
            const uint32_t p = shot.at(x, y);
            const int lum = ((p >> 16 & 255) * 3 + (p >> 8 & 255) * 6 + (p & 255)) / 10;
            dark = p != 0xFFFFFFFFu && lum < 110;
        }
        if (dark && run_start < 0) run_start = y;
        if (!dark && run_start >= 0) {
            ink.lines.push_back({run_start, y - 1});
            run_start = -1;
        }
    }
    // Lines of a block lie a few rows apart; an empty line parts blocks by a line's height.
    for (const auto& l : ink.lines) {
        const int height = l.second - l.first + 1;
        if (ink.blocks.empty() || l.first - ink.blocks.back().second > height)
            ink.blocks.push_back(l);
        else
            ink.blocks.back().second = l.second;
    }
    return ink;
}

// The text control's area in a screenshot of the window, without a scroll bar.
RECT text_area(HWND w, bool without_bar) {
    RECT win, text;
    GetWindowRect(w, &win);
    GetWindowRect(GetDlgItem(w, IDC_ALARM_TEXT), &text);
    OffsetRect(&text, -win.left, -win.top);
    if (without_bar) text.right -= GetSystemMetrics(SM_CXVSCROLL);
    return text;
}

bool has_scroll_bar(HWND w) {
    return (GetWindowLongA(GetDlgItem(w, IDC_ALARM_TEXT), GWL_STYLE) & WS_VSCROLL) != 0;
}

}  // namespace

E2E_TEST(every_alarm_due_at_once_is_in_sight) {
    struct Case {
        int count;
        const char* shot;
    } cases[] = {{2, "alarm_two.png"}, {5, "alarm_five.png"}};
    for (const Case& c : cases) {
        App app;
        HWND w = start_with_due(app, "alarm_sight", c.count);
        REQUIRE(w != nullptr);
        keep_screenshot(w, c.shot);
        Image shot;
        REQUIRE(capture_window(w, &shot));
        const RECT area = text_area(w, false);
        const Ink ink = ink_in(shot, area);
        CHECK(!has_scroll_bar(w));
        CHECK_EQ(static_cast<int>(ink.lines.size()), 3 * c.count);
        CHECK_EQ(static_cast<int>(ink.blocks.size()), c.count);
        // The last block is whole: its last line ends inside the control.
        if (!ink.blocks.empty()) CHECK(ink.blocks.back().second < area.bottom - 1);
        // The focus is on 閉じる, and Space there (where the keyboard sends it) closes.
        GUITHREADINFO gui = {};
        gui.cbSize = sizeof gui;
        REQUIRE(GetGUIThreadInfo(GetWindowThreadProcessId(w, nullptr), &gui));
        CHECK(gui.hwndFocus == GetDlgItem(w, IDCANCEL));
        PostMessageA(gui.hwndFocus, WM_KEYDOWN, VK_SPACE, 0x00390001);
        PostMessageA(gui.hwndFocus, WM_KEYUP, VK_SPACE, 0xC0390001);
        CHECK(wait_until(is_gone, w));
        CHECK_EQ(app_close(app), 0);
    }
}

E2E_TEST(alarms_beyond_the_screen_scroll_under_a_count_line) {
    App app;
    HWND w = start_with_due(app, "alarm_many", 24);
    REQUIRE(w != nullptr);
    keep_screenshot(w, "alarm_many.png");
    CHECK(has_scroll_bar(w));
    RECT r, work;
    GetWindowRect(w, &r);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    CHECK(r.top >= work.top && r.bottom <= work.bottom);
    Image shot;
    REQUIRE(capture_window(w, &shot));
    // The first line stands alone (the count), then blocks of three lines.
    const Ink ink = ink_in(shot, text_area(w, true));
    REQUIRE(ink.blocks.size() >= 3);
    const int first = ink.blocks[0].second - ink.blocks[0].first;
    const int second = ink.blocks[1].second - ink.blocks[1].first;
    CHECK(first * 2 < second);
    // The bar is drawn: its arrows are dark marks in the column beside the text.
    RECT bar = text_area(w, false);
    bar.left = bar.right - GetSystemMetrics(SM_CXVSCROLL);
    bar.bottom = bar.top + GetSystemMetrics(SM_CYVSCROLL);
    CHECK(!ink_in(shot, bar).lines.empty());
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(five_minutes_later_brings_the_alarms_back) {
    App app;
    std::string dir;
    REQUIRE(start_seam_at(app, &dir, "alarm_snooze", "203006011000", {{2030, 6, 1, 10, 0, "会議"}},
                          "2000"));
    HWND w = alarm_window(app);
    REQUIRE(w != nullptr);
    const std::string shown = window_text(GetDlgItem(w, IDC_ALARM_TEXT));
    CHECK(shown == "2030年6月1日 10:00\r\n会議\r\n予定時刻です");
    CHECK(window_text(GetDlgItem(w, IDC_ALARM_SNOOZE)) == "5分後(&S)");
    REQUIRE(send_sync(GetDlgItem(w, IDC_ALARM_SNOOZE), BM_CLICK, 0, 0));
    CHECK(wait_until(is_gone, w));
    CHECK(alarm_window(app, 1000) == nullptr);  // not at once
    HWND back = alarm_window(app, 8000);
    REQUIRE(back != nullptr);
    CHECK(window_text(GetDlgItem(back, IDC_ALARM_TEXT)) == shown);
    // 閉じる ends it.
    REQUIRE(send_sync(GetDlgItem(back, IDCANCEL), BM_CLICK, 0, 0));
    CHECK(wait_until(is_gone, back));
    CHECK(alarm_window(app, 4000) == nullptr);
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(an_alarm_due_while_the_program_was_closed_shows_at_the_next_start) {
    App app;
    std::string dir;
    REQUIRE(start_seam_at(app, &dir, "alarm_missed", "203006011000",
                          {{2030, 6, 1, 9, 50, "前"}, {2030, 6, 1, 10, 5, "会議"}, {2030, 6, 1, 10, 20, "次"}}));
    CHECK(alarm_window(app, 2500) == nullptr);  // a first start shows nothing
    CHECK_EQ(app_close(app), 0);                 // and leaves its mark
    std::string file;
    REQUIRE(read_file(settings_file_of(dir), &file));
    CHECK(file.find("AlarmChecked=203006011000\r\n") != std::string::npos);

    REQUIRE(set_seam_clock(dir, "203006011015"));
    REQUIRE(app_start_seam(app, dir));
    HWND w = alarm_window(app);
    REQUIRE(w != nullptr);
    keep_screenshot(w, "alarm_missed.png");
    CHECK(window_text(GetDlgItem(w, IDC_ALARM_TEXT)) == "2030年6月1日 10:05\r\n会議\r\n(起動前の予定)");
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(the_clock_set_back_rings_nothing_twice) {
    App app;
    std::string dir;
    REQUIRE(start_seam_at(app, &dir, "alarm_clock_back", "203006010955",
                          {{2030, 6, 1, 9, 55, "A"}, {2030, 6, 1, 10, 0, "B"}, {2030, 6, 1, 10, 1, "C"}}));
    struct Step {
        const char* minute;
        const char* rings;  // the memo that rings then, nullptr for none
    } steps[] = {
        {nullptr, "A"},       // at the start
        {"203006011000", "B"},
        {"203006010950", nullptr},  // ten minutes back
        {"203006010955", nullptr},  // A's minute again
        {"203006011000", nullptr},  // B's minute again
        {"203006011001", "C"},      // past the minutes already checked
    };
    for (const Step& s : steps) {
        if (s.minute) REQUIRE(set_seam_clock(dir, s.minute));
        HWND w = alarm_window(app, s.rings ? 8000 : 2500);
        if (!s.rings) {
            CHECK(w == nullptr);
            continue;
        }
        REQUIRE(w != nullptr);
        CHECK(window_text(GetDlgItem(w, IDC_ALARM_TEXT)).find(std::string("\r\n") + s.rings + "\r\n") != std::string::npos);
        REQUIRE(send_sync(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0));
        CHECK(wait_until(is_gone, w));
    }
    CHECK_EQ(app_close(app), 0);
}

// Started with the clock behind the last minute checked: the alarms up to it stay silent
// (never twice), and the user is told so once, with that time and the alarms held back.
E2E_TEST(a_start_behind_the_last_minute_checked_tells_what_will_not_ring) {
    App app;
    std::string dir;
    REQUIRE(start_seam_at(app, &dir, "alarm_held_back", "203006011000",
                          {{2030, 6, 1, 9, 55, "A"}, {2030, 6, 1, 10, 0, "B"}, {2030, 6, 1, 10, 1, "C"}}));
    HWND w = alarm_window(app);
    REQUIRE(w != nullptr);  // B; A came due before this first start and is not shown
    REQUIRE(send_sync(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0));
    CHECK_EQ(app_close(app), 0);  // the mark: 10:00

    REQUIRE(set_seam_clock(dir, "203006010950"));
    REQUIRE(app_start_seam(app, dir));
    HWND box = find_owned_dialog(app.hwnd, 8000);
    REQUIRE(box != nullptr);
    CHECK(window_text(box) == "Tavelspore");
    const std::vector<std::string> said = messages_said(dir);
    REQUIRE(said.size() == 1);
    CHECK(said[0] ==
          "時計が、前回アラームを確かめた 2030年6月1日 10:00 より前になっています。\n"
          "同じアラームを二度鳴らさないため、この時刻までのアラームは鳴りません。\n\n"
          "鳴らないアラーム:\n2030年6月1日  9:55  A\n2030年6月1日 10:00  B");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    CHECK(wait_until(is_gone, box));
    REQUIRE(set_seam_clock(dir, "203006010955"));
    CHECK(alarm_window(app, 2500) == nullptr);
    REQUIRE(set_seam_clock(dir, "203006011001"));
    w = alarm_window(app);
    REQUIRE(w != nullptr);
    CHECK(window_text(GetDlgItem(w, IDC_ALARM_TEXT)).find("\r\nC\r\n") != std::string::npos);
    REQUIRE(send_sync(GetDlgItem(w, IDCANCEL), BM_CLICK, 0, 0));
    CHECK_EQ(messages_said(dir).size(), size_t(1));
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(the_end_of_the_session_keeps_an_entry_of_an_open_schedule_dialog) {
    App app;
    const std::string dir = fresh_dir("end_session");
    REQUIRE(app_start(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_SCHEDULE, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    send_sync(GetDlgItem(dlg, IDC_SCHED_MEMO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("終了前"));
    for (auto f : {std::make_pair(IDC_SCHED_YEAR, "2030"), std::make_pair(IDC_SCHED_MONTH, "7"),
                   std::make_pair(IDC_SCHED_DAY, "2")}) {
        for (const char* p = f.second; *p; ++p) send_sync(GetDlgItem(dlg, f.first), WM_CHAR, *p, 1);
    }
    REQUIRE(send_sync(GetDlgItem(dlg, IDC_SCHED_ADD), BM_CLICK, 0, 0));
    // Windows logs off: it asks, tells, and then ends the process.
    DWORD_PTR answer = 0;
    REQUIRE(SendMessageTimeoutA(app.hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                5000, &answer));
    CHECK_EQ(static_cast<int>(answer), 1);
    REQUIRE(SendMessageTimeoutA(app.hwnd, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                5000, &answer));
    TerminateProcess(app.pi.hProcess, 0);
    app_wait_exit(app, 5000);
    std::string file;
    REQUIRE(read_file(settings_file_of(dir), &file));
    CHECK(file.find("schedulecount=1\r\n") != std::string::npos);
    CHECK(file.find("schedule001=2030070200終了前\r\n") != std::string::npos);
    CHECK(file.find("AlarmChecked=") != std::string::npos);
}
