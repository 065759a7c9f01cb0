// The image plug-in's answers to GetPluginInfo: who it is and the formats it reads.
#pragma once

// Info number 0: "00IN" (an image reader); 1: its description; 2k + 2 and 2k + 3: the file
// pattern and the description of format k (PNG, JPEG, GIF, TIFF). Writes at most length - 1
// bytes and a terminator into buffer, cut on a character boundary, and returns the number
// of bytes written before the terminator; 0 for any other number, no buffer or no room.
int zimage_plugin_info(int number, char* buffer, int length);
