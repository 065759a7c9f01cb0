// An INI ("profile") file held in memory: parsed once from its bytes, looked
// up and changed in memory, turned back into bytes for one write.
//
// It reads and writes the same way the platform profile functions
// (GetPrivateProfileStringA and friends) do, so files move freely between
// this program and them:
// - Lines end at CR or LF. Blanks (space, tab, VT, FF) and ^Z around a line,
//   around a name and around a value are dropped; blank lines are dropped.
// - "[name]" starts a section; the name runs to the last "]" of the line and
//   text after it is ignored. A line "[name" without "]" is an ordinary line.
// - "name=value" splits at the first "="; a line without "=" is kept as a
//   name without value (comments are such lines, or names starting with
//   ";"): looking it up gives the default. Lines before the first section
//   belong to a section named "".
// - Names match without regard to ASCII letter case; the bytes of a
//   double-byte character are compared exactly (a trail byte 0x41..0x5A is
//   not a letter).
// - With duplicate sections only the first one is searched and written to;
//   with duplicate names in a section the first one wins.
// - A lone lead byte at the end of a value is dropped (on reading and on
//   writing), and so is any a trim bares after it; a value stops at a NUL byte.
// - Written back as "[name]" and "name=value" lines ending in CR LF, blank
//   lines left out, like the platform does. A section with an empty name is
//   written as "[]" (the platform leaves that header out, so its keys would
//   join the section before): a parsed document written and parsed again is
//   the same document.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

class ProfileFile {
public:
    // One line of a section: "name=value", or a name without "=" (has_value false).
    struct Line {
        std::string name;
        std::string value;
        bool has_value;
    };

    ProfileFile() { clear(); }

    // Empties the document.
    void clear();
    // Replaces the document by the parsed bytes.
    void parse(const char* data, size_t n);
    // The whole document as file bytes.
    std::string serialize() const;

    // The value of key in section, or nullptr when the section or key is
    // missing or the key's line has no "=". Names are trimmed of blanks.
    const std::string* find(const char* section, const char* key) const;

    // GetPrivateProfileStringA: the value, or def when missing; one pair of
    // matching surrounding quotes (" or ') removed; cut to size - 1 bytes
    // without splitting a double-byte character. def has trailing blanks
    // removed (a default made only of blanks keeps its first one). Returns
    // the length stored in buf.
    size_t get_string(const char* section, const char* key, const char* def, char* buf,
                      size_t size) const;

    // GetPrivateProfileIntA: def when missing or empty, else the number the
    // value starts with: optional blanks and sign, then decimal digits (a
    // "0x", "0o" or "0b" prefix selects base 16, 8 or 2), wrapping modulo
    // 2^32; only the first 29 bytes of the value are looked at.
    uint32_t get_int(const char* section, const char* key, int32_t def) const;

    // WritePrivateProfileStringA: replaces the value of the first matching
    // key (its name keeps its spelling), or adds the key at the end of the
    // first matching section, or adds the section at the end of the
    // document. The value is cut at a line break and trimmed of blanks.
    // Returns whether the document changed (false when the key already held
    // that value).
    bool set(const char* section, const char* key, const char* value);

    // WritePrivateProfileSectionA: removes every line of every section of
    // that name (their headers stay) and adds the given "name=value" lines
    // to the first one (creating it at the end only if there is a line to
    // add). lines is a list of NUL-terminated strings ended by an empty one;
    // lines without "=" are dropped, and duplicate names are kept.
    void replace_section(const char* section, const char* lines);

    size_t section_count() const { return sections_.size(); }

    // Every line of the first section of that name, duplicates and lines
    // without "=" included, in file order; nullptr when there is no such
    // section.
    const std::vector<Line>* lines(const char* section) const;
    // Makes lines the whole content of the first section of that name (the
    // section is added at the end when missing and lines is not empty).
    // Sections of the same name after it stay as they are. Names and values
    // are taken as given: they must be as stored (see stored_value).
    void set_lines(const char* section, std::vector<Line> lines);

    // A value as set() stores it: up to its first line break, cleaned like
    // a value read from a file.
    static std::string stored_value(const char* value);
    // What get_string gives for a stored value: one pair of matching quotes
    // removed, cut to size - 1 bytes without splitting a double-byte
    // character. Returns the length stored in buf.
    static size_t value_text(const char* src, size_t len, char* buf, size_t size);

private:
    using Key = Line;
    struct Section {
        std::string name;
        std::string folded;
        std::vector<Key> keys;
        // Folded key name -> index of its first occurrence; built on demand.
        mutable std::unordered_map<std::string, size_t> index;
        mutable bool indexed = false;
    };

    Section* find_section(const std::string& folded);
    const Section* find_section(const std::string& folded) const;
    static const Key* find_key(const Section& s, const std::string& folded);
    void add_key(Section* s, const std::string& name, const std::string& value, bool has_value);

    std::vector<Section> sections_;
};

// Helpers shared with the tests.
// Blanks as the profile functions see them: space, tab, VT, FF, ^Z.
bool profile_is_blank(unsigned char c);
// Name with blanks trimmed and ASCII letters lowered, double-byte aware.
std::string profile_fold_name(const char* name, size_t n);
// The form a section or key name given to set() or replace_section() is
// matched by: stored as a name is (see above), then folded.
std::string profile_match_name(const char* name);
// True when replace_section() with these lines adds any (one has an "=").
bool profile_lines_add_any(const char* lines);
