// Program entry: one copy per desktop, then the main window and its message loop.
#include "app/app.h"

namespace {

// A second start hands over to the running copy and ends.
bool hand_over_to_running_copy() {
    HWND other = FindWindowA(kMainClassName, nullptr);
    if (!other) return false;
    SendMessageA(other, WM_COMMAND, 202, 0);
    return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) {
    if (hand_over_to_running_copy()) return 1;
    if (!main_window_register(inst)) return 2;
    if (!main_window_create(inst, show)) return 2;
    return message_loop();
}
