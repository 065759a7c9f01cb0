// Days as a screen reader reads them: the name from a table of days (nothing, today,
// entries, a national holiday, a holiday of the user's, all at once, the holidays switched
// off; the 六曜, the old calendar and era years switched on) and the description from the
// day's entries.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "app/day_names.h"
#include "tests/host/entry_maker.h"

namespace {

struct Today {
    int y, m, d;
};

std::string name_of(const ScheduleList& list, int y, int m, int d, Today t, int national = 1) {
    char out[256];
    format_day_name(out, sizeof out, day_facts(list, y, m, d, t.y, t.m, t.d, DayNameShows{national, 0, 0, 0}));
    return out;
}

TEST(DayNames, TableOfDays) {
    auto list = std::make_unique<ScheduleList>();
    append_entry(list.get(), make_entry(2024, 12, 11, 0, "会議", 10, 0));
    append_entry(list.get(), make_entry(-1, 12, 11, 0, "誕生日"));        // every year
    append_entry(list.get(), make_entry(2018, 12, 23, 0, "大掃除"));
    append_entry(list.get(), make_entry(2018, 12, 23, 0, "年賀状"));
    append_entry(list.get(), make_entry(2024, 3, 10, 1, "創立記念日"));   // a Sunday holiday entry
    append_entry(list.get(), make_entry(2024, 3, 14, 1, "休業"));
    ScheduleEntry weekly = make_entry(2024, 12, 2, 0, "朝会");  // Mondays from 2 December
    weekly.repeat.kind = RepeatKind::kWeekly;
    weekly.repeat.interval = 1;
    weekly.repeat.weekdays = 1u << 1;
    append_entry(list.get(), weekly);
    const Today dec10 = {2024, 12, 10}, elsewhere = {2030, 1, 1};
    const struct {
        const char* what;
        int y, m, d;
        Today today;
        int national;
        const char* want;
    } cases[] = {
        {"nothing", 2024, 12, 12, dec10, 1, "12月12日 木曜日"},
        {"today", 2024, 12, 10, dec10, 1, "12月10日 火曜日 今日"},
        {"entries, one of every year", 2024, 12, 11, dec10, 1, "12月11日 水曜日 予定2件"},
        {"a national holiday", 2019, 5, 3, elsewhere, 1, "5月3日 金曜日 憲法記念日"},
        {"everything at once", 2018, 12, 23, {2018, 12, 23}, 1, "12月23日 日曜日 今日、予定2件、天皇誕生日"},
        {"a substitute holiday", 2018, 12, 24, elsewhere, 1, "12月24日 月曜日 振替休日"},
        {"holidays switched off", 2019, 5, 3, elsewhere, 0, "5月3日 金曜日"},
        {"the user's holiday", 2024, 3, 14, elsewhere, 1, "3月14日 木曜日 予定1件、休日"},
        {"the Monday after the user's Sunday holiday", 2024, 3, 11, elsewhere, 1, "3月11日 月曜日 休日"},
        {"the every-year entry in another year", 2031, 12, 11, elsewhere, 1, "12月11日 木曜日 予定1件"},
        {"a weekly entry's later Monday", 2024, 12, 16, elsewhere, 1, "12月16日 月曜日 予定1件"},
        {"no Monday before its first", 2024, 11, 25, elsewhere, 1, "11月25日 月曜日"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(name_of(*list, c.y, c.m, c.d, c.today, c.national), c.want) << c.what;
}

// What the Japanese calendar's switches show of a day, said after the rest.
TEST(DayNames, TheJapaneseCalendarsDays) {
    auto list = std::make_unique<ScheduleList>();
    append_entry(list.get(), make_entry(2024, 12, 21, 0, "忘年会"));
    const Today elsewhere = {2030, 1, 1};
    const DayNameShows rokuyo = {1, 1, 0, 0}, kyureki = {1, 0, 1, 0}, both = {1, 1, 1, 0}, wareki = {1, 0, 0, 1},
                       all = {1, 1, 1, 1}, none = {1, 0, 0, 0};
    const struct {
        const char* what;
        int y, m, d;
        Today today;
        DayNameShows shows;
        const char* want;
    } cases[] = {
        {"switched off", 2024, 12, 21, elsewhere, none, "12月21日 土曜日 予定1件"},
        {"the 六曜", 2024, 12, 10, elsewhere, rokuyo, "12月10日 火曜日 友引"},
        {"the 六曜 after the rest", 2024, 12, 21, {2024, 12, 21}, rokuyo, "12月21日 土曜日 今日、予定1件、先勝"},
        {"the old calendar and the solar term", 2024, 12, 21, elsewhere, kyureki,
         "12月21日 土曜日 予定1件、旧暦 11月21日 先勝、冬至"},
        {"the old calendar's New Year", 2025, 1, 29, elsewhere, kyureki, "1月29日 水曜日 旧暦 1月1日 先勝"},
        {"a leap month", 2023, 3, 22, elsewhere, both, "3月22日 水曜日 旧暦 閏2月1日 友引"},
        {"a 雑節 with the holidays", 2025, 2, 2, elsewhere, kyureki, "2月2日 日曜日 旧暦 1月5日 大安、節分"},
        {"the era year", 2024, 12, 10, elsewhere, wareki, "令和6年12月10日 火曜日"},
        {"the day's own era in a month begun in another", 2019, 5, 1, elsewhere, wareki, "令和元年5月1日 水曜日 天皇の即位の日"},
        {"the last day of an era", 1989, 1, 7, elsewhere, wareki, "昭和64年1月7日 土曜日"},
        {"everything", 1989, 1, 8, elsewhere, all, "平成元年1月8日 日曜日 旧暦 12月1日 赤口"},
        {"a day the month does not have", 2024, 2, 30, elsewhere, all, "2月30日 金曜日"},
    };
    for (const auto& c : cases) {
        char out[256];
        format_day_name(out, sizeof out, day_facts(*list, c.y, c.m, c.d, c.today.y, c.today.m, c.today.d, c.shows));
        EXPECT_STREQ(out, c.want) << c.what;
    }
}

TEST(DayNames, CutToItsBufferOnACharacterBoundary) {
    auto list = std::make_unique<ScheduleList>();
    const DayFacts f = day_facts(*list, 2018, 12, 23, 2018, 12, 23, DayNameShows{1, 1, 1, 1});
    for (size_t size = 1; size < 80; ++size) {
        char out[96];
        std::memset(out, 'x', sizeof out);
        format_day_name(out, size, f);
        const size_t n = std::strlen(out);
        ASSERT_LT(n, size);
        char whole[96];
        format_day_name(whole, sizeof whole, f);
        EXPECT_EQ(std::string(whole).compare(0, n, out), 0) << size << ": a prefix of the whole name";
        // Never the first byte of a double-byte character alone at the end.
        size_t i = 0;
        while (i < n) i += (static_cast<unsigned char>(out[i]) >= 0x81 && static_cast<unsigned char>(out[i]) <= 0x9F) ||
                                   static_cast<unsigned char>(out[i]) >= 0xE0
                               ? 2
                               : 1;
        EXPECT_EQ(i, n) << size;
    }
}

TEST(DayNames, DescriptionIsTheDaysEntries) {
    auto list = std::make_unique<ScheduleList>();
    append_entry(list.get(), make_entry(2024, 12, 11, 0, "会議", 9, 5));
    append_entry(list.get(), make_entry(2024, 12, 12, 0, "other day"));
    append_entry(list.get(), make_entry(-1, 12, 11, 1, "歯医者"));
    char out[128];
    format_day_description(out, sizeof out, *list, 2024, 12, 11);
    EXPECT_STREQ(out, "9:05 会議、歯医者");
    format_day_description(out, sizeof out, *list, 2024, 12, 13);
    EXPECT_STREQ(out, "");
    // Five hundred entries on one day stay within the buffer.
    for (int i = list->count; i < kMaxEntries; ++i) append_entry(list.get(), make_entry(2024, 12, 11, 0, "あいうえお"));
    char small[40];
    format_day_description(small, sizeof small, *list, 2024, 12, 11);
    EXPECT_LT(std::strlen(small), sizeof small);
    EXPECT_EQ(std::string(small).rfind("9:05 会議、", 0), 0u);
}

}  // namespace
