// Writes the calendar file of a full schedule (500 entries of every kind, some with no day to
// write) and, beside it, what each written event must show: its memo, time, alarm, holiday
// flag and every day 1980..2079 on which this program shows the entry. check_ical.py reads
// both with a parser we did not write.
//
// Usage: ical_interop_dump <directory>   (writes schedule.ics and expected.json there)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "schedule/entry_dates.h"
#include "schedule/entry.h"
#include "schedule/ical_write.h"
#include "tests/host/ical_host_platform.h"

namespace {

ScheduleEntry entry(int y, int m, int d, const char* memo, int hour = -1, int minute = -1) {
    ScheduleEntry e;
    entry_blank(&e);
    e.year = y;
    e.month = m;
    e.day = d;
    std::snprintf(e.memo, sizeof e.memo, "%s", memo);
    if (hour >= 0) {
        e.has_time = 1;
        e.hour = hour;
        e.minute = minute;
    }
    return e;
}

std::vector<ScheduleEntry> full_schedule() {
    std::vector<ScheduleEntry> list;
    char memo[96];
    for (int m = 1; m <= 12; ++m) {
        std::snprintf(memo, sizeof memo, "%d月第2月曜", m);
        list.push_back(entry(-1, m, kDaySecondMonday, memo));
        std::snprintf(memo, sizeof memo, "%d月第3月曜", m);
        list.push_back(entry(-1, m, kDayThirdMonday, memo, m, 5 * m % 60));
        std::snprintf(memo, sizeof memo, "%d月??日", m);
        list.push_back(entry(-1, m, kDayMovable, memo));  // written only for 1, 3, 9, 10
        std::snprintf(memo, sizeof memo, "%d月??日 朝", m);
        list.push_back(entry(-1, m, kDayMovable, memo, 7, 0));
    }
    list.push_back(entry(-1, 2, 29, "閏日"));
    list.push_back(entry(-1, 12, 31, "大晦日 23:30", 23, 30));
    list.push_back(entry(-1, 4, 31, "ない日"));      // no day: not written
    list.push_back(entry(2004, 2, 30, "ない日付"));  // no day: not written
    list.push_back(entry(1975, 6, 1, "範囲外"));     // no day: not written
    list.push_back(entry(2004, 7, kDaySecondMonday, "年付きの第2月曜"));
    list.push_back(entry(2079, 12, 31, "最後の日", 23, 59));
    list.push_back(entry(1980, 1, 1, "最初の日", 0, 0));
    list.push_back(entry(2005, 5, 5, "記号 , ; \\ : \" と表ソ能"));
    std::string m80;
    while (m80.size() + 2 <= 80)
        m80 += (m80.size() / 2) % 3 == 0 ? "表" : ((m80.size() / 2) % 3 == 1 ? "ソ" : "能");
    list.push_back(entry(2006, 6, 6, m80.c_str(), 12, 0));
    list.push_back(entry(
        2006, 6, 7,
        "ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜｦﾝｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙ"));
    // The rest: dated and every-year entries spread over the range, with times, alarms of
    // every kind, holidays and scrambled ones.
    unsigned x = 2024;
    for (int i = 0; list.size() < (size_t)kMaxEntries; ++i) {
        x = x * 1103515245u + 12345u;
        const int month = 1 + (int)(x >> 8) % 12;
        const int day = 1 + (int)(x >> 12) % 28;
        const bool every = i % 4 == 0;
        const bool timed = i % 3 != 0;
        std::snprintf(memo, sizeof memo, "予定%03d %s", i, i % 5 ? "会議" : "祭日");
        ScheduleEntry e = entry(every ? -1 : 1980 + (int)(x >> 16) % 100, month, day, memo,
                                timed ? (int)(x >> 4) % 24 : -1, timed ? (int)(x >> 20) % 60 : -1);
        e.holiday = i % 5 == 0;
        e.scramble = i % 7 == 0;
        if (timed) {
            e.alarm_kind = (uint8_t)(i % 4);
            e.minutes_before = (int)(x >> 24) % 100;
            if (e.alarm_kind == 3)
                std::snprintf(e.sound_file, sizeof e.sound_file, "C:\\サウンド\\%d.wav", i);
        }
        list.push_back(e);
    }
    return list;
}

std::string json_string(const char* s) {
    std::string out = "\"";
    for (const unsigned char* p = (const unsigned char*)s; *p; ++p) {
        if (*p == '"' || *p == '\\') {
            out += '\\';
            out += (char)*p;
        } else if (*p < 0x20) {
            char u[8];
            std::snprintf(u, sizeof u, "\\u%04x", *p);
            out += u;
        } else {
            out += (char)*p;
        }
    }
    return out + "\"";
}

std::string utf8(const char* cp932) {
    char buf[1024];
    ical_host::to_utf8(nullptr, cp932, buf, sizeof buf);
    return buf;
}

bool write_file(const std::string& path, const std::string& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <directory>\n", argv[0]);
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/";
    const std::vector<ScheduleEntry> list = full_schedule();

    std::string ics;
    IcalExportCounts counts;
    ical_write(list.data(), (int)list.size(), ical_host::japan(), IcalTime{2024, 1, 2, 3, 4, 5},
               &ics, &counts);

    std::string json = "{\n\"entries\": " + std::to_string(list.size()) +
                       ",\n\"not_written\": " + std::to_string(counts.no_day) +
                       ",\n\"events\": [\n";
    int written = 0;
    for (const ScheduleEntry& e : list) {
        // The days the month view marks for this entry alone, in every month of every year.
        std::string dates;
        for (int y = 1980; y <= 2079; ++y) {
            for (int m = 1; m <= 12; ++m) {
                const DayMarks marks = month_marks(&e, 1, y, m);
                for (int d = 1; d <= 31; ++d) {
                    if (!(((marks.holiday | marks.marked) >> d) & 1)) continue;
                    char date[24];
                    std::snprintf(date, sizeof date, "%s\"%04d-%02d-%02d\"",
                                  dates.empty() ? "" : ",", y, m, d);
                    dates += date;
                }
            }
        }
        if (dates.empty()) continue;
        char uid[64];
        ical_entry_uid(&e, 0, uid, sizeof uid);
        char time[16] = "null";
        if (e.has_time) std::snprintf(time, sizeof time, "\"%02d:%02d\"", e.hour, e.minute);
        std::string alarm = "null";
        if (e.has_time && e.alarm_kind) {
            alarm = "{\"action\": \"" + std::string(e.alarm_kind == 1 ? "DISPLAY" : "AUDIO") +
                    "\", \"minutes\": " + std::to_string(e.minutes_before) + ", \"attach\": " +
                    (e.alarm_kind == 3 ? json_string(utf8(e.sound_file).c_str()) : "null") + "}";
        }
        json += std::string(written++ ? ",\n" : "") + "{\"uid\": " + json_string(uid) +
                ", \"summary\": " + json_string(utf8(e.memo).c_str()) + ", \"time\": " + time +
                ", \"alarm\": " + alarm + ", \"holiday\": " + (e.holiday ? "true" : "false") +
                ", \"dates\": [" + dates + "]}";
    }
    json += "\n]\n}\n";
    if (written != counts.written) {
        std::fprintf(stderr, "ical_interop_dump: %d events expected, %d written\n", written,
                     counts.written);
        return 1;
    }
    if (!write_file(dir + "schedule.ics", ics) || !write_file(dir + "expected.json", json)) {
        std::fprintf(stderr, "ical_interop_dump: cannot write to %s\n", dir.c_str());
        return 1;
    }
    std::printf("ical_interop_dump: %d entries, %d events written, %d without a day\n",
                (int)list.size(), counts.written, counts.no_day);
    return 0;
}
