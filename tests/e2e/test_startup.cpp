// The program starts as one copy, shows its window of the registered class and exits cleanly.
#include "tests/e2e/harness.h"

E2E_TEST(window_has_class_and_title) {
    App app;
    REQUIRE(app_start(app, fresh_dir("window_has_class_and_title")));
    char cls[64] = "";
    GetClassNameA(app.hwnd, cls, sizeof cls);
    CHECK(std::string(cls) == "TarseZelmar32Class");
    CHECK(IsWindowVisible(app.hwnd));
    RECT r;
    GetWindowRect(app.hwnd, &r);
    CHECK(r.right - r.left > 0 && r.bottom - r.top > 0);
    Image img;
    CHECK(capture_window(app.hwnd, &img));
    save_png(img, g_work_dir + "window.png");
    CHECK_EQ(app_close(app), 0);
}

E2E_TEST(second_copy_exits_with_1) {
    App app;
    REQUIRE(app_start(app, fresh_dir("second_copy_exits_with_1")));
    CHECK_EQ(app_start_second(app), 1);
    CHECK(IsWindow(app.hwnd));  // the first copy keeps running
    CHECK_EQ(app_close(app), 0);
}
