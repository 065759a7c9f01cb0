// The three entry points of an image plug-in (a DLL named *.SPI), as the program calls them
// and as a plug-in exports them: standard calling convention, plain names.
#pragma once

#include <windows.h>

// Info number, buffer, buffer length -> length of the text written; 0 when the number is
// not supported. 0: the plug-in's kind ("00IN" for an image reader); 1: its description;
// 2k + 2: the file pattern of format k; 2k + 3: that format's description.
using GetPluginInfoFn = int(WINAPI*)(int number, LPSTR buffer, int length);

// Path and the first bytes of the file (2 KiB at least) -> non-zero when the plug-in reads it.
using IsSupportedFn = int(WINAPI*)(LPCSTR path, void* head);

using PluginProgressFn = int(WINAPI*)(int done, int total, LONG_PTR data);

// Path, offset of the picture in the file, flag 0 (input is a file), the addresses of two
// local-memory handles (a BITMAPINFO and the pixel rows, both LocalAlloc'd movable and
// freed by the caller), an optional progress callback and its data -> 0 on success.
using GetPictureFn = int(WINAPI*)(LPCSTR path, LONG_PTR offset, unsigned int flag, HLOCAL* info,
                                  HLOCAL* pixels, PluginProgressFn progress, LONG_PTR data);
