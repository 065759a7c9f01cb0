// Export and import through the file layer, with every way a file can fail, and the one
// message the user gets afterwards.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/fileio.h"
#include "entry_maker.h"
#include "ical_test_support.h"
#include "schedule/ical_file.h"
#include "schedule/ical_messages.h"

namespace {

using namespace ical_test;

class MemoryFile : public FileIO {
public:
    bool exists = true, readable = true, writable = true;
    uint64_t claimed_size = 0;  // what stamp() reports; 0: the real size
    std::string data = "old";
    int reads = 0;

    FileStamp stamp(const char*) override {
        FileStamp s;
        s.exists = exists;
        s.size = claimed_size ? claimed_size : data.size();
        return s;
    }
    bool read_all(const char*, std::string* out) override {
        ++reads;
        *out = data;
        return readable;
    }
    bool write_atomic(const char*, const char* d, size_t n) override {
        if (writable) data.assign(d, n);
        return writable;
    }
};

TEST(IcalFile, ImportResults) {
    const std::string good = calendar(event({"DTSTART;VALUE=DATE:20240115"}, "m"));
    struct {
        const char* name;
        bool exists, readable;
        uint64_t claimed;
        std::string data;
        IcalFileResult result;
        int reads;
        const char* message;  // nullptr: the counts' message
    } cases[] = {
        {"read", true, true, 0, good, IcalFileResult::kDone, 1, nullptr},
        {"missing", false, true, 0, good, IcalFileResult::kReadFailed, 0, kIcalReadFailed},
        {"unreadable", true, false, 0, good, IcalFileResult::kReadFailed, 1, kIcalReadFailed},
        {"too large", true, true, kIcalMaxFileBytes + 1, good, IcalFileResult::kTooLarge, 0,
         kIcalTooLarge},
        {"at the limit", true, true, kIcalMaxFileBytes, good, IcalFileResult::kDone, 1, nullptr},
        {"not a calendar", true, true, 0, "hello", IcalFileResult::kNotCalendar, 1,
         kIcalNotCalendar},
    };
    for (const auto& c : cases) {
        MemoryFile f;
        f.exists = c.exists, f.readable = c.readable, f.claimed_size = c.claimed, f.data = c.data;
        std::vector<ScheduleEntry> list(kMaxEntries);
        list[0] = make_entry(2030, 1, 1, 0, "before");
        int count = 1;
        IcalImportCounts n;
        EXPECT_EQ(
            ical_import_file(&f, "x.ics", ical_host::japan(), list.data(), &count, kMaxEntries, &n),
            c.result)
            << c.name;
        EXPECT_EQ(f.reads, c.reads) << c.name;
        // Untouched unless read: the entry there before stays; the file's comes in, sorted.
        std::vector<std::string> want = {"2030-1-1 [before]"};
        if (c.result == IcalFileResult::kDone) want.insert(want.begin(), "2024-1-15 [m]");
        EXPECT_EQ(describe_all({list.begin(), list.begin() + count}), want) << c.name;
        char msg[kIcalMessageSize], counts_msg[kIcalMessageSize];
        ical_import_result_message(c.result, n, kMaxEntries, false, msg, sizeof msg);
        ical_import_message(n, kMaxEntries, false, counts_msg, sizeof counts_msg);
        EXPECT_STREQ(msg, c.message ? c.message : counts_msg) << c.name;
    }
}

TEST(IcalFile, ExportResults) {
    const std::vector<ScheduleEntry> list = {make_entry(2004, 5, 5, 0, "m"),
                                             make_entry(-1, 5, 99, 0, "none")};
    char msg[kIcalMessageSize];
    for (bool writable : {true, false}) {
        MemoryFile f;
        f.writable = writable;
        IcalExportCounts c;
        const IcalFileResult r = ical_export_file(&f, "x.ics", list.data(), 2, ical_host::japan(),
                                                  IcalTime{2024, 5, 1, 3, 4, 5}, &c);
        EXPECT_EQ(r, writable ? IcalFileResult::kDone : IcalFileResult::kWriteFailed);
        EXPECT_EQ(f.data, writable ? export_text(list) : "old");  // replaced whole or not at all
        ical_export_result_message(r, c, msg, sizeof msg);
        EXPECT_STREQ(
            msg,
            writable
                ? "1 件の予定を書き出しました。\n日付の定まらない予定 1 件は書き出していません。"
                : kIcalWriteFailed);
    }
    ical_export_message(IcalExportCounts{3, 0}, msg, sizeof msg);
    EXPECT_STREQ(msg, "3 件の予定を書き出しました。");
}

TEST(IcalFile, ImportMessage) {
    char msg[kIcalMessageSize];
    ical_import_message({3, 3, 0, 0, 0, 0, 0, 0}, kMaxEntries, false, msg, sizeof msg);
    EXPECT_STREQ(msg,
                 "3 件の予定を読み込みました。\n\n追加した予定: 3 件\n登録済みの予定: 0 件\n"
                 "変更して追加した予定: 0 件\n追加しなかった予定: 0 件");
    ical_import_message({10, 4, 1, 2, 1, 2, 3, 2}, kMaxEntries, true, msg, sizeof msg);
    EXPECT_STREQ(msg,
                 "10 件の予定を読み込みました。\n\n追加した予定: 4 件\n登録済みの予定: 1 件\n"
                 "変更して追加した予定: 2 件\n    繰り返しを最初の1回だけにした予定: 2 件\n"
                 "    アラームを外した予定: 1 件\n追加しなかった予定: 5 件\n"
                 "    登録数が上限の500件に達したため: 3 件\n"
                 "    読み取れないか、日付が1980年から2079年の外にあるため: 2 件\n\n"
                 "設定ファイルに保存できませんでした。");
    IcalImportCounts sound = {2, 2, 0, 0, 0, 1, 0, 0};
    sound.sound_refused = 1;
    ical_import_message(sound, kMaxEntries, false, msg, sizeof msg);
    EXPECT_STREQ(msg,
                 "2 件の予定を読み込みました。\n\n追加した予定: 2 件\n登録済みの予定: 0 件\n"
                 "変更して追加した予定: 1 件\n"
                 "    音のファイルがこのコンピューターのディスク上にないため、標準の音にした予定: 1 件\n"
                 "追加しなかった予定: 0 件");
    IcalImportCounts again = {5, 1, 2, 0, 0, 0, 0, 0};
    again.updated = 1;
    again.cancelled = 1;
    ical_import_message(again, kMaxEntries, false, msg, sizeof msg);
    EXPECT_STREQ(msg,
                 "5 件の予定を読み込みました。\n\n追加した予定: 1 件\n更新した予定: 1 件\n"
                 "登録済みの予定: 2 件\n変更して追加した予定: 0 件\n追加しなかった予定: 1 件\n"
                 "    取り消された予定か、繰り返しに日付がないため: 1 件");
}

}  // namespace
