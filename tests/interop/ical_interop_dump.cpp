// Writes the calendar file of a full schedule (500 entries of every kind: repeating, spanning,
// with end times, leads of minutes, hours and days and day alarms, some with no day to write)
// and, beside it, what each written event must show: its memo, time, end, alarm, holiday flag,
// every day 1980..2079 on which this program shows the entry and every instant its alarm
// rings at. check_ical.py reads both with a parser we did not write.
//
// Usage: ical_interop_dump <directory>   (writes schedule.ics and expected.json there)
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "calendar/filetime.h"
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
    // Series of every kind, with ends, skipped days, spans, end times and alarms.
    for (int i = 0; i < 60; ++i) {
        std::snprintf(memo, sizeof memo, "繰り返し%02d", i);
        const bool timed = i % 2 == 0;
        ScheduleEntry e = entry(1980 + (i * 7) % 95, 1 + i % 12, 1 + (i * 5) % 28, memo,
                                timed ? (i * 3) % 24 : -1, timed ? (i * 13) % 60 : -1);
        RepeatRule& r = e.repeat;
        r.interval = (uint8_t)(1 + i % 3);
        switch (i % 5) {
        case 0:
            r.kind = RepeatKind::kDaily;
            r.interval = (uint8_t)(3 + i % 9);
            break;
        case 1:
            r.kind = RepeatKind::kWeekly;
            r.weekdays = (uint8_t)(1u << (i % 7) | 1u << ((i + 3) % 7));
            r.week_start = (uint8_t)(i % 2);
            break;
        case 2:
            r.kind = RepeatKind::kMonthlyByDay;
            r.month_days = 1u << e.day | (i % 3 == 0 ? kMonthLastDay : 0u);
            break;
        case 3:
            r.kind = RepeatKind::kMonthlyByWeekday;
            r.nth_weekdays[i % 4] = (uint8_t)(1u << (i % 7));
            r.nth_weekdays[kNthLast] = (uint8_t)(1u << ((i + 2) % 7));
            break;
        default:
            r.kind = RepeatKind::kYearly;
            break;
        }
        if (i % 3 == 1) {
            r.end = RepeatEnd::kCount;
            r.count = (uint16_t)(5 + i * 3);
        } else if (i % 3 == 2) {
            r.end = RepeatEnd::kUntil;
            r.until = (e.year + 1 + i % 6) * 10000 + 1228;
        }
        // Skipped days: the second and fifth occurrences.
        CalendarDate days[6];
        const int n = entry_days_between(e, CalendarDate{e.year, e.month, e.day},
                                         CalendarDate{2079, 12, 31}, days, 6);
        for (int k : {1, 4})
            if (k < n && i % 4 != 3) entry_skip_day(&e, days[k]);
        if (i % 4 == 1) e.span_days = (int16_t)(1 + i % 3);
        if (timed && i % 4 != 2) {
            e.has_end_time = 1;
            e.end_hour = (int8_t)(e.span_days ? (i * 7) % 24 : 23);
            e.end_minute = (int8_t)(e.span_days ? 0 : 59);
        }
        if (timed) {
            e.alarm_kind = (uint8_t)(1 + i % 3);
            const int leads[] = {15, 120, 2880, 150, 0};
            e.minutes_before = leads[i % 5];
            e.lead_unit = i % 5 == 1 ? LeadUnit::kHours : i % 5 == 2 ? LeadUnit::kDays : LeadUnit::kMinutes;
        } else if (i % 3 != 0) {
            e.alarm_kind = (uint8_t)(1 + i % 2);
            e.day_alarm = 1;
            e.day_alarm_minute = (int16_t)(i % 2 ? -900 : 540);
        }
        if (e.alarm_kind == 3) std::snprintf(e.sound_file, sizeof e.sound_file, "C:\\s%d.wav", i);
        entry_settle(&e);
        entry_update_alarm_at(&e);
        list.push_back(e);
    }
    // Spans and end times without a rule.
    list.push_back(entry(2024, 8, 12, "夏休み"));
    list.back().span_days = 4;
    list.push_back(entry(2024, 12, 31, "年越し", 22, 0));
    list.back().span_days = 1, list.back().has_end_time = 1, list.back().end_hour = 1;
    list.push_back(entry(2024, 5, 5, "零時まで", 20, 0));
    list.back().span_days = 1, list.back().has_end_time = 1;
    list.push_back(entry(2024, 6, 6, "二日間", 9, 0));
    list.back().span_days = 1;
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

// Every instant the entry's alarm rings at for its occurrences starting 1980..2079, as local
// wall times "yyyy-mm-ddThh:mm".
std::string alarm_instants(const ScheduleEntry& e) {
    static OccurrenceAlarm rings[40000];
    const int n = entry_alarms_between(e, alarm_instant(1979, 12, 20, 0, 0),
                                       alarm_instant(2080, 1, 2, 0, 0), rings, 40000);
    std::string out;
    for (int i = 0; i < n; ++i) {
        if (rings[i].day.year < 1980 || rings[i].day.year > 2079) continue;
        LocalTime t;
        if (!filetime_to_wall_time(rings[i].at, &t)) continue;
        char b[32];
        std::snprintf(b, sizeof b, "%s\"%04d-%02d-%02dT%02d:%02d\"", out.empty() ? "" : ",", t.year,
                      t.month, t.day, t.hour, t.minute);
        out += b;
    }
    return out;
}

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
        char end[16] = "null";
        if (e.has_time && e.has_end_time)
            std::snprintf(end, sizeof end, "\"%02d:%02d\"", e.end_hour, e.end_minute);
        char time[16] = "null";
        if (e.has_time) std::snprintf(time, sizeof time, "\"%02d:%02d\"", e.hour, e.minute);
        std::string alarm = "null";
        if ((e.has_time || e.day_alarm) && e.alarm_kind) {
            alarm = "{\"action\": \"" + std::string(e.alarm_kind == 1 ? "DISPLAY" : "AUDIO") +
                    "\", \"at\": [" + alarm_instants(e) + "], \"attach\": " +
                    (e.alarm_kind == 3 ? json_string(utf8(e.sound_file).c_str()) : "null") + "}";
        }
        json += std::string(written++ ? ",\n" : "") + "{\"uid\": " + json_string(uid) +
                ", \"summary\": " + json_string(utf8(e.memo).c_str()) + ", \"time\": " + time +
                ", \"end\": " + end +
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
