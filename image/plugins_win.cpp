#include "image/plugins_win.h"

int load_image_plugins(const char*) { return 0; }
