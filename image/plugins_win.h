// Image plug-ins: the *.SPI libraries of the program directory that read image formats
// beyond the Windows bitmap. Found once at start-up and kept for the program's life.
#pragma once

// Looks for plug-ins in program_dir (with or without its trailing separator), registers
// those that answer as image plug-ins and returns how many. The host is not built yet: it
// registers none.
int load_image_plugins(const char* program_dir);
