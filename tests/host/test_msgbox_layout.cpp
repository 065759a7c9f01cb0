#include "dialogs/msgbox_layout.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

TEST(MsgBoxButtons, SetsByLowFourBits) {
    struct Case {
        unsigned flags;
        int count, places, ids[3];
        const char* labels[3];
        int preset;
        bool has_cancel;
    } cases[] = {
        {0x00, 1, 2, {1}, {"OK"}, 1, false},
        {0x01, 2, 2, {1, 2}, {"OK", "ｷｬﾝｾﾙ"}, 2, true},
        {0x02, 3, 3, {3, 4, 5}, {"中止", "再試行", "無視"}, 4, false},
        {0x03, 3, 3, {6, 7, 2}, {"はい", "いいえ", "ｷｬﾝｾﾙ"}, 2, true},
        {0x04, 2, 2, {6, 7}, {"はい", "いいえ"}, 7, false},
        {0x05, 2, 2, {4, 2}, {"再試行", "ｷｬﾝｾﾙ"}, 2, true},
        {0x24, 2, 2, {6, 7}, {"はい", "いいえ"}, 7, false},  // icon bits ignored
        {0x131, 2, 2, {1, 2}, {"OK", "ｷｬﾝｾﾙ"}, 2, true},
    };
    for (const auto& c : cases) {
        MsgBoxButtons b;
        msgbox_buttons(c.flags, &b);
        ASSERT_EQ(b.count, c.count) << c.flags;
        EXPECT_EQ(b.places, c.places) << c.flags;
        EXPECT_EQ(b.preset, c.preset) << c.flags;
        EXPECT_EQ(b.has_cancel, c.has_cancel) << c.flags;
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(b.ids[i], c.ids[i]) << c.flags << " button " << i;
            EXPECT_STREQ(b.labels[i], c.labels[i]) << c.flags << " button " << i;
        }
    }
}

TEST(MsgBoxButtons, UndefinedSetsAreAPlainOkBox) {
    for (unsigned set = 6; set <= 15; ++set) {
        MsgBoxButtons b;
        msgbox_buttons(0x30 | set, &b);
        EXPECT_EQ(b.count, 1) << set;
        EXPECT_EQ(b.ids[0], 1) << set;
        EXPECT_EQ(b.preset, 1) << set;
        EXPECT_FALSE(b.has_cancel) << set;
    }
}

TEST(MsgBoxIcon, ClassFromHighFourBitsOfTheLowByte) {
    struct { unsigned flags, icon; } cases[] = {
        {0x00, 0}, {0x10, 0x10}, {0x24, 0x20}, {0x31, 0x30}, {0x40, 0x40},
        {0x50, 0}, {0x70, 0}, {0xF0, 0}, {0x1040, 0x40}, {0x1000, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(msgbox_icon_class(c.flags), c.icon) << c.flags;
}

TEST(MsgBoxSplit, RunsOfLineFeedsGiveOneBreakAndNoEmptyLine) {
    struct { const char* text; std::vector<std::string> lines; } cases[] = {
        {"", {""}},
        {"\n", {""}},
        {"\n\n\n", {""}},
        {"one", {"one"}},
        {"one\ntwo", {"one", "two"}},
        {"one\n\ntwo", {"one", "two"}},
        {"one\n\n\n\ntwo\n", {"one", "two"}},
        {"\none\n", {"one"}},
        {" \n ", {" ", " "}},
        {"スケジュールを編集中です\nスケジュール設定を終了しますか？",
         {"スケジュールを編集中です", "スケジュール設定を終了しますか？"}},
        // 表 and ソ end in the trail byte 0x5C: neither breaks a line.
        {"表\nソ", {"表", "ソ"}},
    };
    ASSERT_STREQ("表ソ", "\x95\x5c\x83\x5c");  // the source text reaches the program as CP932
    for (const auto& c : cases) {
        std::vector<char> buf(c.text, c.text + std::strlen(c.text) + 1);
        const char* lines[kMsgBoxMaxLines];
        int n = msgbox_split_lines(buf.data(), lines, kMsgBoxMaxLines);
        ASSERT_EQ(n, int(c.lines.size())) << c.text;
        for (int i = 0; i < n; ++i) EXPECT_EQ(lines[i], c.lines[i]) << c.text << " line " << i;
    }
}

TEST(MsgBoxSplit, AtMostTwentyLinesAreKept) {
    std::string text;
    for (int i = 0; i < 25; ++i) text += "line" + std::to_string(i) + "\n\n";
    std::vector<char> buf(text.begin(), text.end());
    buf.push_back('\0');
    const char* lines[kMsgBoxMaxLines + 1] = {};
    int n = msgbox_split_lines(buf.data(), lines, kMsgBoxMaxLines);
    ASSERT_EQ(n, kMsgBoxMaxLines);
    EXPECT_STREQ(lines[0], "line0");
    EXPECT_STREQ(lines[19], "line19");
    EXPECT_EQ(lines[20], nullptr);  // nothing written past the limit
}

namespace {

const MsgBoxMeasures kM = {66, 21, 12, 8, 14};  // gap 6

MsgBoxButtons set_of(unsigned flags) {
    MsgBoxButtons b;
    msgbox_buttons(flags, &b);
    return b;
}

}  // namespace

TEST(MsgBoxLayout, SizesAndPlacesFromTheMeasures) {
    struct Case {
        const char* what;
        MsgBoxMeasures m;
        std::vector<int> extents;
        bool icon;
        unsigned flags;
        int w, h, text_x, text_top, icon_y, button_y;
        std::vector<int> buttons;
    } cases[] = {
        {"OK, short text: as wide as two buttons and a gap", kM, {40}, false, 0,
         162, 59, 12, 8, 0, 30, {48}},
        {"Yes/No, two long lines: as wide as the longer line + 8 + margins", kM, {250, 300}, false, 4,
         332, 73, 12, 8, 0, 44, {97, 169}},
        {"Yes/No/Cancel, short text, icon: wide enough for three buttons", kM, {10}, true, 0x23,
         234, 77, 56, 17, 8, 48, {12, 84, 156}},
        {"Abort/Retry/Ignore with no icon", kM, {10}, false, 2,
         234, 59, 12, 8, 0, 30, {12, 84, 156}},
        {"icon beside three long lines: text decides the height", kM, {400, 120, 380}, true, 0x10,
         476, 87, 56, 8, 13, 58, {205}},  // set 0: one OK button, centred
        {"odd gap: margins stay equal", {65, 21, 13, 7, 15}, {1}, false, 1,
         162, 57, 13, 7, 0, 29, {13, 84}},
        {"twenty lines", kM, std::vector<int>(20, 100), false, 5,
         162, 325, 12, 8, 0, 296, {12, 84}},
    };
    for (const auto& c : cases) {
        MsgBoxButtons b = set_of(c.flags);
        MsgBoxLayout l;
        msgbox_layout(c.m, c.extents.data(), int(c.extents.size()), c.icon, b, &l);
        EXPECT_EQ(l.client_w, c.w) << c.what;
        EXPECT_EQ(l.client_h, c.h) << c.what;
        EXPECT_EQ(l.text_x, c.text_x) << c.what;
        EXPECT_EQ(l.text_top, c.text_top) << c.what;
        if (c.icon) {
            EXPECT_EQ(l.icon_x, c.m.mx) << c.what;
            EXPECT_EQ(l.icon_y, c.icon_y) << c.what;
        }
        EXPECT_EQ(l.button_y, c.button_y) << c.what;
        ASSERT_EQ(b.count, int(c.buttons.size())) << c.what;
        for (int i = 0; i < b.count; ++i) EXPECT_EQ(l.button_x[i], c.buttons[i]) << c.what << " " << i;
    }
}

TEST(MsgBoxLayout, ButtonsStayInsideTheMarginsForEverySetAndWidth) {
    for (unsigned set = 0; set <= 5; ++set) {
        MsgBoxButtons b = set_of(set);
        for (int extent : {0, 1, 50, 151, 152, 153, 700}) {
            for (bool icon : {false, true}) {
                MsgBoxLayout l;
                msgbox_layout(kM, &extent, 1, icon, b, &l);
                EXPECT_GE(l.button_x[0], kM.mx) << set << " " << extent;
                EXPECT_LE(l.button_x[b.count - 1] + kM.bw, l.client_w - kM.mx + 1) << set << " " << extent;
                for (int i = 1; i < b.count; ++i)
                    EXPECT_EQ(l.button_x[i] - (l.button_x[i - 1] + kM.bw), kM.mx / 2) << set;
                // The text fits between its left edge and the right margin.
                EXPECT_LE(l.text_x + extent + 8, l.client_w - kM.mx) << set << " " << extent;
                EXPECT_GE(l.button_y, l.text_top + kM.line_height) << set << " " << extent;
            }
        }
    }
}

TEST(MsgBoxPlace, CentredOverTheOwnerAndKeptOnTheScreen) {
    struct Case {
        const char* what;
        MsgBoxRect owner;
        int w, h, x, y;
    } cases[] = {
        {"centred", {100, 100, 500, 400}, 200, 100, 200, 200},
        {"no owner: centred on the screen", {0, 0, 1024, 768}, 301, 101, 362, 334},
        {"owner near the right edge: ends at the edge", {900, 100, 1100, 300}, 300, 100, 724, 150},
        {"owner near the bottom edge", {100, 700, 300, 768}, 200, 150, 100, 618},
        {"touching the edge is not moved", {824, 668, 1024, 768}, 200, 100, 824, 668},
        {"owner off the top left: to 0", {-300, -200, 100, 100}, 200, 100, 0, 0},
        {"minimised owner far off screen", {-32000, -32000, -31840, -31973}, 200, 100, 0, 0},
        {"larger than the screen keeps its caption on it", {0, 0, 1024, 768}, 1100, 800, 0, 0},
    };
    for (const auto& c : cases) {
        int x = -1, y = -1;
        msgbox_place(c.owner, c.w, c.h, 1024, 768, &x, &y);
        EXPECT_EQ(x, c.x) << c.what;
        EXPECT_EQ(y, c.y) << c.what;
    }
}
