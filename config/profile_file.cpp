#include "config/profile_file.h"

#include <cstring>

#include "config/cp932.h"

bool profile_is_blank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == 0x1A;
}

namespace {

// Length of the character at data[i] within [0, end): a lead byte takes the
// next byte with it unless that is the end or a NUL.
size_t char_len(const char* data, size_t i, size_t end) {
    if (cp932_is_lead(static_cast<unsigned char>(data[i])) && i + 1 < end && data[i + 1] != '\0')
        return 2;
    return 1;
}

void trim(const char* data, size_t* b, size_t* e) {
    while (*b < *e && profile_is_blank(static_cast<unsigned char>(data[*b]))) ++*b;
    while (*e > *b && profile_is_blank(static_cast<unsigned char>(data[*e - 1]))) --*e;
}

// Position of the first single-byte c in [b, e), or e.
size_t find_char(const char* data, size_t b, size_t e, char c) {
    for (size_t i = b; i < e; i += char_len(data, i, e))
        if (data[i] == c) return i;
    return e;
}

// A value (or name) as stored: stops at NUL, trimmed, without a lone lead
// byte at its end. Dropping that byte can bare blanks before it, and trimming
// them can leave the character before them a lone lead byte in turn, so both
// repeat until neither is left: a stored value cleans to itself.
std::string clean_value(const char* data, size_t b, size_t e) {
    const void* nul = std::memchr(data + b, '\0', e - b);
    if (nul != nullptr) e = static_cast<size_t>(static_cast<const char*>(nul) - data);
    trim(data, &b, &e);
    size_t last = e;
    for (size_t i = b; i < e; i += char_len(data, i, e)) last = i;
    if (last + 1 != e || !cp932_is_lead(static_cast<unsigned char>(data[last])))
        return std::string(data + b, e - b);
    // Where the characters start does not depend on where the text ends (but
    // for the last one), so one walk serves every round.
    std::vector<size_t> starts;
    for (size_t i = b; i < e; i += char_len(data, i, e)) starts.push_back(i);
    for (;;) {
        while (!starts.empty() && starts.back() >= e) starts.pop_back();
        if (starts.empty()) break;
        const size_t s = starts.back();
        if (s + 1 != e || !cp932_is_lead(static_cast<unsigned char>(data[s]))) break;
        e = s;
        while (e > b && profile_is_blank(static_cast<unsigned char>(data[e - 1]))) --e;
    }
    return std::string(data + b, e - b);
}

// Names are stored like values, so that a name cut at a NUL cannot end in
// half a character that would swallow the "]" or "=" after it when written.
std::string clean_name(const char* data, size_t b, size_t e) { return clean_value(data, b, e); }

}  // namespace

std::string ProfileFile::stored_value(const char* value) {
    size_t n = 0;
    while (value[n] != '\0' && value[n] != '\r' && value[n] != '\n') ++n;
    return clean_value(value, 0, n);
}

std::string profile_match_name(const char* name) {
    const std::string clean = clean_name(name, 0, std::strlen(name));
    return profile_fold_name(clean.data(), clean.size());
}

bool profile_lines_add_any(const char* lines) {
    for (const char* line = lines; *line != '\0'; line += std::strlen(line) + 1) {
        const size_t n = std::strlen(line);
        if (find_char(line, 0, n, '=') != n) return true;
    }
    return false;
}

std::string profile_fold_name(const char* name, size_t n) {
    size_t b = 0, e = n;
    trim(name, &b, &e);
    std::string out;
    out.reserve(e - b);
    for (size_t i = b; i < e;) {
        const size_t len = char_len(name, i, e);
        if (len == 2) {
            out.append(name + i, 2);
        } else {
            char c = name[i];
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
            out.push_back(c);
        }
        i += len;
    }
    return out;
}

void ProfileFile::clear() {
    sections_.clear();
    sections_.emplace_back();  // lines before the first header
}

void ProfileFile::parse(const char* data, size_t n) {
    clear();
    Section* cur = &sections_[0];
    size_t pos = 0;
    while (pos < n) {
        size_t b = pos;
        while (pos < n && data[pos] != '\r' && data[pos] != '\n') ++pos;
        size_t e = pos;
        if (pos < n) ++pos;
        trim(data, &b, &e);
        if (b == e) continue;

        if (data[b] == '[') {
            size_t close = e;
            for (size_t i = b + 1; i < e; i += char_len(data, i, e))
                if (data[i] == ']') close = i;
            if (close != e) {
                sections_.emplace_back();
                cur = &sections_.back();
                cur->name = clean_name(data, b + 1, close);
                cur->folded = profile_fold_name(cur->name.data(), cur->name.size());
                continue;
            }
        }

        const size_t eq = find_char(data, b, e, '=');
        const std::string name = clean_name(data, b, eq);
        // Only NUL bytes before any "=": nothing that could be looked up, and
        // it would be written back as a blank line.
        if (name.empty() && eq == e) continue;
        // Like the platform, a run of lines with empty names keeps only its
        // first one.
        if (name.empty() && !cur->keys.empty() && cur->keys.back().name.empty()) continue;
        if (eq == e)
            add_key(cur, name, std::string(), false);
        else
            add_key(cur, name, clean_value(data, eq + 1, e), true);
    }
}

std::string ProfileFile::serialize() const {
    std::string out;
    size_t total = 0;
    for (const Section& s : sections_) {
        total += s.name.size() + 4;
        for (const Key& k : s.keys) total += k.name.size() + k.value.size() + 3;
    }
    out.reserve(total);
    for (const Section& s : sections_) {
        // Every section but the lines before the first header has its header
        // written, "[]" included, so its keys never join the section before.
        if (&s != &sections_[0]) {
            out += '[';
            out += s.name;
            out += "]\r\n";
        }
        for (const Key& k : s.keys) {
            out += k.name;
            if (k.has_value) {
                out += '=';
                out += k.value;
            }
            out += "\r\n";
        }
    }
    return out;
}

ProfileFile::Section* ProfileFile::find_section(const std::string& folded) {
    for (Section& s : sections_)
        if (s.folded == folded) return &s;
    return nullptr;
}

const ProfileFile::Section* ProfileFile::find_section(const std::string& folded) const {
    for (const Section& s : sections_)
        if (s.folded == folded) return &s;
    return nullptr;
}

const ProfileFile::Key* ProfileFile::find_key(const Section& s, const std::string& folded) {
    if (!s.indexed) {
        s.index.clear();
        s.index.reserve(s.keys.size());
        for (size_t i = 0; i < s.keys.size(); ++i)
            s.index.emplace(profile_fold_name(s.keys[i].name.data(), s.keys[i].name.size()), i);
        s.indexed = true;
    }
    auto it = s.index.find(folded);
    return it == s.index.end() ? nullptr : &s.keys[it->second];
}

void ProfileFile::add_key(Section* s, const std::string& name, const std::string& value,
                          bool has_value) {
    s->keys.push_back(Key{name, value, has_value});
    if (s->indexed) s->index.emplace(profile_fold_name(name.data(), name.size()), s->keys.size() - 1);
}

const std::string* ProfileFile::find(const char* section, const char* key) const {
    const Section* s = find_section(profile_fold_name(section, std::strlen(section)));
    if (s == nullptr) return nullptr;
    const Key* k = find_key(*s, profile_fold_name(key, std::strlen(key)));
    if (k == nullptr || !k->has_value) return nullptr;
    return &k->value;
}

size_t ProfileFile::get_string(const char* section, const char* key, const char* def, char* buf,
                               size_t size) const {
    if (size == 0) return 0;
    const std::string* v = find(section, key);
    const char* src;
    size_t len;
    if (v != nullptr) {
        src = v->c_str();
        len = v->size();
    } else {
        src = def != nullptr ? def : "";
        len = std::strlen(src);
        while (len > 1 && src[len - 1] == ' ') --len;
    }
    return value_text(src, len, buf, size);
}

size_t ProfileFile::value_text(const char* src, size_t len, char* buf, size_t size) {
    if (size == 0) return 0;
    if (len >= 2 && (src[0] == '"' || src[0] == '\'') && src[len - 1] == src[0]) {
        ++src;
        len -= 2;
    }
    return cp932_copy_n(buf, size, src, len);
}

const std::vector<ProfileFile::Line>* ProfileFile::lines(const char* section) const {
    const Section* s = find_section(profile_fold_name(section, std::strlen(section)));
    return s != nullptr ? &s->keys : nullptr;
}

void ProfileFile::set_lines(const char* section, std::vector<Line> lines) {
    const std::string folded = profile_match_name(section);
    Section* s = find_section(folded);
    if (s == nullptr) {
        if (lines.empty()) return;
        sections_.emplace_back();
        s = &sections_.back();
        s->name = clean_name(section, 0, std::strlen(section));
        s->folded = folded;
    }
    s->keys = std::move(lines);
    s->index.clear();
    s->indexed = false;
}

uint32_t ProfileFile::get_int(const char* section, const char* key, int32_t def) const {
    char buf[30];
    if (get_string(section, key, "", buf, sizeof buf) == 0) return static_cast<uint32_t>(def);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(buf);
    while (*p != '\0' && *p <= ' ') ++p;
    bool minus = false;
    if (*p == '+') {
        ++p;
    } else if (*p == '-') {
        minus = true;
        ++p;
    }
    uint32_t base = 10;
    if (p[0] == '0' && p[1] != '\0') {
        if (p[1] == 'x') base = 16;
        else if (p[1] == 'o') base = 8;
        else if (p[1] == 'b') base = 2;
        if (base != 10) p += 2;
    }
    uint32_t total = 0;
    for (;; ++p) {
        uint32_t digit;
        if (*p >= '0' && *p <= '9') digit = *p - '0';
        else if (*p >= 'A' && *p <= 'Z') digit = *p - 'A' + 10;
        else if (*p >= 'a' && *p <= 'z') digit = *p - 'a' + 10;
        else break;
        if (digit >= base) break;
        total = total * base + digit;
    }
    return minus ? 0u - total : total;
}

bool ProfileFile::set(const char* section, const char* key, const char* value) {
    const std::string sec_name = clean_name(section, 0, std::strlen(section));
    const std::string key_name = clean_name(key, 0, std::strlen(key));
    const std::string folded_sec = profile_match_name(section);
    const std::string folded_key = profile_match_name(key);
    std::string v = stored_value(value);
    Section* s = find_section(folded_sec);
    if (s == nullptr) {
        sections_.emplace_back();
        s = &sections_.back();
        s->name = sec_name;
        s->folded = folded_sec;
    }
    const Key* k = find_key(*s, folded_key);
    if (k != nullptr) {
        if (k->has_value && k->value == v) return false;
        Key* w = const_cast<Key*>(k);
        w->value = std::move(v);
        w->has_value = true;
        return true;
    }
    add_key(s, key_name, v, true);
    return true;
}

void ProfileFile::replace_section(const char* section, const char* lines) {
    const std::string sec_name = clean_name(section, 0, std::strlen(section));
    const std::string folded_sec = profile_match_name(section);
    for (Section& s : sections_) {
        if (s.folded != folded_sec) continue;
        s.keys.clear();
        s.index.clear();
        s.indexed = false;
    }
    Section* first = find_section(folded_sec);
    for (const char* line = lines; *line != '\0'; line += std::strlen(line) + 1) {
        const size_t n = std::strlen(line);
        const size_t eq = find_char(line, 0, n, '=');
        if (eq == n) continue;
        if (first == nullptr) {
            sections_.emplace_back();
            first = &sections_.back();
            first->name = sec_name;
            first->folded = folded_sec;
        }
        add_key(first, clean_name(line, 0, eq), stored_value(line + eq + 1), true);
    }
}
