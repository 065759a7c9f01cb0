// iCalendar files through the real program: a schedule of every kind of entry exported by
// the menu and the system's save dialog comes back, imported into a fresh program directory,
// as the same settings-file entries; hostile files leave the list and the settings file as
// they were, or add what fits, and the one message says which.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "config/profile_file.h"
#include "config/scramble.h"
#include "resources/resource.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"
#include "tests/win/file_dialog_input.h"

namespace {


// One entry as its settings-file values; scrambled ones are stored so.
struct Stored {
    std::string value;
    const char* alarm;  // nullptr: no time
    bool scrambled;
};

const std::string kEightyBytes = [] {
    std::string s;
    for (int i = 0; i < 10; ++i) s += "表予能ソ";  // second bytes 0x5C
    return s;
}();

// Every kind of entry the program keeps.
const std::vector<Stored> kEveryKind = {
    {"2004052000歯医者", nullptr, false},
    {"2004052101会議", "0930151", false},                       // alarm window
    {"2004052201電話", "1015002", false},                       // and the system sound
    {"2004052301打合せ", "1400053C:\\sounds\\chime.wav", false},  // and a sound file
    {"2004052401昼食", "1200000", false},                       // a time, no alarm
    {"2004052500予定,a;b\\c", nullptr, false},                  // characters escaped in the file
    {"0000010110元日", nullptr, false},                         // every year, holiday
    {"0000019810成人の日", nullptr, false},                     // second Monday
    {"0000099710敬老の日", nullptr, false},                     // third Monday
    {"0000019900一月の移動日", nullptr, false},
    {"0000039900春分", nullptr, false},
    {"0000099900秋分", nullptr, false},
    {"0000109900十月の移動日", nullptr, false},
    {"2005010100" + kEightyBytes, nullptr, false},
    {"2004060120秘密", nullptr, true},                          // scrambled in the settings file
};

std::string scrambled(const std::string& plain) {
    char buf[512];
    lstrcpynA(buf, plain.c_str(), sizeof buf);
    memo_scramble(buf, sizeof buf);
    return buf;
}

std::string settings_with(const std::vector<Stored>& entries) {
    std::string s = "[Config]\r\nclock=0\r\n[Schedule]\r\nschedulecount=" +
                    std::to_string(entries.size()) + "\r\n";
    std::string alarms = "[Alarm]\r\n";
    char key[32];
    for (size_t i = 0; i < entries.size(); ++i) {
        const Stored& e = entries[i];
        wsprintfA(key, "schedule%03d=", int(i + 1));
        s += key + (e.scrambled ? scrambled(e.value) : e.value) + "\r\n";
        if (!e.alarm) continue;
        wsprintfA(key, "alarm%03d=", int(i + 1));
        alarms += key + (e.scrambled ? scrambled(e.alarm) : std::string(e.alarm)) + "\r\n";
    }
    return s + alarms;
}

// The entries of a settings file written by the program, each as "value|alarm", in order of
// their values: the same schedule gives the same list whatever its order.
std::vector<std::string> entries_in(const std::string& file) {
    std::vector<std::string> values, alarms;
    size_t at = 0;
    while (at < file.size()) {
        size_t end = file.find("\r\n", at);
        if (end == std::string::npos) end = file.size();
        const std::string line = file.substr(at, end - at);
        at = end + 2;
        for (auto* list : {&values, &alarms}) {
            const char* prefix = list == &values ? "schedule" : "alarm";
            const size_t n = lstrlenA(prefix);
            if (line.compare(0, n, prefix) != 0 || line.size() < n + 4 || line[n + 3] != '=') continue;
            const size_t k = std::stoul(line.substr(n, 3));
            if (list->size() < k) list->resize(k);
            (*list)[k - 1] = line.substr(n + 4);
        }
    }
    std::vector<std::string> out;
    for (size_t i = 0; i < values.size(); ++i)
        out.push_back(values[i] + "|" + (i < alarms.size() ? alarms[i] : ""));
    std::sort(out.begin(), out.end());
    return out;
}

// The entries as the settings file holds them once they came back: written in the machine's
// own zone and read on the same machine, at the same times; scrambled as before (the memo is
// plain only in the calendar file).
std::vector<std::string> expected_entries(const std::vector<Stored>& entries) {
    std::vector<std::string> out;
    for (const Stored& e : entries) {
        std::string v = e.value, alarm = e.alarm ? e.alarm : "";
        if (e.scrambled) v = scrambled(v);
        if (e.scrambled && !alarm.empty()) alarm = scrambled(alarm);
        out.push_back(v + "|" + alarm);
    }
    std::sort(out.begin(), out.end());
    return out;
}

// Fails, naming what one side holds and the other lacks, unless both hold the same entries.
void check_entries(Ctx& ctx, int line, const std::vector<std::string>& got,
                   const std::vector<std::string>& want) {
    std::vector<std::string> extra, missing;
    std::set_difference(got.begin(), got.end(), want.begin(), want.end(), std::back_inserter(extra));
    std::set_difference(want.begin(), want.end(), got.begin(), got.end(), std::back_inserter(missing));
    for (const std::string& e : extra) ctx.fail(__FILE__, line, "unexpected entry " + e);
    for (const std::string& e : missing) ctx.fail(__FILE__, line, "missing entry " + e);
}

// The dialog with this caption the program shows over its window (polling up to wait_ms).
HWND dialog_titled(const App& app, const std::string& caption, DWORD wait_ms = 5000) {
    const DWORD start = GetTickCount();
    do {
        HWND dlg = find_owned_dialog(app.hwnd, 0);
        if (dlg && window_text(dlg) == caption) return dlg;
        Sleep(20);
    } while (GetTickCount() - start < wait_ms);
    return nullptr;
}

// The popup menu of the right button, then 設定(&S) and the item of this access key, as the
// keyboard chooses them.
bool choose_settings_item(const App& app, char key) {
    RECT c;
    GetClientRect(app.hwnd, &c);
    PostMessageA(app.hwnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(c.right / 2, c.bottom - 10));
    if (!find_popup_menu(app.pi.dwProcessId, 5000)) return false;
    PostMessageA(app.hwnd, WM_CHAR, 's', 0);
    PostMessageA(app.hwnd, WM_CHAR, WPARAM(key), 0);
    return true;
}

const char kExportCaption[] = "Tavelspore - iCalendar形式で書き出す (メモは暗号化されずに書き出されます)";
const char kImportCaption[] = "Tavelspore - iCalendar形式を読み込む";

// After the command has opened its chooser: the file typed and OK pressed, then the message
// box it ends in closed. What that box said, or "" when none came.
std::string answer_chooser(const App& app, const char* caption, const std::string& path) {
    HWND chooser = dialog_titled(app, caption);
    if (!chooser) return "";
    win_test::choose_in_file_dialog(chooser, path.c_str());
    if (!wait_until(is_gone, chooser)) return "";
    HWND box = dialog_titled(app, "Tavelspore", 60000);  // once the file is read
    if (!box) return "";
    const std::vector<std::string> said = messages_said(app.dir);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    wait_until(is_gone, box);
    return said.empty() ? "" : said.back();
}

}  // namespace

E2E_TEST(ical_export_and_import_give_the_same_entries) {
    const std::string from = fresh_dir("ical_export");
    const std::string to = fresh_dir("ical_import");
    REQUIRE(write_file(settings_file_of(from), settings_with(kEveryKind)));
    App app;
    REQUIRE(app_start_seam(app, from));
    REQUIRE(choose_settings_item(app, 'e'));
    // Typed without its extension: the dialog adds ".ics".
    CHECK(answer_chooser(app, kExportCaption, from + "schedule") == "15 件の予定を書き出しました。");
    CHECK_EQ(app_close(app), 0);
    std::string ics;
    REQUIRE(read_file(from + "schedule.ics", &ics));
    CHECK(ics.rfind("BEGIN:VCALENDAR\r\n", 0) == 0);
    CHECK(ics.find(u8"SUMMARY:秘密\r\n") != std::string::npos);  // plain text in the file

    REQUIRE(app_start_seam(app, to));
    REQUIRE(choose_settings_item(app, 'i'));
    CHECK(answer_chooser(app, kImportCaption, from + "schedule.ics") ==
          "15 件の予定を読み込みました。\n\n追加した予定: 15 件\n登録済みの予定: 0 件\n"
          "変更して追加した予定: 0 件\n追加しなかった予定: 0 件");
    // Saved at once, before the program ends.
    const std::string saved = settings_once_holding(to, {"schedulecount=15"});
    check_entries(ctx, __LINE__, entries_in(saved), expected_entries(kEveryKind));
    CHECK_EQ(app_close(app), 0);
    std::string at_exit;
    REQUIRE(read_file(settings_file_of(to), &at_exit));
    check_entries(ctx, __LINE__, entries_in(at_exit), expected_entries(kEveryKind));
}

namespace {

std::string event(int n, const std::string& date, const std::string& summary) {
    return "BEGIN:VEVENT\r\nUID:h" + std::to_string(n) + "\r\nDTSTAMP:20040101T000000Z\r\n" +
           "DTSTART;VALUE=DATE:" + date + "\r\nSUMMARY:" + summary + "\r\nEND:VEVENT\r\n";
}
std::string calendar(const std::string& events) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n" + events + "END:VCALENDAR\r\n";
}

std::string garbage(size_t n) {
    std::string s(n, '\0');
    uint32_t x = 12345;
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = char(x >> 16);
    }
    return s;
}

// 10,000 events on as many days from 1 January 2000 (days 1 to 28 of each month).
std::string ten_thousand_events() {
    std::string events;
    char date[16];
    for (int i = 0; i < 10000; ++i) {
        wsprintfA(date, "%04d%02d%02d", 2000 + i / 336, 1 + i / 28 % 12, 1 + i % 28);
        events += event(i, date, "e" + std::to_string(i));
    }
    return calendar(events);
}

}  // namespace

E2E_TEST(ical_import_of_hostile_files) {
    const std::vector<Stored> start(kEveryKind.begin(), kEveryKind.begin() + 3);
    struct Case {
        const char* name;
        std::string bytes;
        const char* said;
        const char* count;  // the stored count afterwards; nullptr: the file as it was
        std::string line;   // a line it then holds
    } cases[] = {
        {"10 MB of garbage", garbage(10u << 20),
         "iCalendar形式のファイルではないため、読み込めませんでした。", nullptr, ""},
        {"a line of 1 MB and nothing else", std::string(1u << 20, 'A'),
         "iCalendar形式のファイルではないため、読み込めませんでした。", nullptr, ""},
        {"a summary of 1 MB", calendar(event(1, "20040610", std::string(1u << 20, 'x')) +
                                       event(2, "20040611", u8"会議")),
         "2 件の予定を読み込みました。\n\n追加した予定: 2 件\n登録済みの予定: 0 件\n"
         "変更して追加した予定: 0 件\n追加しなかった予定: 0 件",
         "schedulecount=5", "2004061000" + std::string(80, 'x')},
        {"10,000 events", ten_thousand_events(),
         "10000 件の予定を読み込みました。\n\n追加した予定: 497 件\n登録済みの予定: 0 件\n"
         "変更して追加した予定: 0 件\n追加しなかった予定: 9503 件\n"
         "    登録数が上限の500件に達したため: 9503 件",
         "schedulecount=500", "2000010100e0"},
    };
    for (const Case& c : cases) {
        const std::string dir = fresh_dir("ical_hostile");
        const std::string path = settings_file_of(dir);
        REQUIRE(write_file(path, settings_with(start)));
        REQUIRE(write_file(dir + "hostile.ics", c.bytes));
        App app;
        REQUIRE(app_start_seam(app, dir));
        PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
        const std::string said = answer_chooser(app, kImportCaption, dir + "hostile.ics");
        if (said != c.said) ctx.fail(__FILE__, __LINE__, std::string(c.name) + ": said " + said);
        std::string now;
        if (c.count) {
            now = settings_once_holding(dir, {c.count});
            CHECK(now.find(std::string(c.count) + "\r\n") != std::string::npos);
            CHECK(now.find("=" + c.line + "\r\n") != std::string::npos);
        } else {
            CHECK(read_file(path, &now) && now == settings_with(start));  // not even written
        }
        for (const Stored& e : start) CHECK(now.find("=" + e.value + "\r\n") != std::string::npos);
        CHECK_EQ(messages_said(dir).size(), size_t(1));
        CHECK_EQ(app_close(app), 0);
    }
}

namespace {

std::string alarm_event(int n, const std::string& start, const std::string& attach) {
    return "BEGIN:VEVENT\r\nUID:s" + std::to_string(n) + "\r\nDTSTAMP:20040101T000000Z\r\n" +
           "DTSTART:" + start + "\r\nSUMMARY:s" + std::to_string(n) + "\r\nBEGIN:VALARM\r\n" +
           "ACTION:AUDIO\r\nTRIGGER:-PT5M\r\nATTACH:" + attach + "\r\nEND:VALARM\r\nEND:VEVENT\r\n";
}

size_t count_of(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

}  // namespace

// A calendar whose alarms name sound files on a share: those alarms keep the system sound,
// the message counts them as changed, and the settings file never holds the share.
E2E_TEST(ical_import_of_sound_files_on_a_share) {
    const std::string dir = fresh_dir("ical_share");
    REQUIRE(write_file(dir + "share.ics",
                       calendar(alarm_event(1, "20300601T090000", "\\\\10.9.9.9\\share\\ring.wav") +
                                alarm_event(2, "20300602T090000", "file:////10.9.9.9/share/ring.wav") +
                                alarm_event(3, "20300603T090000", "\\\\?\\UNC\\10.9.9.9\\share\\ring.wav") +
                                alarm_event(4, "20300604T090000", "C:\\sounds\\chime.wav"))));
    App app;
    REQUIRE(app_start_seam(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    CHECK(answer_chooser(app, kImportCaption, dir + "share.ics") ==
          "4 件の予定を読み込みました。\n\n追加した予定: 4 件\n登録済みの予定: 0 件\n"
          "変更して追加した予定: 3 件\n"
          "    音のファイルがこのコンピューターのディスク上にないため、標準の音にした予定: 3 件\n"
          "追加しなかった予定: 0 件");
    const std::string saved = settings_once_holding(dir, {"schedulecount=4"});
    CHECK_EQ(count_of(saved, "=0900052\r\n"), size_t(3));
    CHECK(saved.find("alarm004=0900053C:\\sounds\\chime.wav\r\n") != std::string::npos);
    CHECK(saved.find("10.9.9.9") == std::string::npos);
    CHECK_EQ(app_close(app), 0);
}

namespace {

// first.ics with event h1 ("before", 10 June 2004) and second.ics with the same event as the
// other program changed it ("after", the next day at 9:30, a higher SEQUENCE).
bool write_event_and_its_change(const std::string& dir) {
    return write_file(dir + "first.ics", calendar(event(1, "20040610", "before"))) &&
           write_file(dir + "second.ics",
                      calendar("BEGIN:VEVENT\r\nUID:h1\r\nSEQUENCE:1\r\n"
                               "DTSTART:20040611T093000\r\nSUMMARY:after\r\nEND:VEVENT\r\n"));
}

}  // namespace

// A file read again after the other program changed an event: the entry under its UID is
// changed, not joined by a second one.
E2E_TEST(ical_import_of_an_updated_file_changes_the_entry) {
    const std::vector<Stored> start(kEveryKind.begin(), kEveryKind.begin() + 1);
    const std::string dir = fresh_dir("ical_update");
    REQUIRE(write_file(settings_file_of(dir), settings_with(start)));
    REQUIRE(write_event_and_its_change(dir));
    App app;
    REQUIRE(app_start_seam(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    CHECK(answer_chooser(app, kImportCaption, dir + "first.ics") ==
          "1 件の予定を読み込みました。\n\n追加した予定: 1 件\n登録済みの予定: 0 件\n"
          "変更して追加した予定: 0 件\n追加しなかった予定: 0 件");
    settings_once_holding(dir, {"schedulecount=2", "before"});
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    CHECK(answer_chooser(app, kImportCaption, dir + "second.ics") ==
          "1 件の予定を読み込みました。\n\n追加した予定: 0 件\n更新した予定: 1 件\n"
          "登録済みの予定: 0 件\n変更して追加した予定: 0 件\n追加しなかった予定: 0 件");
    const std::string now = settings_once_holding(dir, {"after"});
    CHECK(now.find("schedulecount=2\r\n") != std::string::npos);
    CHECK(now.find("before") == std::string::npos);
    CHECK(now.find("=" + start[0].value + "\r\n") != std::string::npos);
    CHECK_EQ(app_close(app), 0);
}

namespace {

size_t deleted_lines(const std::string& settings) {
    ProfileFile doc;
    doc.parse(settings.data(), settings.size());
    const std::vector<ProfileFile::Line>* lines = doc.lines("ScheduleDeleted");
    return lines ? lines->size() : 0;
}

}  // namespace

// An entry deleted in the schedule dialog stays away while the file still holds it as it was,
// and comes back once the file's copy changed.
E2E_TEST(ical_import_leaves_out_an_entry_deleted_here_until_the_file_changes_it) {
    const std::string dir = fresh_dir("ical_deleted");
    REQUIRE(write_file(settings_file_of(dir), settings_with({})));
    REQUIRE(write_event_and_its_change(dir));
    App app;
    REQUIRE(app_start_seam(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    answer_chooser(app, kImportCaption, dir + "first.ics");
    REQUIRE(settings_once_holding(dir, {"schedulecount=1"}).find("before") != std::string::npos);

    PostMessageA(app.hwnd, WM_COMMAND, CMD_SCHEDULE, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    HWND list = GetDlgItem(dlg, IDC_SCHED_LIST);
    send_sync(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    send_sync(list, WM_KEYDOWN, VK_HOME, 0);
    send_sync(list, WM_KEYUP, VK_HOME, 0xC0000001);
    PostMessageA(dlg, WM_COMMAND, IDC_SCHED_DELETE, 0);
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(is_gone, dlg));
    CHECK_EQ(deleted_lines(settings_once_holding(dir, {"schedulecount=0", "[ScheduleDeleted]"})), 1u);

    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    CHECK(answer_chooser(app, kImportCaption, dir + "first.ics") ==
          "1 件の予定を読み込みました。\n\n追加した予定: 0 件\n登録済みの予定: 0 件\n"
          "変更して追加した予定: 0 件\n追加しなかった予定: 1 件\n"
          "    削除した予定で、その後ファイルで変更されていないため: 1 件");
    PostMessageA(app.hwnd, WM_COMMAND, CMD_ICS_IMPORT, 0);
    CHECK(answer_chooser(app, kImportCaption, dir + "second.ics") ==
          "1 件の予定を読み込みました。\n\n追加した予定: 1 件\n登録済みの予定: 0 件\n"
          "変更して追加した予定: 0 件\n追加しなかった予定: 0 件");
    // Back, it is no longer remembered as deleted.
    CHECK_EQ(deleted_lines(settings_once_holding(dir, {"schedulecount=1", "after"})), 0u);
    CHECK_EQ(app_close(app), 0);
}

namespace {

// Reads a calendar file with python3-icalendar (a parser we did not write; the e2e driver
// starts the host's python, which Wine runs as a program of the host) and writes each
// event's summary, the zone its start names and its start in UTC, and for a yearly event its
// occurrence in 2030 too, one event a line in summary order.
const char kInstantsScript[] = R"(import sys, datetime
from icalendar import Calendar
from dateutil.rrule import rrulestr
utc = datetime.timezone.utc
cal = Calendar.from_ical(open(sys.argv[1], 'rb').read())
out = []
for ev in cal.walk('VEVENT'):
    start = ev.decoded('DTSTART')
    words = [str(ev.get('SUMMARY')), str(ev['DTSTART'].params.get('TZID', '-'))]
    if isinstance(start, datetime.datetime) and start.tzinfo is not None:
        times = [start]
        if 'RRULE' in ev:
            rule = rrulestr(ev['RRULE'].to_ical().decode(), dtstart=start)
            times.append(rule.after(datetime.datetime(2030, 1, 1, tzinfo=utc)))
        words += [t.astimezone(utc).strftime('%Y%m%dT%H%MZ') for t in times]
    else:
        words.append('floating')
    out.append(' '.join(words))
open(sys.argv[2], 'w').write('\n'.join(sorted(out)) + '\n')
)";

// "Z:\x\y" as the host's "/x/y"; empty for a path outside the host's root drive.
std::string host_path(const std::string& path) {
    if (path.size() < 3 || (path[0] != 'Z' && path[0] != 'z') || path[1] != ':') return "";
    std::string p = path.substr(2);
    for (char& c : p)
        if (c == '\\') c = '/';
    return p;
}

// Runs a program of the host (Wine starts it as a process of the host); false when it could
// not be started.
bool run_host(const char* program, std::string cmd, const std::string& dir) {
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(program, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                        &pi))
        return false;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

// Runs the script on the file; its lines, or "" when it gave none within a minute (a host
// process's handle tells nothing of its end: the result file is waited for).
std::string instants_in(const std::string& dir, const std::string& ics) {
    const std::string script = dir + "instants.py", result = dir + "instants.txt";
    if (!write_file(script, kInstantsScript)) return "";
    if (!run_host("/usr/bin/python3",
                  "python3 " + host_path(script) + " " + host_path(ics) + " " + host_path(result),
                  dir))
        return "";
    std::string out;
    for (int tries = 0; tries < 600; ++tries, Sleep(100))
        if (read_file(result, &out) && !out.empty() && out.back() == '\n') return out;
    return "";
}

// The seam program started in dir with the machine's zone set to tz: Wine takes the zone from
// the TZ of the host process a program starts in, which a Windows parent does not hand on, so
// the loader is started as a host program with it. The window is then found by its class
// (each runner has a display and a prefix of its own).
bool start_in_zone(App& app, const std::string& dir, const char* tz) {
    const size_t slash = g_exe_path.find_last_of("\\/");
    const std::string seam = g_exe_path.substr(0, slash + 1) + "ZelmarSeam.exe";
    app.dir = dir;
    if (!CopyFileA(seam.c_str(), (dir + "Zelmar.exe").c_str(), FALSE)) return false;
    if (!run_host("/usr/bin/env", std::string("env TZ=") + tz + " /usr/lib/wine/wine64 " +
                                      host_path(dir + "Zelmar.exe"),
                  dir))
        return false;
    const HWND w = find_window_of(0, "TarseZelmar32Class", 30000);
    if (!w) return false;
    GetWindowThreadProcessId(w, &app.pi.dwProcessId);
    app.pi.hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                  FALSE, app.pi.dwProcessId);
    return app.pi.hProcess && app_wait_window(app, 15000);
}

}  // namespace

// Exported through the menu on a machine set to New York time: the file names New York's
// zone, and another program reads the very instants the entries stand for there, in summer
// and winter time and in the years of a yearly rule.
E2E_TEST(ical_export_on_a_machine_in_new_york) {
    const std::string dir = fresh_dir("ical_new_york");
    REQUIRE(!host_path(dir).empty());
    REQUIRE(write_file(settings_file_of(dir), settings_with({
                                                  {"2024070101summer", "0900000", false},
                                                  {"2024011501winter", "0900000", false},
                                                  {"0000070401july", "0900000", false},
                                                  {"0000122501december", "1830000", false},
                                                  {"2024050500day", nullptr, false},
                                              })));
    App app;
    REQUIRE(start_in_zone(app, dir, "America/New_York"));
    REQUIRE(choose_settings_item(app, 'e'));
    CHECK(answer_chooser(app, kExportCaption, dir + "ny.ics") == "5 件の予定を書き出しました。");
    CHECK_EQ(app_close(app), 0);
    const std::string said = instants_in(dir, dir + "ny.ics");
    const std::string want("day - floating\n"
                               "december America/New_York 19801225T2330Z 20301225T2330Z\n"
                               "july America/New_York 19800704T1300Z 20300704T1300Z\n"
                               "summer America/New_York 20240701T1300Z\n"
                               "winter America/New_York 20240115T1400Z\n");
    if (said != want) ctx.fail(__FILE__, __LINE__, "read back by python3-icalendar:\n" + said);
}
