// The household's and the office's entries typed into the real program's dialogs as a user
// would (fields, the repeat dialog, the alarm lists): every Monday and Thursday, the 2nd and
// 4th Wednesday, every other Tuesday, the 25th, the last Friday, a medicine for two weeks,
// a summer holiday of five days, a meeting of an hour and a half, a birthday reminded the
// day before. They reach the settings file in their stored forms and mark their days; a
// day left out through the day contents (この日だけ削除) is no longer marked.
#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "schedule/entry.h"
#include "tests/e2e/checks.h"
#include "tests/e2e/harness.h"

namespace {

void type_text(HWND dlg, int id, const char* text) {
    HWND edit = GetDlgItem(dlg, id);
    send_sync(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    for (const char* p = text; *p; ++p) send_sync(edit, WM_CHAR, static_cast<unsigned char>(*p), 1);
}

void click(HWND dlg, int id) { send_sync(GetDlgItem(dlg, id), BM_CLICK, 0, 0); }

// A check box ticked or not, clicked only when it differs.
void tick(HWND dlg, int id, bool on) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(GetDlgItem(dlg, id), BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state);
    if ((state == BST_CHECKED) != on) click(dlg, id);
}

void choose(HWND dlg, int id, int item) {
    HWND combo = GetDlgItem(dlg, id);
    send_sync(combo, CB_SETCURSEL, item, 0);
    send_sync(dlg, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}


// One entry as the user enters it: the fields, then, when given, the repeat dialog. The
// fields start as the entry added before left them (it stays selected), its rule too, as the
// words beside the repeat button show: each entry sets what it needs.
struct Typed {
    const char *year, *month, *day, *hour, *minute, *memo;
    std::function<void(HWND)> more;    // further fields of the schedule dialog
    std::function<void(HWND)> repeat;  // the repeat dialog's choices, or none
};

// Opens the repeat dialog over the schedule dialog, makes the choices and closes it with OK.
bool set_repeat(HWND dlg, const std::function<void(HWND)>& choices) {
    PostMessageA(dlg, WM_COMMAND, IDC_SCHED_REPEAT, 0);
    HWND rep = find_owned_dialog(dlg, 5000);
    if (!rep || window_text(rep) != "Tavelspore - 繰り返し") return false;
    choices(rep);
    PostMessageA(rep, WM_COMMAND, IDOK, 0);
    return wait_until(is_gone, rep);
}

bool add_typed(HWND dlg, const Typed& t) {
    send_sync(GetDlgItem(dlg, IDC_SCHED_MEMO), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(t.memo));
    type_text(dlg, IDC_SCHED_YEAR, t.year);
    type_text(dlg, IDC_SCHED_MONTH, t.month);
    type_text(dlg, IDC_SCHED_DAY, t.day);
    type_text(dlg, IDC_SCHED_HOUR, t.hour);
    type_text(dlg, IDC_SCHED_MINUTE, t.minute);
    for (int id : {IDC_SCHED_END_MONTH, IDC_SCHED_END_DAY, IDC_SCHED_END_HOUR, IDC_SCHED_END_MINUTE})
        type_text(dlg, id, "");
    if (t.more) t.more(dlg);
    if (t.repeat && !set_repeat(dlg, t.repeat)) return false;
    if (!IsWindowEnabled(GetDlgItem(dlg, IDC_SCHED_ADD))) return false;
    click(dlg, IDC_SCHED_ADD);
    return true;
}

const std::vector<Typed>& household_typed() {
    static const std::vector<Typed> entries = {
        {"2030", "6", "3", "", "", "燃えるゴミ", nullptr,
         [](HWND r) {
             click(r, IDC_REP_WEEKLY);              // Monday, the date's weekday, is ticked
             click(r, IDC_REP_WEEKDAY0 + 4);        // and Thursday
         }},
        {"2030", "6", "12", "", "", "資源ゴミ", nullptr,
         [](HWND r) {
             click(r, IDC_REP_MONTHLY);
             click(r, IDC_REP_BY_WEEKDAY);          // the 2nd, from the date
             click(r, IDC_REP_NTH0 + 3);            // and the 4th
             for (int w = 0; w < 7; ++w) tick(r, IDC_REP_WEEKDAY0 + w, w == 3);  // Wednesday
         }},
        {"2030", "6", "4", "10", "0", "チーム会議", nullptr,
         [](HWND r) {
             click(r, IDC_REP_WEEKLY);
             type_text(r, IDC_REP_INTERVAL, "2");
             for (int w = 0; w < 7; ++w) tick(r, IDC_REP_WEEKDAY0 + w, w == 2);  // Tuesday
         }},
        {"2030", "6", "25", "", "", "給料日", nullptr,
         [](HWND r) {
             click(r, IDC_REP_MONTHLY);
             click(r, IDC_REP_BY_DATE);
             type_text(r, IDC_REP_MONTH_DAYS, "25");
             type_text(r, IDC_REP_INTERVAL, "1");   // 2 from the meeting before
         }},
        {"2030", "6", "28", "", "", "月末の報告", nullptr,
         [](HWND r) {
             click(r, IDC_REP_MONTHLY);
             click(r, IDC_REP_BY_WEEKDAY);          // the 2nd and 4th of the rule before
             for (int k = 0; k < kNthSlots; ++k) tick(r, IDC_REP_NTH0 + k, k == kNthLast);
             for (int w = 0; w < 7; ++w) tick(r, IDC_REP_WEEKDAY0 + w, w == 5);
         }},
        {"2030", "6", "1", "", "", "薬", nullptr,
         [](HWND r) {
             click(r, IDC_REP_DAILY);
             click(r, IDC_REP_END_COUNT);
             type_text(r, IDC_REP_COUNT, "14");
         }},
        {"2030", "8", "10", "", "", "夏季休暇",
         [](HWND d) {
             type_text(d, IDC_SCHED_END_MONTH, "8");
             type_text(d, IDC_SCHED_END_DAY, "14");
         },
         [](HWND r) { click(r, IDC_REP_NONE); }},
        {"2030", "6", "20", "14", "00", "会議",
         [](HWND d) {
             type_text(d, IDC_SCHED_END_HOUR, "15");
             type_text(d, IDC_SCHED_END_MINUTE, "30");
             tick(d, IDC_SCHED_ALARM, true);
             type_text(d, IDC_SCHED_BEFORE, "1");
             choose(d, IDC_SCHED_LEAD_UNIT, 1);     // an hour before
         },
         [](HWND r) { click(r, IDC_REP_NONE); }},
        // Every year: the rule of the entry before does not apply without a year.
        {"", "7", "7", "", "", "誕生日",
         [](HWND d) {
             tick(d, IDC_SCHED_ALARM, true);        // no time: a day alarm
             choose(d, IDC_SCHED_DAY_ALARM, 1);     // the day before
             type_text(d, IDC_SCHED_DAY_HOUR, "9");
             type_text(d, IDC_SCHED_DAY_MINUTE, "00");
         },
         nullptr},
    };
    return entries;
}

// A fixed window without a clock and without the national holidays, so that only the
// entries mark days.
std::string plain_settings() {
    return "[Config]\r\nclock=0\r\nNationalHolidays=0\r\n"
           "[DispSet1]\r\nreso=1024x768\r\nx1=100\r\ny1=80\r\nx2=440\r\ny2=420\r\n";
}

// The days of the month shot that carry the mark, as a string "1,2,4,...".
std::string marked_days(const MonthCapture& s, int days) {
    std::string out;
    for (int d = 1; d <= days; ++d)
        if (marked_box_pixels(s, d) > 0) out += (out.empty() ? "" : ",") + std::to_string(d);
    return out;
}

bool has_whole_line(const std::string& file, const std::string& line) {
    return file.find("\r\n" + line + "\r\n") != std::string::npos;
}

// The days the day contents of a day hands to the schedule dialog: the first entry of the
// list selected by the keyboard, then the schedule button.
HWND schedule_dialog_with_first_entry(const App& app, int year, int month, int day) {
    MonthGrid grid;
    if (!lay_out_month(app, year, month, 0, &grid)) return nullptr;
    const CellRect& cell = grid.cells.day_cells[day - 1];
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2);
    PostMessageA(app.hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(app.hwnd, WM_LBUTTONUP, 0, at);
    HWND contents = find_owned_dialog(app.hwnd, 5000);
    if (!contents || window_text(contents) != "Tavelspore - スケジュール内容") return nullptr;
    HWND list = GetDlgItem(contents, IDC_DAY_LIST);
    send_sync(contents, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
    send_sync(list, WM_KEYDOWN, VK_HOME, 0);
    send_sync(list, WM_KEYUP, VK_HOME, 0xC0000001);
    PostMessageA(contents, WM_COMMAND, IDC_DAY_SCHEDULE, 0);
    if (!wait_until(is_gone, contents)) return nullptr;
    return find_owned_dialog(app.hwnd, 5000);
}

}  // namespace

E2E_TEST(the_households_entries_typed_into_the_dialogs) {
    App app;
    const std::string dir = fresh_dir("repeats_typed");
    REQUIRE(write_file(settings_file_of(dir), plain_settings()));
    REQUIRE(app_start_seam(app, dir));
    PostMessageA(app.hwnd, WM_COMMAND, CMD_SCHEDULE, 0);
    HWND dlg = find_owned_dialog(app.hwnd, 5000);
    REQUIRE(dlg != nullptr);
    for (const Typed& t : household_typed()) CHECK(add_typed(dlg, t));
    keep_screenshot(dlg, "schedule_repeats.png");
    CHECK(messages_said(dir).empty());  // nothing refused
    PostMessageA(dlg, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(is_gone, dlg));

    // Stored: the slots as before, the rest in forms of their own.
    const std::string file = settings_once_holding(dir, {"schedulecount=9"});
    CHECK(has_whole_line(file, "schedulecount=9"));
    for (const char* rule :
         {"FREQ=WEEKLY;BYDAY=MO,TH", "FREQ=MONTHLY;BYDAY=2WE,4WE", "FREQ=WEEKLY;INTERVAL=2;BYDAY=TU",
          "FREQ=MONTHLY;BYMONTHDAY=25", "FREQ=MONTHLY;BYDAY=-1FR", "FREQ=DAILY;COUNT=14"})
        CHECK(file.find(std::string(".rrule=") + rule + "\r\n") != std::string::npos);
    CHECK(file.find(".end=20300814\r\n") != std::string::npos);
    CHECK(file.find(".end=20300620T1530\r\n") != std::string::npos);
    CHECK(file.find(".trigger=-PT1H\r\n") != std::string::npos);
    CHECK(file.find(".daytrigger=-PT15H\r\n") != std::string::npos);

    // The marks of July 2030: Mondays and Thursdays, the 10th and 24th, every other Tuesday
    // from 4 June, the 25th, the last Friday, the birthday; the medicine has ended.
    MonthCapture july;
    REQUIRE(capture_month(app, 2030, 7, &july));
    save_png(july.img, g_work_dir + "repeats_july.png");
    CHECK(marked_days(july, 31) == "1,2,4,7,8,10,11,15,16,18,22,24,25,26,29,30");
    MonthCapture june;
    REQUIRE(capture_month(app, 2030, 6, &june));
    CHECK(marked_days(june, 30) ==
          "1,2,3,4,5,6,7,8,9,10,11,12,13,14,17,18,20,24,25,26,27,28");
    MonthCapture august;
    REQUIRE(capture_month(app, 2030, 8, &august));
    save_png(august.img, g_work_dir + "repeats_august.png");
    CHECK(marked_days(august, 31) == "1,5,8,10,11,12,13,14,15,19,22,25,26,27,28,29,30");

    // この日だけ削除: Thursday 11 July from its day contents.
    REQUIRE(show_month(app, 2030, 7));
    HWND sched = schedule_dialog_with_first_entry(app, 2030, 7, 11);
    REQUIRE(sched != nullptr);
    CHECK(window_text(GetDlgItem(sched, IDC_SCHED_MEMO)) == "燃えるゴミ");
    CHECK(window_text(GetDlgItem(sched, IDC_SCHED_REPEAT_TEXT)) == "毎週 月・木");
    PostMessageA(sched, WM_COMMAND, IDC_SCHED_DELETE, 0);
    HWND question = find_owned_dialog(sched, 5000);
    REQUIRE(question != nullptr);
    CHECK(window_text(GetDlgItem(question, IDC_OCC_TEXT)) ==
          "繰り返しの予定です。\nこの日だけ削除しますか、すべて削除しますか？");
    keep_screenshot(question, "occurrence_question.png");
    PostMessageA(question, WM_COMMAND, IDC_OCC_THIS_DAY, 0);
    REQUIRE(wait_until(is_gone, question));
    PostMessageA(sched, WM_COMMAND, IDOK, 0);
    REQUIRE(wait_until(is_gone, sched));
    CHECK(file_holds(settings_file_of(dir), ".exdate=20300711\r\n"));
    REQUIRE(capture_month(app, 2030, 7, &july));
    CHECK(marked_days(july, 31) == "1,2,4,7,8,10,15,16,18,22,24,25,26,29,30");
    CHECK_EQ(app_close(app), 0);
}
