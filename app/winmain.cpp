// Program entry.
#include "app/app.h"

int WINAPI WinMain(HINSTANCE inst, HINSTANCE, LPSTR, int show) { return app_run(inst, show); }
