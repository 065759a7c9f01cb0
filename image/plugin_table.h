// The table of image plug-ins found at start-up, what each one says it reads, and the texts
// made from it: whether a path's extension is listed and the image chooser's filter.
// Loading the DLLs is the Win32 host's; everything it decides from their answers is here.
#pragma once

#include <cstddef>
#include <functional>

constexpr int kMaxPlugins = 64;
constexpr int kMaxPluginFormats = 10;
// A plug-in's pattern text (at most 20 bytes), the ";" added to it and the terminator.
constexpr size_t kPatternSize = 24;
// Buffer lengths handed to the plug-in's info call.
constexpr int kPluginInfoLength = 100;
constexpr int kPatternLength = 20;
constexpr int kDescriptionLength = 60;
constexpr size_t kImageFilterSize = 1024;

struct PluginEntry {
    void* module;
    int pattern_count;
    char patterns[kMaxPluginFormats][kPatternSize];  // upper case, ";" appended: "*.JPG;*.JPEG;"
};

struct PluginTable {
    PluginEntry entries[kMaxPlugins];
    int count;
};

// The program's one table, filled once at start-up.
extern PluginTable plugin_table;

// A plug-in's info call: (info number, buffer, buffer length) -> length written, 0 when the
// number is not supported. The buffer is zero-filled and larger than the length, so a text
// without terminator (or a few bytes too many) is cut at the length.
using PluginInfoCall = std::function<int(int number, char* buffer, int length)>;

// Asks a plug-in who it is and what it reads: "00IN" for number 0, a description for 1,
// then up to ten pairs of pattern and format description. Fills entry (module left as it
// is) and returns whether the plug-in is to be kept: an "00IN" plug-in with a description
// and at least one format.
bool read_plugin_formats(const PluginInfoCall& info, PluginEntry* entry);

// A pattern as stored: ASCII letters in upper case (never a trail byte), cut to 20 bytes on
// a character boundary, ";" appended.
void store_plugin_pattern(char out[kPatternSize], const char* pattern);

// "*" + the path's extension (path_split: a dot and at most four bytes) + ";", upper-cased,
// occurs in a stored pattern of any registered plug-in.
bool plugin_handles_extension(const PluginTable& table, const char* path);

// "画像ファイル|*.bmp;*.rle" with ";" and every stored pattern (its last ";" dropped), then
// "|全てのファイル|*.*||". Patterns that would not fit the buffer with the closing part are
// left out from the first one that does not fit.
void build_image_filter(const PluginTable& table, char* buffer, size_t size);
