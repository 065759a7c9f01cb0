// The dated texts with 和暦 on, at the era boundaries: the month header and the title name
// the era the month begins in, the tray tip and the day contents' header the era of the day;
// the English forms keep the Western year, and with 和暦 off every text stays as it was.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/main_layout.h"
#include "app/month_layout.h"
#include "calendar/date.h"
#include "dialogs/schedule_lists.h"

namespace {

TEST(EraTexts, AtTheEraBoundaries) {
    const struct {
        int y, m, d;
        const char *header, *title, *tip, *list;
    } cases[] = {
        {1980, 1, 1, "昭和55年 1月", "Tavelspore 昭和55年1月", "昭和55年1月1日(火) 元日",
         "昭和55年 1月 1日(火)"},
        {1989, 1, 7, "昭和64年 1月", "Tavelspore 昭和64年1月", "昭和64年1月7日(土)",
         "昭和64年 1月 7日(土)"},
        // The month began in 昭和: its header and title keep 昭和64年 after the 8th.
        {1989, 1, 8, "昭和64年 1月", "Tavelspore 昭和64年1月", "平成元年1月8日(日)",
         "平成元年 1月 8日(日)"},
        {1989, 2, 1, "平成元年 2月", "Tavelspore 平成元年2月", "平成元年2月1日(水)",
         "平成元年 2月 1日(水)"},
        {1990, 1, 1, "平成2年 1月", "Tavelspore 平成2年1月", "平成2年1月1日(月) 元日",
         "平成2年 1月 1日(月)"},
        {2019, 4, 30, "平成31年 4月", "Tavelspore 平成31年4月", "平成31年4月30日(火) 国民の休日",
         "平成31年 4月30日(火)"},
        {2019, 5, 1, "令和元年 5月", "Tavelspore 令和元年5月", "令和元年5月1日(水) 天皇の即位の日",
         "令和元年 5月 1日(水)"},
        {2020, 1, 1, "令和2年 1月", "Tavelspore 令和2年1月", "令和2年1月1日(水) 元日",
         "令和2年 1月 1日(水)"},
        {2026, 12, 8, "令和8年 12月", "Tavelspore 令和8年12月", "令和8年12月8日(火)",
         "令和8年12月 8日(火)"},
        {2079, 12, 31, "令和61年 12月", "Tavelspore 令和61年12月", "令和61年12月31日(日)",
         "令和61年12月31日(日)"},
    };
    char buf[64];
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        format_month_header(buf, sizeof buf, 1, c.y, c.m, 1);
        EXPECT_STREQ(buf, c.header);
        format_window_title(buf, sizeof buf, 1, c.y, c.m, 1);
        EXPECT_STREQ(buf, c.title);
        format_tray_tip(buf, sizeof buf, c.y, c.m, c.d, 1, 1);
        EXPECT_STREQ(buf, c.tip);
        format_list_header(buf, sizeof buf, c.y, c.m, c.d, 1);
        EXPECT_STREQ(buf, c.list);

        // 和暦 off: the Western year as ever; English names keep it with 和暦 on too.
        char western[64];
        format_month_header(buf, sizeof buf, 1, c.y, c.m, 0);
        EXPECT_EQ(std::string(buf), std::to_string(c.y) + "年 " + std::to_string(c.m) + "月");
        format_window_title(buf, sizeof buf, 1, c.y, c.m, 0);
        EXPECT_EQ(std::string(buf), "Tavelspore " + std::to_string(c.y) + "年" + std::to_string(c.m) + "月");
        format_month_header(buf, sizeof buf, 0, c.y, c.m, 1);
        format_month_header(western, sizeof western, 0, c.y, c.m, 0);
        EXPECT_STREQ(buf, western);
        format_window_title(buf, sizeof buf, 0, c.y, c.m, 1);
        format_window_title(western, sizeof western, 0, c.y, c.m, 0);
        EXPECT_STREQ(buf, western);
        format_date_tip(buf, sizeof buf, c.y, c.m, c.d, 0);
        EXPECT_EQ(std::string(buf).find(std::to_string(c.y) + "年"), 0u);
    }
}

// The notification area keeps 63 bytes of a tip: every day's tip, with the era year (never
// shorter than the Western one) and the longest holiday names, fits whole.
TEST(EraTexts, EveryTipFitsTheNotificationArea) {
    size_t longest = 0;
    for (int y = 1980; y <= 2079; ++y)
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= days_in_month(m, y); ++d) {
                char tip[128];
                format_tray_tip(tip, sizeof tip, y, m, d, 1, 1);
                longest = std::max(longest, std::strlen(tip));
            }
    EXPECT_LE(longest, 63u);
}

}  // namespace
