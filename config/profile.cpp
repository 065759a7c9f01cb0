#include "config/profile.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "config/content_hash.h"
#include "config/fileio.h"
#include "config/profile_changes.h"
#include "config/profile_file.h"
#include "config/scramble.h"

namespace {

std::string g_path;
FileIO* g_io = nullptr;
ProfileFile g_doc;
// What the file held when last read or written (its size and a hash of its bytes; none
// while no file was read or written), and the changes made since. An edit that keeps the
// size and puts the time back is still a change of what the file holds.
struct Content {
    bool known = false;
    uint64_t size = 0;
    uint64_t hash = 0;
    bool operator==(const Content& o) const {
        return known == o.known && size == o.size && hash == o.hash;
    }
};
Content g_content;
ProfileChanges g_changes;

Content content_of(const std::string& bytes) {
    return Content{true, bytes.size(), fnv1a_64(bytes.data(), bytes.size())};
}

bool is_todo_width(const char* key) {
    return profile_fold_name(key, std::strlen(key)) == "todowidth";
}

// Only what changes the document is remembered: a save writes every key of
// its kind, and a key another program changed meanwhile keeps that change
// unless this program changed the key too.
void set_value(const char* section, const char* key, const char* value) {
    if (g_doc.set(section, key, value)) g_changes.set(section, key, value);
}

// A value read that starts with "$" is the scrambled form.
void unscramble_in_place(char* buf, size_t size) {
    if (buf[0] == '$') memo_unscramble_to(buf + 1, buf, size);
}

std::vector<char> scrambled(const char* text) {
    const size_t n = std::strlen(text);
    std::vector<char> buf(memo_scrambled_length(n) + 1);
    std::memcpy(buf.data(), text, n + 1);
    memo_scramble(buf.data(), buf.size());
    return buf;
}

}  // namespace

bool profile_open(const char* path, FileIO* io) {
    g_path = path;
    g_io = io != nullptr ? io : fileio_stdio();
    g_changes.clear();
    std::string bytes;
    const bool read = g_io->read_all(path, &bytes);
    g_doc.parse(bytes.data(), read ? bytes.size() : 0);
    g_content = read ? content_of(bytes) : Content{};
    return read;
}

const char* profile_path() { return g_path.c_str(); }

FileIO* profile_fileio() { return g_io != nullptr ? g_io : fileio_stdio(); }

bool profile_refresh() {
    if (g_path.empty()) return false;
    std::string bytes;
    if (!profile_fileio()->read_all(g_path.c_str(), &bytes)) return false;
    const Content now = content_of(bytes);
    if (now == g_content) return false;
    ProfileFile fresh;
    fresh.parse(bytes.data(), bytes.size());
    g_changes.apply(&fresh);
    g_doc = std::move(fresh);
    g_content = now;
    return true;
}

bool profile_flush() { return profile_flush_edited(nullptr); }

bool profile_flush_edited(const std::function<void(ProfileFile*)>& edit) {
    if (g_path.empty()) return false;
    profile_refresh();
    ProfileFile edited;
    if (edit) {
        edited = g_doc;
        edit(&edited);
    }
    const ProfileFile& doc = edit ? edited : g_doc;
    const std::string bytes = doc.serialize();
    if (!profile_fileio()->write_atomic(g_path.c_str(), bytes.data(), bytes.size())) return false;
    if (edit) g_doc = std::move(edited);
    g_content = content_of(bytes);
    g_changes.clear();
    return true;
}

const ProfileFile& profile_document() { return g_doc; }

int profile_read_int(const char* section, const char* key, int def) {
    const uint32_t v = g_doc.get_int(section, key, def);
    if (is_todo_width(key)) return static_cast<int32_t>(v);
    return static_cast<int16_t>(static_cast<uint16_t>(v));
}

void profile_write_int(const char* section, const char* key, int value) {
    char text[16];
    if (is_todo_width(key))
        std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    else
        std::snprintf(text, sizeof text, "%d", static_cast<int16_t>(static_cast<uint16_t>(value)));
    set_value(section, key, text);
}

void profile_read_string(const char* section, const char* key, const char* def, char* buf,
                         size_t size) {
    if (size == 0) return;
    const bool probe = std::strcmp(def, " ") == 0;
    g_doc.get_string(section, key, probe ? "no data" : def, buf, size);
    if (probe && std::strcmp(buf, "no data") == 0) std::snprintf(buf, size, " ");
    unscramble_in_place(buf, size);
}

void profile_stored_text(const std::string& stored, char* buf, size_t size) {
    if (size == 0) return;
    ProfileFile::value_text(stored.data(), stored.size(), buf, size);
    unscramble_in_place(buf, size);
}

void profile_write_string(const char* section, const char* key, const char* text, int scramble) {
    if (!scramble) {
        set_value(section, key, text);
        return;
    }
    set_value(section, key, scrambled(text).data());
}

std::string profile_stored_form(const char* text, int scramble) {
    return ProfileFile::stored_value(scramble ? scrambled(text).data() : text);
}

void profile_replace_section(const char* section, const char* lines) {
    g_doc.replace_section(section, lines);
    g_changes.replace_section(section, lines);
}
