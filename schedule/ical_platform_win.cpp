#include "schedule/ical_platform_win.h"

#include <windows.h>

#include <stdio.h>
#include <string.h>

#include "config/cp932.h"
#include "config/handles_win.h"
#include "config/local_path_win.h"
#include "schedule/utf8_text.h"
#include "schedule/zone_names.h"

namespace {

const UINT kCodePage = 932;
const char kZonesKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones\\";
// "・", for a character the code page lacks.
const char kMissing[] = "\x81\x45";

// Texts handed over are short (a memo, a path); longer ones are cut first.
constexpr int kWideMax = 1024;

int to_utf8(void*, const char* cp932, char* out, size_t size) {
    if (size == 0) return -1;
    char in[kWideMax];
    cp932_copy(in, sizeof in, cp932);
    wchar_t wide[kWideMax];
    const int wn = MultiByteToWideChar(kCodePage, 0, in, -1, wide, kWideMax);
    if (wn <= 0) return -1;
    char utf8[kWideMax * 3];
    const int un =
        WideCharToMultiByte(CP_UTF8, 0, wide, wn - 1, utf8, sizeof utf8, nullptr, nullptr);
    if (un < 0 || (wn > 1 && un == 0)) return -1;
    const size_t n = utf8_cut(utf8, (size_t)un, size - 1);
    memcpy(out, utf8, n);
    out[n] = '\0';
    return (int)n;
}

// One UTF-16 character (one or two units) in code page 932 only when it comes back the
// same: no best-fit look-alikes.
int one_char(const wchar_t* w, int len, char* mb) {
    BOOL used_default = FALSE;
    const int n = WideCharToMultiByte(kCodePage, 0, w, len, mb, 2, nullptr, &used_default);
    if (n <= 0 || used_default) return 0;
    wchar_t back[2];
    const int bn = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, mb, n, back, 2);
    if (bn != len || memcmp(back, w, sizeof(wchar_t) * len) != 0) return 0;
    return n;
}

int from_utf8(void*, const char* utf8, size_t n, char* out, size_t size) {
    if (size == 0) return -1;
    const size_t take = utf8_cut(utf8, n, kWideMax - 1);
    wchar_t wide[kWideMax];
    const int wn = take ? MultiByteToWideChar(CP_UTF8, 0, utf8, (int)take, wide, kWideMax) : 0;
    if (take && wn <= 0) return -1;
    size_t used = 0;
    for (int i = 0; i < wn;) {
        const int len =
            IS_HIGH_SURROGATE(wide[i]) && i + 1 < wn && IS_LOW_SURROGATE(wide[i + 1]) ? 2 : 1;
        char mb[2];
        int k = one_char(wide + i, len, mb);
        const char* c = mb;
        if (k == 0 || wide[i] == 0) {
            c = kMissing;
            k = 2;
        }
        if (used + (size_t)k > size - 1) break;
        memcpy(out + used, c, (size_t)k);
        used += (size_t)k;
        i += len;
    }
    out[used] = '\0';
    return (int)used;
}

SYSTEMTIME system_time(const IcalTime& t) {
    SYSTEMTIME st = {};
    st.wYear = (WORD)t.year;
    st.wMonth = (WORD)t.month;
    st.wDay = (WORD)t.day;
    st.wHour = (WORD)t.hour;
    st.wMinute = (WORD)t.minute;
    st.wSecond = (WORD)t.second;
    return st;
}

IcalTime ical_time(const SYSTEMTIME& st) {
    return IcalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

// The registry's form of a zone's rules (REG_TZI_FORMAT).
struct RegTzi {
    LONG bias, standard_bias, daylight_bias;
    SYSTEMTIME standard_date, daylight_date;
};

bool read_tzi(HKEY key, const char* value, RegTzi* tzi) {
    DWORD size = sizeof *tzi;
    DWORD type = 0;
    return RegQueryValueExA(key, value, nullptr, &type, reinterpret_cast<BYTE*>(tzi), &size) ==
               ERROR_SUCCESS &&
           size == sizeof *tzi;
}

bool read_dword(HKEY key, const char* value, DWORD* v) {
    DWORD size = sizeof *v;
    return RegQueryValueExA(key, value, nullptr, nullptr, reinterpret_cast<BYTE*>(v), &size) ==
               ERROR_SUCCESS &&
           size == sizeof *v;
}

// The rules of a zone of the system's table in force in a year: the year's own entry of its
// "Dynamic DST" list when it has one (the nearest year listed outside the list's span),
// else the zone's present rules.
bool zone_rules(const char* name, int year, TIME_ZONE_INFORMATION* out) {
    // A name is one key of the table, never a path into it.
    if (!name[0] || strchr(name, '\\')) return false;
    char path[256];
    if (snprintf(path, sizeof path, "%s%s", kZonesKey, name) >= (int)sizeof path) return false;
    OwnedRegKey key;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, key.out()) != ERROR_SUCCESS)
        return false;
    RegTzi tzi;
    if (!read_tzi(key.get(), "TZI", &tzi)) return false;
    OwnedRegKey dyn;
    if (RegOpenKeyExA(key.get(), "Dynamic DST", 0, KEY_READ, dyn.out()) == ERROR_SUCCESS) {
        DWORD first = 0, last = 0;
        if (read_dword(dyn.get(), "FirstEntry", &first) &&
            read_dword(dyn.get(), "LastEntry", &last) && first <= last) {
            const long lo = (long)first, hi = (long)last;
            const long y = year < lo ? lo : (year > hi ? hi : year);
            for (long k = y; k >= lo && k > 0; --k) {
                char v[16];
                snprintf(v, sizeof v, "%ld", k);
                if (read_tzi(dyn.get(), v, &tzi)) break;
            }
        }
    }
    memset(out, 0, sizeof *out);
    out->Bias = tzi.bias;
    out->StandardBias = tzi.standard_bias;
    out->DaylightBias = tzi.daylight_bias;
    out->StandardDate = tzi.standard_date;
    out->DaylightDate = tzi.daylight_date;
    return true;
}

bool zone_to_utc(void*, const char* tzid, const IcalTime* wall, IcalTime* utc) {
    TIME_ZONE_INFORMATION tz;
    const char* windows = zone_windows_name(tzid);
    if (!zone_rules(tzid, wall->year, &tz) && !(windows && zone_rules(windows, wall->year, &tz)))
        return false;
    const SYSTEMTIME local = system_time(*wall);
    SYSTEMTIME st;
    if (!TzSpecificLocalTimeToSystemTime(&tz, &local, &st)) return false;
    *utc = ical_time(st);
    return true;
}

bool utc_to_local(void*, const IcalTime* utc, IcalTime* local) {
    const SYSTEMTIME st = system_time(*utc);
    SYSTEMTIME lt;
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &st, &lt)) return false;
    *local = ical_time(lt);
    return true;
}

// This machine's zone as the system names it (its key in the zone table) and its rules.
bool machine_zone(DYNAMIC_TIME_ZONE_INFORMATION* d) {
    *d = DYNAMIC_TIME_ZONE_INFORMATION();
    return GetDynamicTimeZoneInformation(d) != TIME_ZONE_ID_INVALID && d->TimeZoneKeyName[0];
}

bool local_zone_name(void*, char* out, size_t size) {
    DYNAMIC_TIME_ZONE_INFORMATION d;
    if (!machine_zone(&d)) return false;
    char key[sizeof d.TimeZoneKeyName];
    if (WideCharToMultiByte(CP_UTF8, 0, d.TimeZoneKeyName, -1, key, sizeof key, nullptr,
                            nullptr) <= 1)
        return false;
    const char* iana = zone_iana_name(key);
    const char* name = iana ? iana : key;
    if (strlen(name) >= size) return false;
    memcpy(out, name, strlen(name) + 1);
    return true;
}

// A change of the system's rules: a day of some week of a month ("relative", wYear 0) or,
// in the rarer absolute form, a date of that very year, put as the week it falls in.
bool zone_change(const SYSTEMTIME& st, int year, IcalZoneChange* c) {
    if (st.wMonth < 1 || st.wMonth > 12 || st.wHour > 23 || st.wMinute > 59) return false;
    c->month = st.wMonth;
    c->hour = st.wHour;
    c->minute = st.wMinute;
    if (st.wYear == 0) {
        if (st.wDay < 1 || st.wDay > 5 || st.wDayOfWeek > 6) return false;
        c->week = st.wDay;
        c->weekday = st.wDayOfWeek;
        return true;
    }
    if (!ical_date_valid(year, st.wMonth, st.wDay)) return false;
    const int len = (int)(ical_days_from_civil(year + st.wMonth / 12, st.wMonth % 12 + 1, 1) -
                          ical_days_from_civil(year, st.wMonth, 1));
    c->week = st.wDay + 7 > len ? 5 : (st.wDay - 1) / 7 + 1;
    c->weekday = (int)((ical_days_from_civil(year, st.wMonth, st.wDay) % 7 + 11) % 7);
    return true;
}

bool local_zone_rules(void*, int year, IcalZoneRules* out) {
    DYNAMIC_TIME_ZONE_INFORMATION d;
    TIME_ZONE_INFORMATION tz;
    if (!machine_zone(&d) || !GetTimeZoneInformationForYear((USHORT)year, &d, &tz)) return false;
    *out = IcalZoneRules();
    out->standard = -(int)(tz.Bias + tz.StandardBias);
    out->daylight = -(int)(tz.Bias + tz.DaylightBias);
    if (d.DynamicDaylightTimeDisabled || tz.DaylightDate.wMonth == 0 ||
        !zone_change(tz.DaylightDate, year, &out->to_daylight) ||
        !zone_change(tz.StandardDate, year, &out->to_standard))
        out->daylight = out->standard;
    return true;
}

const IcalPlatform kPlatform = {nullptr,      to_utf8,    from_utf8,       zone_to_utc,
                                 utc_to_local, drive_kind_win, local_zone_name, local_zone_rules};

}  // namespace

const IcalPlatform* ical_platform_win() {
    return &kPlatform;
}

IcalTime ical_now_utc_win() {
    SYSTEMTIME st;
    GetSystemTime(&st);
    return ical_time(st);
}
