// Program entry.
#include "app/app_win.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) { return app_run(inst, show); }
