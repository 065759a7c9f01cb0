#include "schedule/ical_read.h"

#include <vector>

#include "schedule/ical_walk.h"
#include "schedule/ical_zone.h"

namespace {

class EventReader : public IcalHandler {
public:
    EventReader(const IcalPlatform* platform, const std::vector<IcalZone>* zones,
                IcalEventSink sink, void* context)
        : platform_(platform), zones_(zones), sink_(sink), context_(context) {}

    void begin(IcalComp c) override {
        if (c == IcalComp::kEvent)
            ical_event_begin(&ev_);
        else if (c == IcalComp::kAlarm)
            ical_alarm_begin(&ev_);
    }

    void end(IcalComp c, bool implicit) override {
        if (c == IcalComp::kAlarm) {
            ical_alarm_end(&ev_, implicit);
        } else if (c == IcalComp::kEvent) {
            if (!implicit && ical_event_entry(ev_, platform_, *zones_, &out_))
                sink_(context_, &out_);
            else
                sink_(context_, nullptr);
        }
    }

    void property(IcalComp c, const IcalProperty& p, const IcalLine& line) override {
        if (c == IcalComp::kEvent)
            ical_event_property(&ev_, p, line);
        else if (c == IcalComp::kAlarm)
            ical_alarm_property(&ev_, p, line, platform_);
    }

private:
    const IcalPlatform* platform_;
    const std::vector<IcalZone>* zones_;
    IcalEventSink sink_;
    void* context_;
    IcalEventData ev_;
    IcalImported out_;
};

}  // namespace

bool ical_read(const char* text, size_t n, const IcalPlatform* platform, IcalEventSink sink,
               void* context) {
    // Time zones first: a file may describe them after the events that use them.
    std::vector<IcalZone> zones;
    ical_collect_zones(text, n, &zones);
    EventReader reader(platform, &zones, sink, context);
    return ical_walk(text, n, &reader);
}
