#include "schedule/ical_walk.h"

#include <string.h>

namespace {

struct Level {
    IcalComp comp;
    char name[32];  // upper-cased, cut to fit: matched against END
};

void upper_name(const char* s, size_t n, char* out, size_t size) {
    size_t k = 0;
    for (size_t i = 0; i < n && k < size - 1; ++i) {
        char c = s[i];
        if (c == ' ' || c == '\t') continue;
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
        out[k++] = c;
    }
    out[k] = '\0';
}

IcalComp classify(const char* name, const Level* stack, int depth) {
    const IcalComp parent = depth > 0 ? stack[depth - 1].comp : IcalComp::kOther;
    if (depth == 0) return strcmp(name, "VCALENDAR") == 0 ? IcalComp::kCalendar : IcalComp::kOther;
    if (parent == IcalComp::kCalendar) {
        if (strcmp(name, "VEVENT") == 0) return IcalComp::kEvent;
        if (strcmp(name, "VTIMEZONE") == 0) return IcalComp::kTimezone;
    } else if (parent == IcalComp::kEvent) {
        if (strcmp(name, "VALARM") == 0) return IcalComp::kAlarm;
    } else if (parent == IcalComp::kTimezone) {
        if (strcmp(name, "STANDARD") == 0) return IcalComp::kStandard;
        if (strcmp(name, "DAYLIGHT") == 0) return IcalComp::kDaylight;
    }
    return IcalComp::kOther;
}

}  // namespace

bool ical_walk(const char* text, size_t n, IcalHandler* h) {
    Level stack[kIcalMaxDepth];
    int depth = 0;
    int overflow = 0;  // levels past the depth limit
    bool calendar = false;
    IcalLineReader r;
    ical_lines_begin(&r, text, n);
    IcalLine line;
    IcalProperty p;
    while (ical_next_line(&r, &line)) {
        if (!ical_split_property(&line, &p)) continue;
        const bool is_begin = strcmp(p.name, "BEGIN") == 0;
        if (is_begin || strcmp(p.name, "END") == 0) {
            char name[32];
            upper_name(p.value, p.value_len, name, sizeof name);
            if (is_begin) {
                if (depth == kIcalMaxDepth) {
                    ++overflow;
                    continue;
                }
                // An event begun inside an event: the first one lost its END, and is closed
                // here so that the events after it are still read.
                if (strcmp(name, "VEVENT") == 0) {
                    int ev = depth - 1;
                    while (ev >= 0 && stack[ev].comp != IcalComp::kEvent) --ev;
                    while (ev >= 0 && depth > ev) {
                        --depth;
                        if (stack[depth].comp != IcalComp::kOther) h->end(stack[depth].comp, true);
                    }
                }
                // Unknown components are kept on the stack too, so that an END naming a
                // component around them still closes it when they are never closed.
                const IcalComp c = classify(name, stack, depth);
                stack[depth].comp = c;
                memcpy(stack[depth].name, name, sizeof name);
                ++depth;
                if (c == IcalComp::kCalendar) calendar = true;
                if (c != IcalComp::kOther) h->begin(c);
                continue;
            }
            if (overflow > 0) {
                --overflow;
                continue;
            }
            int at = depth - 1;
            while (at >= 0 && strcmp(stack[at].name, name) != 0) --at;
            if (at < 0) continue;
            while (depth > at + 1) {
                --depth;
                if (stack[depth].comp != IcalComp::kOther) h->end(stack[depth].comp, true);
            }
            --depth;
            if (stack[depth].comp != IcalComp::kOther) h->end(stack[depth].comp, false);
        } else if (overflow == 0 && depth > 0 && stack[depth - 1].comp != IcalComp::kOther) {
            // Below an unknown component everything is unknown, so a known top means none.
            h->property(stack[depth - 1].comp, p, line);
        }
    }
    while (depth > 0) {
        --depth;
        if (stack[depth].comp != IcalComp::kOther) h->end(stack[depth].comp, true);
    }
    return calendar;
}
