// The changes made to a profile document since it was last read from or
// written to its file, kept so that they can be made again on top of a newer
// copy of the file (one another program changed meanwhile). Made again in
// order, they give exactly the document the same changes give on that copy.
#pragma once

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

class ProfileFile;

class ProfileChanges {
public:
    // ProfileFile::set and ProfileFile::replace_section, remembered.
    void set(const char* section, const char* key, const char* value);
    void replace_section(const char* section, const char* lines);
    // Makes every remembered change on doc, in order.
    void apply(ProfileFile* doc) const;
    void clear();
    // Remembered changes. Superseded ones are dropped, so this stays at most
    // a few per section and key however often the same keys change.
    size_t size() const { return changes_.size(); }

private:
    struct Change {
        bool replace;         // replace_section, else set
        std::string section;  // as given
        std::string key;
        std::string value;    // set: the value; replace: the lines, each NUL-terminated
        std::string folded_section;
        std::string folded_key;
    };
    void index_sets();
    static bool creates(const Change& c);

    std::vector<Change> changes_;
    // folded section + '\0' + folded key -> its set still in force (not followed
    // by a replace of its section).
    std::unordered_map<std::string, size_t> sets_;
};
