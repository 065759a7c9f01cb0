#include "schedule/dav_discovery.h"

#include "schedule/dav_requests.h"

namespace {

constexpr size_t kDiscoveryMaxBody = 4u << 20;
constexpr int kMaxHops = 4;  // principal, home, and the ways between

class Discovery {
public:
    Discovery(DavSession* s, DavDiscovery* out) : s_(s), out_(out) {}

    // Asks url; true when it ended the search (calendars found or a failure to tell).
    bool ask(DavUrl url, int hops) {
        DavMultistatus ms;
        int status;
        const NetError e = propfind(&url, "0", &ms, &status);
        if (e != NetError::kNone) return settle(e, status);
        const DavResponse* self = ms.responses.empty() ? nullptr : &ms.responses[0];
        if (!self) return false;
        if (self->is_calendar) {
            if (!self->has_components || self->supports_events)
                out_->calendars.push_back({dav_url_text(url), self->displayname});
            return !out_->calendars.empty();
        }
        if (hops >= kMaxHops) return false;
        DavUrl next;
        if (!self->home_href.empty() && dav_url_resolve(url, self->home_href.c_str(), &next))
            return list_home(next);
        if (!self->principal_href.empty() && dav_url_resolve(url, self->principal_href.c_str(), &next) &&
            dav_path_key(next.path) != dav_path_key(url.path))
            return ask(next, hops + 1);
        return self->is_collection && list_home(url);
    }

    bool list_home(DavUrl url) {
        DavMultistatus ms;
        int status;
        const NetError e = propfind(&url, "1", &ms, &status);
        if (e != NetError::kNone) return settle(e, status);
        for (const DavResponse& r : ms.responses) {
            DavUrl u;
            if (!r.is_calendar || (r.has_components && !r.supports_events)) continue;
            if (!dav_url_resolve(url, r.href.c_str(), &u) || !dav_url_same_origin(u, url)) continue;
            out_->calendars.push_back({dav_url_text(u), r.displayname});
        }
        return !out_->calendars.empty();
    }

private:
    NetError propfind(DavUrl* url, const char* depth, DavMultistatus* ms, int* status) {
        DavCall call{"PROPFIND", depth, dav_body_propfind(), kDiscoveryMaxBody, {}};
        return dav_multistatus(s_, call, url, ms, status);
    }

    // A failure that ends the search (no connection, password refused); other answers
    // (404, a server that is no calendar server) let the next way be tried.
    bool settle(NetError e, int status) {
        if (e == NetError::kNotFound || (e == NetError::kServer && status != 0)) return false;
        out_->error = e;
        out_->status = status;
        return true;
    }

    DavSession* s_;
    DavDiscovery* out_;
};

}  // namespace

void dav_discover(DavSession* session, const std::string& address, DavDiscovery* out) {
    *out = DavDiscovery();
    DavUrl url;
    if (!dav_url_parse(address.c_str(), &url)) {
        out->error = NetError::kAddress;
        return;
    }
    DavUrl well_known = url;
    well_known.path = "/.well-known/caldav";
    well_known.query.clear();
    const bool root = url.path == "/";
    Discovery d(session, out);
    bool done = root ? d.ask(well_known, 0) || d.ask(url, 0) : d.ask(url, 0) || d.ask(well_known, 0);
    if (!done || (out->error == NetError::kNone && out->calendars.empty()))
        out->error = out->error == NetError::kNone ? NetError::kNotCalendar : out->error;
    if (out->error != NetError::kNone) out->calendars.clear();
}
