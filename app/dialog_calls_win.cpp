#include "app/dialog_calls_win.h"

int day_contents_dialog(HWND) { return 0; }

int schedule_dialog(HWND, int, int, int) { return 0; }

void alarm_notify(HWND, int) {}

void scan_image_plugins(const char*) {}
