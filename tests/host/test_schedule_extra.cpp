// What an entry holds beyond its "schedule%03d" and "alarm%03d" values, as stored: each
// property's form read back, rules the stored form refuses, the lines tied to their slots by
// content (through renumbering, an older release's save, outside changes and duplicates),
// identities kept or derived, scrambling, and files without them unchanged to the byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/filetime.h"
#include "config/profile_file.h"
#include "schedule/entry_forms.h"
#include "schedule/entry_identity.h"
#include "schedule/schedule_sections.h"
#include "tests/host/repeat_maker.h"

namespace {

ProfileFile parse(const std::string& text) {
    ProfileFile f;
    f.parse(text.data(), text.size());
    return f;
}

struct Loaded {
    std::vector<ScheduleEntry> list;
    ScheduleKeep keep;
};

Loaded load(const ProfileFile& doc, int room = kMaxEntries) {
    Loaded l;
    l.list.resize(static_cast<size_t>(room > 0 ? room : 1));
    int count = 0;
    schedule_merge(doc, l.list.data(), &count, room, &l.keep);
    l.list.resize(static_cast<size_t>(count));
    return l;
}

// The list written into doc (over what it held).
std::string save(ProfileFile doc, Loaded& l) {
    int count = static_cast<int>(l.list.size());
    l.list.resize(count + 8);
    schedule_merge(doc, l.list.data(), &count, count + 8, &l.keep);
    l.list.resize(static_cast<size_t>(count));
    schedule_write(&doc, l.list.data(), count, l.keep);
    schedule_keep_written(&l.keep, l.list.data(), count);
    return doc.serialize();
}

std::string write_fresh(const std::vector<ScheduleEntry>& list) {
    ProfileFile doc;
    ScheduleKeep keep;
    std::vector<ScheduleEntry> copy = list;
    int count = static_cast<int>(copy.size());
    schedule_merge(doc, copy.data(), &count, count, &keep);
    schedule_write(&doc, copy.data(), count, keep);
    return doc.serialize();
}

const ScheduleEntry* find_memo(const std::vector<ScheduleEntry>& list, const char* memo) {
    for (const ScheduleEntry& e : list)
        if (std::strcmp(e.memo, memo) == 0) return &e;
    return nullptr;
}

ScheduleEntry named(ScheduleEntry e, const char* memo, const char* uid) {
    std::snprintf(e.memo, sizeof e.memo, "%s", memo);
    std::snprintf(e.uid, sizeof e.uid, "%s", uid);
    return e;
}

// Fields the stored forms carry, compared one by one.
void expect_same_extra(const ScheduleEntry& a, const ScheduleEntry& b) {
    EXPECT_EQ(repeat_rule_text(a.repeat), repeat_rule_text(b.repeat));
    EXPECT_EQ(a.skip_count, b.skip_count);
    for (int i = 0; i < a.skip_count && i < kMaxSkips; ++i) EXPECT_EQ(a.skips[i], b.skips[i]);
    EXPECT_EQ(a.span_days, b.span_days);
    EXPECT_EQ(a.has_end_time, b.has_end_time);
    if (a.has_end_time) EXPECT_EQ(a.end_hour * 60 + a.end_minute, b.end_hour * 60 + b.end_minute);
    EXPECT_EQ(a.minutes_before, b.minutes_before);
    EXPECT_EQ(a.lead_unit, b.lead_unit);
    EXPECT_EQ(a.day_alarm, b.day_alarm);
    if (a.day_alarm) EXPECT_EQ(a.day_alarm_minute, b.day_alarm_minute);
    EXPECT_EQ(a.alarm_kind, b.alarm_kind);
    EXPECT_STREQ(a.sound_file, b.sound_file);
    EXPECT_EQ(a.recur_date, b.recur_date);
    EXPECT_EQ(a.sequence, b.sequence);
    EXPECT_EQ(a.modified, b.modified);
    EXPECT_STREQ(a.uid, b.uid);
}

std::vector<ScheduleEntry> rich_entries() {
    std::vector<ScheduleEntry> v;
    v.push_back(named(weekly(2024, 1, 4, {1, 4}), "燃えるゴミ", "u-garbage"));
    v.push_back(named(monthly_nth(2024, 1, 10, {2, 4}, 3), "資源ゴミ", "u-recycle"));
    v.push_back(named(until(daily(2026, 12, 25), 20270114), "薬", "u-medicine"));
    v.push_back(named(counted(weekly(2024, 1, 9, {2}, 2), 20), "定例", "u-meeting"));
    v.push_back(named(skipping(monthly_on(2024, 1, 31, {25, -1}), {20240131, 20240425}), "給料日", "u-pay"));
    ScheduleEntry span = named(spanning(make_entry(2024, 8, 10, 1), 4), "夏季休暇", "u-vacation");
    v.push_back(span);
    ScheduleEntry meeting = named(timed(make_entry(2024, 5, 7), 14, 0, 120, 2), "会議", "u-1400");
    meeting.lead_unit = LeadUnit::kHours;
    meeting.has_end_time = 1, meeting.end_hour = 15, meeting.end_minute = 30;
    v.push_back(meeting);
    ScheduleEntry night = named(timed(weekly(2025, 1, 3, {5}), 22, 0, 2 * 1440, 3), "夜勤", "u-night");
    night.lead_unit = LeadUnit::kDays;
    std::snprintf(night.sound_file, sizeof night.sound_file, "C:\\Windows\\Media\\chimes.wav");
    night.span_days = 1, night.has_end_time = 1, night.end_hour = 2, night.end_minute = 0;
    v.push_back(night);
    ScheduleEntry birthday = named(make_entry(-1, 9, 21), "誕生日", "u-birthday");
    birthday.day_alarm = 1, birthday.day_alarm_minute = -900, birthday.alarm_kind = 3;
    std::snprintf(birthday.sound_file, sizeof birthday.sound_file, "C:\\a;b=c.wav");
    v.push_back(birthday);
    ScheduleEntry moved = named(make_entry(2024, 1, 12), "燃えるゴミ (移動)", "u-garbage");
    moved.recur_date = 20240111, moved.recur_has_time = 1, moved.recur_hour = 7;
    moved.sequence = 3;
    wall_time_to_filetime(2024, 1, 10, 8, 30, 15, 0, &moved.modified);
    v.push_back(moved);
    ScheduleEntry secret = named(counted(daily(2030, 3, 1, 3), 5), "秘密", "$odd uid ");
    secret.scramble = 1;
    v.push_back(secret);
    for (ScheduleEntry& e : v) entry_settle(&e);
    return v;
}

TEST(ScheduleExtra, EveryFieldReadsBackAsWritten) {
    const std::vector<ScheduleEntry> v = rich_entries();
    const std::string text = write_fresh(v);
    Loaded l = load(parse(text));
    ASSERT_EQ(l.list.size(), v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        SCOPED_TRACE(v[i].memo);
        expect_same_extra(l.list[i], v[i]);
        for (int m = 1; m <= 12; ++m) EXPECT_EQ(entry_month_days(l.list[i], 2024, m), entry_month_days(v[i], 2024, m));
    }
    // Written again: the same bytes.
    EXPECT_EQ(save(parse(text), l), text);
    // The forms are readable where not scrambled, the scrambled entry's all scrambled.
    EXPECT_NE(text.find(".rrule=FREQ=MONTHLY;BYDAY=2WE,4WE\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(".exdate=20240131,20240425\r\n"), std::string::npos);
    EXPECT_NE(text.find(".end=20240814\r\n"), std::string::npos);
    EXPECT_NE(text.find(".end=20240507T1530\r\n"), std::string::npos);
    EXPECT_NE(text.find(".trigger=-PT2H\r\n"), std::string::npos);
    EXPECT_NE(text.find(".trigger=-P2D\r\n"), std::string::npos);
    EXPECT_NE(text.find(".daytrigger=-PT15H\r\n"), std::string::npos);
    EXPECT_NE(text.find(".recurid=20240111T0700\r\n"), std::string::npos);
    EXPECT_NE(text.find(".modified=20240110T083015\r\n"), std::string::npos);
    EXPECT_EQ(text.find("odd uid"), std::string::npos);
    EXPECT_EQ(text.find("FREQ=DAILY;INTERVAL=3"), std::string::npos);
    // The alarm key keeps two digits: a longer lead is written as 99 there.
    EXPECT_NE(text.find("alarm007=1400992\r\n"), std::string::npos);
}

// Each property's reader takes what its writer gives and refuses what it cannot hold whole,
// leaving the entry as it was.
TEST(ScheduleExtra, PropertiesRefusedWhole) {
    const struct {
        const char* name;
        const char* value;
        bool timed;
        bool taken;
    } cases[] = {
        {"rrule", "FREQ=WEEKLY;BYDAY=MO,TH", false, true},
        {"rrule", "FREQ=HOURLY", false, false},
        {"rrule", "FREQ=WEEKLY;BYWEEKNO=3", false, false},
        {"rrule", "FREQ=DAILY;COUNT=3;UNTIL=20250101", false, false},
        {"rrule", "FREQ=DAILY;INTERVAL=100", false, false},
        {"rrule", "FREQ=MONTHLY;BYDAY=5MO", false, false},
        {"rrule", "FREQ=MONTHLY;BYDAY=MO", false, false},
        {"rrule", "FREQ=MONTHLY;BYDAY=MO;BYSETPOS=2,-1", false, true},
        {"rrule", "FREQ=MONTHLY;BYDAY=MO,TU;BYSETPOS=-1", false, false},
        {"rrule", "FREQ=MONTHLY;BYMONTHDAY=-2", false, false},
        {"rrule", "FREQ=YEARLY;BYMONTH=2", false, false},
        {"rrule", "FREQ=YEARLY;BYMONTH=1;BYMONTHDAY=4", false, true},
        {"rrule", "FREQ=DAILY;COUNT=10000", false, false},
        {"rrule", "FREQ=DAILY;;X", false, false},
        {"exdate", "20240105,20240111", false, true},
        {"exdate", "20240105,2024011", false, false},
        {"exdate", "20240230", false, false},
        {"end", "20250103", false, true},
        {"end", "20230101", false, false},
        {"end", "20250104", false, false},  // a year and a day
        {"end", "20240104T1000", false, false},
        {"end", "20240104T1000", true, true},
        {"end", "20240104T2400", true, false},
        {"trigger", "-PT90M", true, true},
        {"trigger", "-P7D", true, true},
        {"trigger", "-P7DT1M", true, false},
        {"trigger", "PT5M", true, false},
        {"trigger", "-PT5M", false, false},
        {"daytrigger", "-PT15H", false, true},
        {"daytrigger", "PT24H", false, false},
        {"daytrigger", "-PT15H", true, false},
        {"dayaction", "4", false, false},
        {"uid", "", false, false},
        {"uid", "a\tb", false, false},
        {"recurid", "20240111T0700", false, true},
        {"recurid", "2024011", false, false},
        {"seq", "4294967295", false, true},
        {"seq", "4294967296", false, false},
        {"modified", "20240110T083060", false, false},
        {"nothing", "x", false, false},
    };
    for (const auto& c : cases) {
        ScheduleEntry e = make_entry(2024, 1, 4, 0, "m");
        if (c.timed) e = timed(e, 9, 0);
        const ScheduleEntry before = e;
        const bool taken = entry_take_prop(c.name, c.value, &e);
        EXPECT_EQ(taken, c.taken) << c.name << "=" << c.value;
        if (!taken) EXPECT_EQ(std::memcmp(&e, &before, sizeof e), 0) << c.name << "=" << c.value;
    }
}

// A lead read from its stored form: its minutes, the unit it is shown in (the unit of the
// last figure only when the lead is a whole number of it) and the form it is written in again.
TEST(ScheduleExtra, LeadUnitsReadAndWrittenAgain) {
    const struct {
        const char* value;
        int minutes;
        LeadUnit unit;
        const char* written;  // "" when the stored two digits hold it
    } cases[] = {
        {"-PT90M", 90, LeadUnit::kMinutes, ""},
        {"-PT120M", 120, LeadUnit::kMinutes, "-PT120M"},
        {"-PT2H", 120, LeadUnit::kHours, "-PT2H"},
        {"-PT20M0H", 20, LeadUnit::kMinutes, ""},
        {"-PT90M1H", 150, LeadUnit::kMinutes, "-PT150M"},
        {"-P1DT0H", 1440, LeadUnit::kHours, "-PT24H"},
        {"-P7D", 10080, LeadUnit::kDays, "-P7D"},
        {"-P1D", 1440, LeadUnit::kDays, "-P1D"},
        {"-PT1440M0D", 0, LeadUnit::kMinutes, nullptr},  // no days after the T: refused
    };
    for (const auto& c : cases) {
        ScheduleEntry e = timed(make_entry(2024, 1, 4, 0, "m"), 9, 0);
        ASSERT_EQ(entry_take_prop("trigger", c.value, &e), c.written != nullptr) << c.value;
        if (c.written == nullptr) continue;
        EXPECT_EQ(e.minutes_before, c.minutes) << c.value;
        EXPECT_EQ(e.lead_unit, c.unit) << c.value;
        std::string written;
        for (const EntryProp& p : entry_props(e, false))
            if (p.first == "trigger") written = p.second;
        EXPECT_EQ(written, c.written) << c.value;
    }
}

void sort_as_the_list(std::vector<ScheduleEntry>* v) {
    std::stable_sort(v->begin(), v->end(),
                     [](const ScheduleEntry& a, const ScheduleEntry& b) { return entry_compare(&a, &b) < 0; });
}

// An older release reads the slots, renumbers them at every save and keeps the extra section
// as it is. Its save is this release's on the document without that section, which is then
// put back as it was.
std::string old_release_save(const std::string& text, void (*edit)(std::vector<ScheduleEntry>*)) {
    ProfileFile doc = parse(text);
    const std::vector<ProfileFile::Line>* extra = doc.lines(kScheduleExtraSection);
    const std::vector<ProfileFile::Line> kept = extra ? *extra : std::vector<ProfileFile::Line>();
    doc.set_lines(kScheduleExtraSection, {});
    Loaded l = load(doc);
    for (ScheduleEntry& e : l.list) e.uid[0] = '\0';  // it keeps none
    edit(&l.list);
    sort_as_the_list(&l.list);
    ProfileFile out = doc;
    int count = static_cast<int>(l.list.size());
    schedule_write(&out, l.list.data(), count, l.keep);
    out.set_lines(kScheduleExtraSection, kept);
    return out.serialize();
}

TEST(ScheduleExtra, AnOlderReleasesSaveTiesNoLineToAnotherEntry) {
    const std::vector<ScheduleEntry> v = rich_entries();
    const std::string text = write_fresh(v);
    // It deletes the first entry, changes one memo, adds an entry before all others and sorts.
    const std::string after = old_release_save(text, [](std::vector<ScheduleEntry>* list) {
        list->erase(list->begin());
        for (ScheduleEntry& e : *list)
            if (std::strcmp(e.memo, "定例") == 0) std::strcpy(e.memo, "定例会");
        list->insert(list->begin(), make_entry(2020, 1, 1, 0, "古い版で追加"));
    });
    ASSERT_NE(after, text);
    Loaded l = load(parse(after));
    ASSERT_EQ(l.list.size(), v.size());
    for (const ScheduleEntry& want : v) {
        const ScheduleEntry* got = find_memo(l.list, want.memo);
        if (std::strcmp(want.memo, "燃えるゴミ") == 0 || std::strcmp(want.memo, "定例") == 0) {
            EXPECT_EQ(got, nullptr) << want.memo;
            continue;
        }
        ASSERT_NE(got, nullptr) << want.memo;
        SCOPED_TRACE(want.memo);
        expect_same_extra(*got, want);
    }
    // What it changed or added shows its first day, as plain entries do.
    const ScheduleEntry* changed = find_memo(l.list, "定例会");
    ASSERT_NE(changed, nullptr);
    EXPECT_EQ(changed->repeat.kind, RepeatKind::kNone);
    EXPECT_EQ(entry_month_days(*changed, 2024, 1), 1u << 9);
    const ScheduleEntry* added = find_memo(l.list, "古い版で追加");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->repeat.kind, RepeatKind::kNone);
    // The lines of the entries it deleted or changed stay, tied to nothing, through saves.
    const std::string again = save(parse(after), l);
    EXPECT_NE(again.find("FREQ=WEEKLY;BYDAY=MO,TH"), std::string::npos);
    EXPECT_NE(again.find("FREQ=WEEKLY;INTERVAL=2;BYDAY=TU;WKST=SU;COUNT=20"), std::string::npos);
    EXPECT_EQ(save(parse(again), l), again);
}

// Equal stored values: the n-th slot takes the n-th key's lines, whatever the numbers, and
// each entry keeps its own identity.
TEST(ScheduleExtra, EqualSlotsKeepTheirOwnLines) {
    ScheduleEntry a = named(weekly(2024, 1, 4, {4}), "同じ", "");
    ScheduleEntry b = a;
    a.skip_count = 1, a.skips[0] = 20240111;
    const std::string text = write_fresh({a, b});
    Loaded l = load(parse(text));
    ASSERT_EQ(l.list.size(), 2u);
    EXPECT_EQ(l.list[0].skip_count, 1);
    EXPECT_EQ(l.list[1].skip_count, 0);
    EXPECT_STRNE(l.list[0].uid, l.list[1].uid);
    // Written the other way round (as a save after a sort may), each keeps its own.
    std::swap(l.list[0], l.list[1]);
    const std::string swapped = save(parse(text), l);
    Loaded back = load(parse(swapped));
    ASSERT_EQ(back.list.size(), 2u);
    EXPECT_EQ(back.list[0].skip_count, 0);
    EXPECT_STREQ(back.list[0].uid, l.list[0].uid);
    EXPECT_STREQ(back.list[1].uid, l.list[1].uid);
}

// An entry of a file without identities gets one from its stored values: the same at every
// load, never written while it is that one, kept once the entry changes.
TEST(ScheduleExtra, IdentityDerivedKeptAndMade) {
    const std::string text =
        "[Schedule]\r\nschedulecount=3\r\nschedule001=2004050511会議\r\n"
        "schedule002=0000092100誕生日\r\nschedule003=0000092100誕生日\r\n"
        "[Alarm]\r\nalarm001=0930152\r\n";
    Loaded l = load(parse(text));
    ASSERT_EQ(l.list.size(), 3u);
    const std::string derived = l.list[0].uid;
    EXPECT_EQ(derived.size(), 16u);
    EXPECT_STREQ(l.list[2].uid, (std::string(l.list[1].uid) + "-2").c_str());
    EXPECT_EQ(load(parse(text)).list[0].uid, derived);
    EXPECT_EQ(save(parse(text), l), text);

    std::strcpy(l.list[0].memo, "会議 (変更)");
    const std::string changed = save(parse(text), l);
    EXPECT_NE(changed.find(".uid=" + derived + "\r\n"), std::string::npos) << changed;
    EXPECT_EQ(load(parse(changed)).list[0].uid, derived);

    // Entries added here get a random one of their own.
    ScheduleList list;
    schedule_clear(&list);
    ScheduleEntry e = make_entry(2024, 1, 1, 0, "x");
    ASSERT_EQ(schedule_add(&list, &e), 1);
    ASSERT_EQ(schedule_add(&list, &e), 1);
    EXPECT_EQ(std::strlen(list.entries[0].uid), 36u);
    EXPECT_EQ(list.entries[0].uid[14], '4');
    EXPECT_STRNE(list.entries[0].uid, list.entries[1].uid);
    // A change keeps it (an edited copy may come without), counts and stamps.
    const std::string uid = list.entries[0].uid;
    ScheduleEntry edited = make_entry(2024, 1, 2, 0, "y");
    schedule_replace(&list, 0, &edited);
    EXPECT_EQ(list.entries[0].uid, uid);
    EXPECT_EQ(list.entries[0].sequence, 1u);
    EXPECT_NE(list.entries[0].modified, 0u);
}

TEST(ScheduleExtra, IdentitiesComeFromThePlatformSource) {
    set_random_source([](void* out, size_t n) {
        std::memset(out, 0xAB, n);
        return true;
    });
    char uid[40];
    make_entry_uid(uid, sizeof uid);
    EXPECT_STREQ(uid, "abababab-abab-4bab-abab-abababababab");
    set_random_source([](void*, size_t) { return false; });  // failing: the built-in one
    make_entry_uid(uid, sizeof uid);
    EXPECT_STRNE(uid, "abababab-abab-4bab-abab-abababababab");
    set_random_source(nullptr);
    make_entry_uid(uid, 36);
    EXPECT_STREQ(uid, "");
}

// Changes behind the program reach the extra lines too: a rule changed in the file is taken
// in, a rule changed here is kept, and both when changed on both sides.
TEST(ScheduleExtra, MergeTakesInChangesOfTheExtraLines) {
    const std::vector<ScheduleEntry> v = {named(weekly(2024, 1, 4, {4}), "a", "ua"),
                                          named(weekly(2024, 1, 4, {4}), "b", "ub")};
    const std::string text = write_fresh(v);
    Loaded l = load(parse(text));
    // Here: b skips a day. There: a's rule becomes Mondays and Thursdays.
    ASSERT_TRUE(entry_skip_day(&l.list[1], {2024, 1, 11}));
    std::string there = text;
    const size_t at = there.find("BYDAY=TH");
    ASSERT_NE(at, std::string::npos);
    there.replace(at, 8, "BYDAY=MO,TH");
    const std::string saved = save(parse(there), l);
    Loaded back = load(parse(saved));
    ASSERT_EQ(back.list.size(), 2u);
    const ScheduleEntry* a = find_memo(back.list, "a");
    const ScheduleEntry* b = find_memo(back.list, "b");
    ASSERT_TRUE(a && b);
    EXPECT_EQ(a->repeat.weekdays, weekday_bits({1, 4}));
    EXPECT_EQ(b->skip_count, 1);
}

// Lines of the extra section no slot takes stay as they were, unless a slot written now has
// their key: they would become its own.
TEST(ScheduleExtra, LooseLinesKeptUnlessTheirKeyIsTaken) {
    const std::string plain = "[Schedule]\r\nschedulecount=1\r\nschedule001=2024010100x\r\n";
    const std::string key = load(parse(plain)).list[0].uid;
    const std::string text = plain + "[ScheduleExtra]\r\nnote\r\n0123456789abcdef.rrule=FREQ=DAILY\r\n" + key +
                             "-2.rrule=FREQ=DAILY\r\n";
    Loaded twice = load(parse(text));
    ASSERT_EQ(twice.list.size(), 1u);
    EXPECT_EQ(twice.list[0].repeat.kind, RepeatKind::kNone);
    twice.list.push_back(twice.list[0]);  // the same values again: it takes the "-2" key
    twice.list[1].uid[0] = '\0';
    const std::string saved = save(parse(text), twice);
    EXPECT_NE(saved.find("0123456789abcdef.rrule=FREQ=DAILY"), std::string::npos);
    EXPECT_NE(saved.find("note"), std::string::npos);
    EXPECT_EQ(saved.find(key + "-2.rrule"), std::string::npos) << saved;
    for (const ScheduleEntry& got : load(parse(saved)).list) EXPECT_EQ(got.repeat.kind, RepeatKind::kNone);
}

// Entries past the room are carried with their lines.
TEST(ScheduleExtra, CarriedSlotsKeepTheirLines) {
    const std::vector<ScheduleEntry> v = rich_entries();
    const std::string text = write_fresh(v);
    Loaded small = load(parse(text), 2);
    ASSERT_EQ(small.list.size(), 2u);
    const std::string saved = save(parse(text), small);
    Loaded all = load(parse(saved));
    ASSERT_EQ(all.list.size(), v.size());
    for (const ScheduleEntry& want : v) {
        const ScheduleEntry* got = find_memo(all.list, want.memo);
        ASSERT_NE(got, nullptr) << want.memo;
        SCOPED_TRACE(want.memo);
        expect_same_extra(*got, want);
    }
}

// The load takes a slot as it reads when the entry writes it back the same, and otherwise
// writes and reads it again; either way each entry stands for the slot it writes, so an
// unchanged list finds nothing changed at the next merge. Files the program wrote, files of
// an older release, and stored forms that the program writes otherwise.
TEST(ScheduleExtra, TheLoadsSlotsAreThoseTheEntriesWrite) {
    const std::string key = extra_key(slot_digest("2024010100定例", ""), 1);
    const struct {
        const char* what;
        std::string text;
        size_t entries;  // taken into the list; the rest are carried
    } files[] = {
        {"written by the program", write_fresh(rich_entries()), rich_entries().size()},
        {"an older release's, equal slots among them",
         "[Schedule]\r\nschedule001=2004050511会議\r\nschedule002=0000092100誕生日\r\n"
         "schedule003=0000092100誕生日\r\nschedule004=2004050531秘密\r\n[Alarm]\r\nalarm001=0930152\r\n"
         "alarm004=0800003C:\\a.wav\r\n",
         4},
        {"an alarm with more than its fields",
         "[Schedule]\r\nschedule001=2004050511会議\r\n[Alarm]\r\nalarm001=0930152xyz\r\n", 1},
        {"a time without its alarm", "[Schedule]\r\nschedule001=2004050511会議\r\n", 1},
        {"an alarm out of range", "[Schedule]\r\nschedule001=2004050511会議\r\n[Alarm]\r\nalarm001=2930152\r\n", 1},
        {"a quoted value", "[Schedule]\r\nschedule001=\"2004050500会議\"\r\n", 1},
        {"a memo of blanks, which reads as no entry once written",
         "[Schedule]\r\nschedule001=\"2004050500   \"\r\nschedule002=\"2004050611 会議 \"\r\n[Alarm]\r\n"
         "alarm002=0930152\r\n",
         1},
        {"a day with no month", "[Schedule]\r\nschedule001=2004000500会議\r\n", 1},
        {"a rule spelt otherwise, and its uid the derived one",
         "[Schedule]\r\nschedule001=2024010100定例\r\n[ScheduleExtra]\r\n" + key + ".rrule=freq=weekly;byday=tu\r\n" +
             key + ".uid=" + key + "\r\n",
         1},
        {"the uid after the rule",
         "[Schedule]\r\nschedule001=2024010100定例\r\n[ScheduleExtra]\r\n" + key + ".rrule=FREQ=DAILY\r\n" + key +
             ".uid=u-1\r\n",
         1},
        {"a uid refused", "[Schedule]\r\nschedule001=2024010100定例\r\n[ScheduleExtra]\r\n" + key + ".uid=\r\n", 1},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.what);
        Loaded l = load(parse(f.text));
        ASSERT_EQ(l.list.size(), f.entries);
        ASSERT_EQ(l.keep.list_base.size(), l.list.size());
        for (size_t i = 0; i < l.list.size(); ++i)
            EXPECT_EQ(l.keep.list_base[i], slot_identity(stored_slot_of(l.list[i]))) << l.list[i].memo;
        // Saved unchanged and loaded again, the list is the same.
        const std::string saved = save(parse(f.text), l);
        Loaded again = load(parse(saved));
        ASSERT_EQ(again.list.size(), l.list.size());
        for (size_t i = 0; i < l.list.size(); ++i) {
            EXPECT_STREQ(again.list[i].uid, l.list[i].uid);
            EXPECT_EQ(slot_identity(stored_slot_of(again.list[i])), l.keep.list_base[i]) << l.list[i].memo;
        }
        EXPECT_EQ(save(parse(saved), again), saved);
    }
}

// The derived identity: the digest as 16 hex digits, "-n" for the n-th equal slot, cut to its
// buffer.
TEST(ScheduleExtra, DerivedIdentityText) {
    const struct {
        uint64_t digest;
        int nth;
        size_t size;
        const char* want;
    } cases[] = {
        {0x0f3c9a0012345678ull, 1, 40, "0f3c9a0012345678"},
        {0xffffffffffffffffull, 0, 40, "ffffffffffffffff"},
        {0, 2, 40, "0000000000000000-2"},
        {0xabcdef, 1234567890, 40, "0000000000abcdef-1234567890"},
        {0xabcdef, 10, 17, "0000000000abcdef"},
        {0xabcdef, 10, 5, "0000"},
        {0xabcdef, 10, 1, ""},
    };
    for (const auto& c : cases) {
        char out[40];
        std::memset(out, 'x', sizeof out);
        derived_entry_uid(c.digest, c.nth, out, c.size);
        EXPECT_STREQ(out, c.want) << c.nth << " in " << c.size;
    }
}

}  // namespace
