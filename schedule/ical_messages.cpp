#include "schedule/ical_messages.h"

#include <stdarg.h>
#include <stdio.h>

const char kIcalFilter[] = "iCalendar (*.ics)|*.ics|";
const char kIcalExportTitle[] =
    "Tavelspore - iCalendar形式で書き出す (メモは暗号化されずに書き出されます)";
const char kIcalImportTitle[] = "Tavelspore - iCalendar形式を読み込む";
const char kIcalNotCalendar[] = "iCalendar形式のファイルではないため、読み込めませんでした。";
const char kIcalReadFailed[] = "ファイルを読み込めませんでした。";
const char kIcalTooLarge[] = "ファイルが大きすぎるため、読み込めませんでした。";
const char kIcalWriteFailed[] = "ファイルに書き出せませんでした。";

namespace {

// Appends to a NUL-terminated text in out[size], cutting what does not fit.
void add(char* out, size_t size, size_t* used, const char* fmt, ...) {
    if (*used >= size - 1) return;
    va_list ap;
    va_start(ap, fmt);
    const int n = vsnprintf(out + *used, size - *used, fmt, ap);
    va_end(ap);
    if (n > 0) *used += (size_t)n < size - *used ? (size_t)n : size - *used - 1;
}

}  // namespace

void ical_import_message(const IcalImportCounts& c, int max, bool save_failed, char* out,
                         size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    size_t used = 0;
    add(out, size, &used, "%d 件の予定を読み込みました。\n\n", c.read);
    add(out, size, &used, "追加した予定: %d 件\n", c.added);
    add(out, size, &used, "登録済みの予定: %d 件\n", c.already);
    add(out, size, &used, "変更して追加した予定: %d 件\n", c.changed);
    if (c.recurrence_cut)
        add(out, size, &used, "    繰り返しを最初の1回だけにした予定: %d 件\n", c.recurrence_cut);
    if (c.alarm_cut) add(out, size, &used, "    アラームを外した予定: %d 件\n", c.alarm_cut);
    add(out, size, &used, "追加しなかった予定: %d 件\n", c.full + c.unreadable);
    if (c.full) add(out, size, &used, "    登録数が上限の%d件に達したため: %d 件\n", max, c.full);
    if (c.unreadable)
        add(out, size, &used, "    読み取れないか、日付が1980年から2079年の外にあるため: %d 件\n",
            c.unreadable);
    if (save_failed) add(out, size, &used, "\n設定ファイルに保存できませんでした。\n");
    // No line break at the very end.
    if (used > 0 && out[used - 1] == '\n') out[--used] = '\0';
}

void ical_export_message(const IcalExportCounts& c, char* out, size_t size) {
    if (size == 0) return;
    out[0] = '\0';
    size_t used = 0;
    add(out, size, &used, "%d 件の予定を書き出しました。", c.written);
    if (c.no_day)
        add(out, size, &used, "\n日付の定まらない予定 %d 件は書き出していません。", c.no_day);
}
