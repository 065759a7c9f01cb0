// The changes remembered between writes of the settings file: made again on
// a newer copy of the file they give what making them there directly gives,
// and however often the same keys change, only a few are kept.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "config/profile_changes.h"
#include "config/profile_file.h"
#include "tests/host/profile_parsed.h"

namespace {

const char* const kSections[] = {"S", "s", "T", "New", "Alarm", "", "ア"};
const char* const kKeys[] = {"a", "A", "b", " b ", "key", "ア"};
const char* const kBases[] = {
    "",
    "[S]\r\na=1\r\nb=2\r\n[T]\r\nkey=x\r\n",
    "top=0\r\n[s]\r\nA=9\r\n[Alarm]\r\nalarm001=1\r\n[S]\r\nb=dup\r\n",
    "[New]\r\n[T]\r\n",
};

struct Op {
    bool replace;
    std::string section, key, value;  // replace: value holds the lines
};

Op random_op(std::mt19937& rng) {
    Op op;
    op.section = kSections[rng() % 7];
    op.replace = rng() % 4 == 0;
    if (op.replace) {
        const int n = static_cast<int>(rng() % 3);  // 0: empties the section
        for (int i = 0; i < n; ++i)
            op.value += std::string(kKeys[rng() % 6]) + "=" + std::to_string(rng() % 5) + '\0';
        if (rng() % 5 == 0) op.value += std::string("noequals") + '\0';
        op.value += '\0';
    } else {
        op.key = kKeys[rng() % 6];
        op.value = std::to_string(rng() % 5);
    }
    return op;
}

void apply(ProfileFile* doc, const Op& op) {
    if (op.replace)
        doc->replace_section(op.section.c_str(), op.value.data());
    else
        doc->set(op.section.c_str(), op.key.c_str(), op.value.c_str());
}

void remember(ProfileChanges* changes, const Op& op) {
    if (op.replace)
        changes->replace_section(op.section.c_str(), op.value.data());
    else
        changes->set(op.section.c_str(), op.key.c_str(), op.value.c_str());
}

TEST(ProfileChanges, MadeAgainOnAnyFileTheyGiveWhatTheChangesThemselvesGive) {
    std::mt19937 rng(8);
    for (int round = 0; round < 3000; ++round) {
        ProfileChanges changes;
        std::vector<Op> ops;
        const int n = 1 + static_cast<int>(rng() % 25);
        for (int i = 0; i < n; ++i) {
            ops.push_back(random_op(rng));
            remember(&changes, ops.back());
        }
        for (const char* base : kBases) {
            ProfileFile direct = parsed(base);
            for (const Op& op : ops) apply(&direct, op);
            ProfileFile again = parsed(base);
            changes.apply(&again);
            ASSERT_EQ(again.serialize(), direct.serialize())
                << "round " << round << ", base:\n" << base;
            ASSERT_EQ(again.section_count(), direct.section_count()) << round;
        }
    }
}

TEST(ProfileChanges, RepeatedSavesOfTheSameKeysStaySmall) {
    ProfileChanges changes;
    for (int save = 0; save < 200; ++save) {
        const std::string v = std::to_string(save);
        for (const char* key : {"monthlang", "weeklang", "fontname"})
            changes.set("Config", key, v.c_str());
        std::string lines = "schedulecount=" + v + '\0' + '\0';
        changes.replace_section("Schedule", lines.data());
        changes.replace_section("Alarm", "");
        for (int k = 1; k <= 20; ++k)
            changes.set("Schedule", ("schedule" + std::to_string(k)).c_str(), v.c_str());
    }
    // Three Config keys, Schedule made once and replaced once with its
    // twenty keys, Alarm replaced once.
    EXPECT_LE(changes.size(), 3u + 2u + 20u + 1u);
    ProfileFile doc;
    changes.apply(&doc);
    EXPECT_EQ(doc.find("Config", "weeklang")->c_str(), std::string("199"));
    EXPECT_EQ(*doc.find("Schedule", "schedulecount"), "199");
    EXPECT_EQ(*doc.find("Schedule", "schedule20"), "199");
    changes.clear();
    EXPECT_EQ(changes.size(), 0u);
}

}  // namespace
