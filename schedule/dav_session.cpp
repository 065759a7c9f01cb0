#include "schedule/dav_session.h"

NetError dav_send(DavSession* s, const DavCall& call, DavUrl* url, HttpResponse* res) {
    if (!dav_password_allowed(*url, s->plain_confirmed)) return NetError::kInsecure;
    for (int hop = 0;; ++hop) {
        if (s->cancel && s->cancel->load()) return NetError::kCancelled;
        HttpRequest req;
        req.method = call.method;
        req.url = *url;
        req.with_password = true;
        req.max_body = call.max_body;
        req.headers = call.headers;
        if (call.depth) req.headers.push_back({"Depth", call.depth});
        if (!call.body.empty() || req.method == "PUT") {
            req.headers.push_back({"Content-Type", call.content_type});
            req.body = call.body;
        }
        *res = HttpResponse();
        ++s->requests;
        const NetError err = s->http->send(req, res);
        if (err != NetError::kNone) return err;
        const bool redirect = res->status == 301 || res->status == 302 || res->status == 303 ||
                              res->status == 307 || res->status == 308;
        if (!redirect || res->location.empty()) return NetError::kNone;
        DavUrl next;
        if (hop >= kDavMaxRedirects || !dav_url_resolve(*url, res->location.c_str(), &next) ||
            !dav_url_same_origin(*url, next))
            return NetError::kServer;
        *url = next;
    }
}

NetError dav_multistatus(DavSession* s, const DavCall& call, DavUrl* url, DavMultistatus* out,
                         int* status) {
    HttpResponse res;
    *status = 0;
    const NetError err = dav_send(s, call, url, &res);
    if (err != NetError::kNone) return err;
    *status = res.status;
    if (res.status != 207) return res.status >= 200 && res.status < 300 ? NetError::kServer
                                                                        : net_error_of_status(res.status);
    switch (dav_read_multistatus(s->xml, res.body.data(), res.body.size(), s->limits, out)) {
    case DavReadResult::kOk: return NetError::kNone;
    case DavReadResult::kTooLarge: return NetError::kTooLarge;
    default: return NetError::kServer;
    }
}
