#include "config/profile_changes.h"

#include <cstring>

#include "config/profile_file.h"

namespace {

std::string set_id(const std::string& folded_section, const std::string& folded_key) {
    std::string id = folded_section;
    id += '\0';
    id += folded_key;
    return id;
}

}  // namespace

// A change that leaves the section in the document whatever the document
// held before: a set always, a replace when it has a line to add.
bool ProfileChanges::creates(const Change& c) {
    return !c.replace || profile_lines_add_any(c.value.c_str());
}

void ProfileChanges::set(const char* section, const char* key, const char* value) {
    Change c{false, section, key, value, profile_match_name(section), profile_match_name(key)};
    const std::string id = set_id(c.folded_section, c.folded_key);
    auto it = sets_.find(id);
    if (it != sets_.end()) {
        // The later value wins, and the key keeps the place its first set gave it.
        changes_[it->second].value = value;
        return;
    }
    sets_.emplace(id, changes_.size());
    changes_.push_back(std::move(c));
}

void ProfileChanges::replace_section(const char* section, const char* lines) {
    size_t n = 0;
    while (lines[n] != '\0') n += std::strlen(lines + n) + 1;
    Change c{true, section, std::string(), std::string(lines, n + 1), profile_match_name(section),
             std::string()};
    // The replace undoes every earlier change to the section's keys. Only the
    // first change that made the section is kept, for the place it gave the
    // section among the others.
    std::vector<Change> kept;
    kept.reserve(changes_.size() + 1);
    bool made = false;
    for (Change& old : changes_) {
        if (old.folded_section == c.folded_section) {
            if (made || !creates(old)) continue;
            made = true;
        }
        kept.push_back(std::move(old));
    }
    kept.push_back(std::move(c));
    changes_ = std::move(kept);
    index_sets();
}

void ProfileChanges::index_sets() {
    sets_.clear();
    for (size_t i = 0; i < changes_.size(); ++i) {
        const Change& c = changes_[i];
        if (c.replace) {
            // Sets of this section before it are no longer in force.
            for (auto it = sets_.begin(); it != sets_.end();) {
                if (changes_[it->second].folded_section == c.folded_section)
                    it = sets_.erase(it);
                else
                    ++it;
            }
        } else {
            sets_[set_id(c.folded_section, c.folded_key)] = i;
        }
    }
}

void ProfileChanges::apply(ProfileFile* doc) const {
    for (const Change& c : changes_) {
        if (c.replace)
            doc->replace_section(c.section.c_str(), c.value.c_str());
        else
            doc->set(c.section.c_str(), c.key.c_str(), c.value.c_str());
    }
}

void ProfileChanges::clear() {
    changes_.clear();
    sets_.clear();
}
