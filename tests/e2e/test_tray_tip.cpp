// The tray tip as the notification area receives it. The test stands in for the taskbar: a
// window of the taskbar's class, on a thread of its own, to which the shell's icon calls come
// as WM_COPYDATA; the tip is looked for, as UTF-16 text, in the last change that arrived.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "app/main_layout.h"
#include "resources/resource.h"
#include "tests/e2e/fake_taskbar.h"
#include "tests/e2e/harness.h"


// Today's tip names today's national holiday while the holidays are shown, and drops the
// name at once when they are switched off; 和暦で表示 writes the year as the era year at once.
// The suite runs this test a second time with the clock on 3 May 2019 (憲法記念日, the third
// day of 令和元年).
E2E_TEST(tray_tip_names_todays_national_holiday) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char on[64], off[64], era[64];
    format_tray_tip(on, sizeof on, now.wYear, now.wMonth, now.wDay, 1, 0);
    format_date_tip(off, sizeof off, now.wYear, now.wMonth, now.wDay, 0);
    format_tray_tip(era, sizeof era, now.wYear, now.wMonth, now.wDay, 1, 1);
    if (now.wYear == 2019 && now.wMonth == 5 && now.wDay == 3) {
        CHECK(std::string(on) == "2019年5月3日(金) 憲法記念日");
        CHECK(std::string(era) == "令和元年5月3日(金) 憲法記念日");
    }
    std::printf("  today's tip: %s, with the era year: %s\n", on, era);
    FakeTaskbar taskbar;
    REQUIRE(taskbar.up());
    App app;
    REQUIRE(app_start(app, fresh_dir("tray_tip")));
    CHECK(taskbar.wait_for_tip(on));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(taskbar.wait_for_tip(off));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_NATIONAL_HOLIDAYS, 0));
    CHECK(taskbar.wait_for_tip(on));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
    CHECK(taskbar.wait_for_tip(era));
    REQUIRE(send_sync(app.hwnd, WM_COMMAND, CMD_WAREKI, 0));
    CHECK(taskbar.wait_for_tip(on));
    CHECK_EQ(app_close(app), 0);
}
