#include "schedule/dav_multistatus.h"

#include <string.h>

namespace {

const char kDav[] = "DAV:";
const char kCalDav[] = "urn:ietf:params:xml:ns:caldav";
const char kCalServer[] = "http://calendarserver.org/ns/";

enum class Tag {
    kOther,
    kMultistatus,
    kResponse,
    kHref,
    kStatus,
    kPropstat,
    kProp,
    kEtag,
    kResourcetype,
    kCollection,
    kDisplayname,
    kPrincipal,
    kSyncToken,
    kCalendarData,
    kCalendar,
    kHomeSet,
    kComponents,
    kComp,
    kCtag,
};

Tag tag_of(const char* ns, const char* local) {
    static const struct {
        const char* ns;
        const char* local;
        Tag tag;
    } kTags[] = {
        {kDav, "multistatus", Tag::kMultistatus},
        {kDav, "response", Tag::kResponse},
        {kDav, "href", Tag::kHref},
        {kDav, "status", Tag::kStatus},
        {kDav, "propstat", Tag::kPropstat},
        {kDav, "prop", Tag::kProp},
        {kDav, "getetag", Tag::kEtag},
        {kDav, "resourcetype", Tag::kResourcetype},
        {kDav, "collection", Tag::kCollection},
        {kDav, "displayname", Tag::kDisplayname},
        {kDav, "current-user-principal", Tag::kPrincipal},
        {kDav, "sync-token", Tag::kSyncToken},
        {kCalDav, "calendar-data", Tag::kCalendarData},
        {kCalDav, "calendar", Tag::kCalendar},
        {kCalDav, "calendar-home-set", Tag::kHomeSet},
        {kCalDav, "supported-calendar-component-set", Tag::kComponents},
        {kCalDav, "comp", Tag::kComp},
        {kCalServer, "getctag", Tag::kCtag},
    };
    for (const auto& t : kTags)
        if (strcmp(ns, t.ns) == 0 && strcmp(local, t.local) == 0) return t.tag;
    return Tag::kOther;
}

bool is_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string trimmed_text(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && is_space(s[b])) ++b;
    while (e > b && is_space(s[e - 1])) --e;
    return s.substr(b, e - b);
}

// Element paths the reader keeps, by depth: 0 multistatus, 1 response or sync-token,
// 2 href, status or propstat, 3 prop or status, 4 a property, 5 what a property holds.
class Reader : public XmlSink {
public:
    Reader(const DavLimits& limits, DavMultistatus* out) : limits_(limits), out_(out) {}

    DavReadResult result = DavReadResult::kOk;
    bool seen_root = false;

    bool start(const char* ns, const char* local) override {
        if (stack_.size() >= limits_.max_depth) return fail(DavReadResult::kTooLarge);
        const Tag t = tag_of(ns, local);
        const size_t depth = stack_.size();
        if (depth == 0 && t != Tag::kMultistatus) return fail(DavReadResult::kNotMultistatus);
        stack_.push_back(t);
        seen_root = true;
        if (depth == 1 && t == Tag::kResponse) {
            if (out_->responses.size() >= limits_.max_responses)
                return fail(DavReadResult::kTooLarge);
            response_ = DavResponse();
        } else if (depth == 2 && t == Tag::kPropstat) {
            props_ = DavResponse();
            propstat_status_ = 0;
        } else if (depth == 5 && t == Tag::kComp && at(4) == Tag::kComponents) {
            props_.has_components = true;
        } else if (depth == 5 && at(4) == Tag::kResourcetype) {
            if (t == Tag::kCollection) props_.is_collection = true;
            if (t == Tag::kCalendar) props_.is_calendar = true;
        } else if (depth == 4 && t == Tag::kComponents) {
            props_.has_components = true;
        }
        begin_text(captures(depth, t));
        return true;
    }

    bool attribute(const char* ns, const char* local, const char* value) override {
        if (stack_.size() == 6 && stack_.back() == Tag::kComp && at(4) == Tag::kComponents &&
            ns[0] == '\0' && strcmp(local, "name") == 0 && strcmp(value, "VEVENT") == 0)
            props_.supports_events = true;
        return true;
    }

    bool text(const char* s, size_t n) override {
        if (!capturing_) return true;
        if (text_.size() + n > text_limit_) {
            text_over_ = true;
            return true;
        }
        text_.append(s, n);
        return true;
    }

    bool end() override {
        if (stack_.empty()) return fail(DavReadResult::kMalformed);
        const Tag t = stack_.back();
        const size_t depth = stack_.size() - 1;
        if (capturing_) take_text(depth, t);
        capturing_ = false;
        stack_.pop_back();
        if (depth == 1 && t == Tag::kResponse) {
            if (response_.status == 507) out_->truncated = true;
            if (!response_.href.empty()) out_->responses.push_back(std::move(response_));
        } else if (depth == 2 && t == Tag::kPropstat && propstat_status_ >= 200 &&
                   propstat_status_ < 300) {
            merge_props();
        }
        return true;
    }

private:
    Tag at(size_t depth) const { return depth < stack_.size() ? stack_[depth] : Tag::kOther; }

    bool fail(DavReadResult r) {
        result = r;
        return false;
    }

    // Which elements' text is kept, and how much of it.
    size_t captures(size_t depth, Tag t) const {
        if (depth == 1 && t == Tag::kSyncToken) return limits_.max_text;
        if (depth == 2 && at(1) == Tag::kResponse && (t == Tag::kHref || t == Tag::kStatus))
            return limits_.max_text;
        if (depth == 3 && at(2) == Tag::kPropstat && t == Tag::kStatus) return limits_.max_text;
        if (depth == 4 && at(3) == Tag::kProp) {
            if (t == Tag::kCalendarData) return limits_.max_data;
            if (t == Tag::kEtag || t == Tag::kDisplayname || t == Tag::kSyncToken || t == Tag::kCtag)
                return limits_.max_text;
        }
        if (depth == 5 && t == Tag::kHref && (at(4) == Tag::kPrincipal || at(4) == Tag::kHomeSet))
            return limits_.max_text;
        return 0;
    }

    void begin_text(size_t limit) {
        capturing_ = limit > 0;
        text_limit_ = limit;
        text_.clear();
        text_over_ = false;
    }

    void take_text(size_t depth, Tag t) {
        if (depth == 4 && t == Tag::kCalendarData) {
            props_.has_data = !text_over_;
            props_.data_too_large = text_over_;
            if (!text_over_) props_.calendar_data = std::move(text_);
            return;
        }
        if (text_over_) return;  // an oversize name or token is as good as none
        const std::string v = trimmed_text(text_);
        if (depth == 1) out_->sync_token = v;
        else if (depth == 2 && t == Tag::kHref && response_.href.empty()) response_.href = v;
        else if (depth == 2 && t == Tag::kStatus) response_.status = dav_status_code(v.data(), v.size());
        else if (depth == 3) propstat_status_ = dav_status_code(v.data(), v.size());
        else if (depth == 4 && t == Tag::kEtag) props_.has_etag = true, props_.etag = v;
        else if (depth == 4 && t == Tag::kDisplayname) props_.displayname = v;
        else if (depth == 4 && t == Tag::kSyncToken) props_.sync_token = v;
        else if (depth == 4 && t == Tag::kCtag) props_.ctag = v;
        else if (depth == 5 && at(4) == Tag::kPrincipal && props_.principal_href.empty())
            props_.principal_href = v;
        else if (depth == 5 && at(4) == Tag::kHomeSet && props_.home_href.empty())
            props_.home_href = v;
    }

    // Properties of a successful propstat join the response.
    void merge_props() {
        DavResponse& r = response_;
        const DavResponse& p = props_;
        if (p.has_etag) r.has_etag = true, r.etag = p.etag;
        if (p.has_data || p.data_too_large) {
            r.has_data = p.has_data;
            r.data_too_large = p.data_too_large;
            r.calendar_data = p.calendar_data;
        }
        r.is_collection = r.is_collection || p.is_collection;
        r.is_calendar = r.is_calendar || p.is_calendar;
        if (!p.displayname.empty()) r.displayname = p.displayname;
        if (!p.principal_href.empty()) r.principal_href = p.principal_href;
        if (!p.home_href.empty()) r.home_href = p.home_href;
        if (p.has_components) {
            r.has_components = true;
            r.supports_events = r.supports_events || p.supports_events;
        }
        if (!p.sync_token.empty()) r.sync_token = p.sync_token;
        if (!p.ctag.empty()) r.ctag = p.ctag;
    }

    const DavLimits& limits_;
    DavMultistatus* out_;
    std::vector<Tag> stack_;
    DavResponse response_, props_;
    int propstat_status_ = 0;
    bool capturing_ = false, text_over_ = false;
    size_t text_limit_ = 0;
    std::string text_;
};

}  // namespace

int dav_status_code(const char* s, size_t n) {
    // "HTTP/x.y NNN reason": the first run of three digits after a space.
    for (size_t i = 0; i + 3 <= n; ++i) {
        if (i > 0 && s[i - 1] != ' ') continue;
        if (s[i] < '1' || s[i] > '5') continue;
        if (s[i + 1] < '0' || s[i + 1] > '9' || s[i + 2] < '0' || s[i + 2] > '9') continue;
        if (i + 3 < n && s[i + 3] != ' ') continue;
        return (s[i] - '0') * 100 + (s[i + 1] - '0') * 10 + (s[i + 2] - '0');
    }
    return 0;
}

DavReadResult dav_read_multistatus(const XmlParser& parser, const char* body, size_t n,
                                   const DavLimits& limits, DavMultistatus* out) {
    *out = DavMultistatus();
    Reader reader(limits, out);
    const bool ok = parser.parse(parser.context, body, n, &reader);
    if (reader.result != DavReadResult::kOk) {
        *out = DavMultistatus();
        return reader.result;
    }
    if (!ok) {
        *out = DavMultistatus();
        return DavReadResult::kMalformed;
    }
    if (!reader.seen_root) return DavReadResult::kNotMultistatus;
    return DavReadResult::kOk;
}
