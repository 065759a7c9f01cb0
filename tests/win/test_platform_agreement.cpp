// The portable core against the platform it stands in for: the date conversion against
// SystemTimeToFileTime, the code page 932 walk against IsDBCSLeadByte/CharNextA, and the
// memo order against lstrcmpA.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

#include "calendar/filetime.h"
#include "config/cp932.h"
#include "schedule/entry.h"
#include "schedule/entry_dates.h"
#include "tests/host/test_records.h"

namespace {

bool platform_filetime(int y, int mo, int d, int h, int mi, uint64_t* out) {
    SYSTEMTIME st = {};
    st.wYear = WORD(y);
    st.wMonth = WORD(mo);
    st.wDay = WORD(d);
    st.wHour = WORD(h);
    st.wMinute = WORD(mi);
    FILETIME ft;
    if (!SystemTimeToFileTime(&st, &ft)) return false;
    *out = (uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
    return true;
}

// Two places where Wine's conversion is looser than the Windows one it implements: it takes
// 29 February of every year, and it has no upper bound on the year (so year -1, stored as
// 65535, converts). The program must behave as on Windows, so those inputs are checked to be
// rejected by our conversion instead of compared.
bool wine_is_looser(int y, int mo, int d) {
    int wy = y & 0xFFFF;
    bool leap = (wy % 4 == 0 && wy % 100 != 0) || wy % 400 == 0;
    return wy > 30827 || (mo == 2 && d == 29 && !leap);
}

}  // namespace

TEST(PlatformLocale, AnsiCodePageIs932) { EXPECT_EQ(GetACP(), 932u); }

TEST(AlarmInstant, AgreesWithSystemTimeToFileTime) {
    const int years[] = {-1, 0, 1600, 1601, 1979, 1980, 1999, 2000, 2003, 2004, 2038, 2079, 2100,
                         9999, 30827, 30828, 65536 + 2004};
    const int hm[][2] = {{-1, -1}, {0, 0}, {9, 0}, {23, 59}, {24, 0}, {0, 60}, {12, -1}};
    int compared = 0, valid = 0;
    for (int y : years) {
        for (int mo = -1; mo <= 13; ++mo) {
            for (int d = -1; d <= 32; ++d) {
                for (const auto& t : hm) {
                    uint64_t ours = 0, theirs = 0;
                    bool ok_ours = wall_time_to_filetime(y, mo, d, t[0], t[1], 0, 0, &ours);
                    bool ok_theirs = platform_filetime(y, mo, d, t[0], t[1], &theirs);
                    if (wine_is_looser(y, mo, d)) {
                        ASSERT_FALSE(ok_ours) << y << "-" << mo << "-" << d;
                        continue;
                    }
                    ASSERT_EQ(ok_ours, ok_theirs) << y << "-" << mo << "-" << d << " " << t[0] << ":" << t[1];
                    if (ok_theirs) {
                        ASSERT_EQ(ours, theirs) << y << "-" << mo << "-" << d << " " << t[0] << ":" << t[1];
                        ++valid;
                    }
                    ++compared;
                }
            }
        }
    }
    EXPECT_GT(valid, 1000);
    EXPECT_GT(compared, valid);
}

TEST(AlarmInstant, ComputeAlarmAtMatchesPlatformForStoredRanges) {
    // The loaders accept two-digit months and days: every one of them must convert like the
    // platform does (or fail like it), never read outside a table.
    for (int mo = 0; mo <= 99; ++mo) {
        for (int d = 0; d <= 99; ++d) {
            ScheduleEntry e;
            entry_blank(&e);
            e.year = 2003; e.month = mo; e.day = d; e.hour = 9; e.minute = 30;
            e.has_time = 1; e.minutes_before = 15; e.alarm_kind = 1;
            compute_alarm_at(&e);
            uint64_t theirs = 0;
            if (platform_filetime(2003, mo, d, 9, 30, &theirs) && !wine_is_looser(2003, mo, d))
                ASSERT_EQ(e.alarm_at, theirs - 15 * 600000000ULL) << mo << "/" << d;
            else
                ASSERT_EQ(e.alarm_at, 0u) << mo << "/" << d;
        }
    }
}

TEST(Cp932, LeadByteTestAgreesWithIsDBCSLeadByte) {
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(cp932_is_lead(static_cast<unsigned char>(b)), IsDBCSLeadByte(BYTE(b)) != 0) << b;
        EXPECT_EQ(cp932_is_lead(static_cast<unsigned char>(b)), IsDBCSLeadByteEx(932, BYTE(b)) != 0) << b;
    }
}

TEST(Cp932, CharacterWalkAgreesWithCharNextA) {
    std::mt19937 rng(932);
    const unsigned char interesting[] = {'a', '\\', '/', '.', 0x5C, 0x81, 0x95, 0x9F, 0xA0, 0xDF, 0xE0, 0xFC, 0xFD, 0x40, 0x7F, 0x80};
    for (int round = 0; round < 3000; ++round) {
        char s[24];
        int n = int(rng() % 23);
        for (int i = 0; i < n; ++i) {
            s[i] = char(rng() % 2 ? interesting[rng() % sizeof interesting] : rng() % 255 + 1);
        }
        s[n] = '\0';
        const char* ours = s;
        const char* theirs = s;
        for (int steps = 0; steps <= n + 1; ++steps) {
            ASSERT_EQ(ours - s, theirs - s) << "round " << round << " step " << steps;
            ours = cp932_next(ours);
            theirs = CharNextA(theirs);
        }
        ASSERT_EQ(*ours, '\0');  // the walk ends on the terminator and stays there
    }
}

TEST(MemoOrder, SortUsesLocaleAwareComparison) {
    const char* memos[] = {"b", "B", "a", "A", "会議", "10", "9", "-x", "x", "ab", "aB"};
    const int n = int(sizeof memos / sizeof memos[0]);
    set_memo_compare([](const char* a, const char* b) { return lstrcmpA(a, b); });
    schedule.count = 0;
    for (int i = 0; i < n; ++i) {
        ScheduleEntry e;
        entry_blank(&e);
        e.year = 2004; e.month = 5; e.day = 5;
        std::strcpy(e.memo, memos[i]);
        ASSERT_EQ(schedule_add(&schedule, &e), 1);
    }
    schedule_sort(&schedule);
    for (int i = 0; i + 1 < schedule.count; ++i)
        EXPECT_LE(lstrcmpA(schedule.entries[i].memo, schedule.entries[i + 1].memo), 0)
            << schedule.entries[i].memo << " before " << schedule.entries[i + 1].memo;
    // Locale order puts lower case "a" before "B", unlike byte order: the comparison really
    // came from the platform.
    int pos_a = -1, pos_B = -1;
    for (int i = 0; i < schedule.count; ++i) {
        if (!std::strcmp(schedule.entries[i].memo, "a")) pos_a = i;
        if (!std::strcmp(schedule.entries[i].memo, "B")) pos_B = i;
    }
    EXPECT_LT(pos_a, pos_B);
    set_memo_compare(nullptr);
    schedule.count = 0;
}
