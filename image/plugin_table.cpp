#include "image/plugin_table.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "config/cp932.h"
#include "config/paths.h"
#include "resources/texts.h"

PluginTable plugin_table;

namespace {

void upper_ascii(char* s) {
    for (char* p = s; *p; p = cp932_next(p))
        if (*p >= 'a' && *p <= 'z') *p = static_cast<char>(*p - 'a' + 'A');
}

// Room a plug-in may overrun its length into without harm; its text is cut at the length.
constexpr size_t kAskBuffer = 256;

// Calls info with a zero-filled buffer; the text in it is terminated at length.
int ask(const PluginInfoCall& info, int number, char* buffer, int length) {
    std::memset(buffer, 0, kAskBuffer);
    const int r = info(number, buffer, length);
    buffer[length] = '\0';
    return r;
}

}  // namespace

void store_plugin_pattern(char out[kPatternSize], const char* pattern) {
    cp932_copy(out, kPatternLength + 1, pattern);
    upper_ascii(out);
    std::strcat(out, ";");
}

bool read_plugin_formats(const PluginInfoCall& info, PluginEntry* entry) {
    char buf[kAskBuffer];
    entry->pattern_count = 0;
    if (ask(info, 0, buf, kPluginInfoLength) == 0 || std::strcmp(buf, "00IN") != 0) return false;
    if (ask(info, 1, buf, kPluginInfoLength) == 0) return false;
    for (int k = 0; k < kMaxPluginFormats; ++k) {
        if (ask(info, 2 * k + 2, buf, kPatternLength) == 0) break;
        store_plugin_pattern(entry->patterns[k], buf);
        if (ask(info, 2 * k + 3, buf, kDescriptionLength) == 0) break;
        entry->pattern_count = k + 1;
    }
    return entry->pattern_count > 0;
}

bool plugin_handles_extension(const PluginTable& table, const char* path) {
    char ext[8];
    path_split(path, nullptr, 0, nullptr, 0, ext, sizeof ext);
    char probe[16];
    std::snprintf(probe, sizeof probe, "*%s;", ext);
    upper_ascii(probe);
    const int count = table.count < kMaxPlugins ? table.count : kMaxPlugins;
    for (int i = 0; i < count; ++i) {
        const PluginEntry& e = table.entries[i];
        for (int k = 0; k < e.pattern_count && k < kMaxPluginFormats; ++k)
            if (cp932_strstr(e.patterns[k], probe)) return true;
    }
    return false;
}

void build_image_filter(const PluginTable& table, char* buffer, size_t size) {
    constexpr size_t kTailLength = sizeof kImageFilterTail - 1;
    if (size == 0) return;
    std::string text = kImageFilterHead;
    const size_t room = size - 1 > kTailLength ? size - 1 - kTailLength : 0;
    bool full = false;
    const int count = table.count < kMaxPlugins ? table.count : kMaxPlugins;
    for (int i = 0; i < count && !full; ++i) {
        const PluginEntry& e = table.entries[i];
        for (int k = 0; k < e.pattern_count && k < kMaxPluginFormats; ++k) {
            std::string piece = std::string(";") + e.patterns[k];
            if (!piece.empty() && piece.back() == ';') piece.pop_back();
            if (text.size() + piece.size() > room) {
                full = true;
                break;
            }
            text += piece;
        }
    }
    text += kImageFilterTail;
    cp932_copy(buffer, size, text.c_str());
}
