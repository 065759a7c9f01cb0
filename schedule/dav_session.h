// Requests to a calendar server as the sync and discovery send them: with the password,
// redirects followed by hand within the same server (a PROPFIND or REPORT must stay what it
// is, which a client's own redirect handling does not promise), a stop flag checked before
// each request, and multistatus answers read within the limits.
#pragma once

#include <string>
#include <vector>

#include "schedule/dav_http.h"
#include "schedule/dav_multistatus.h"
#include "schedule/dav_url.h"

struct DavSession {
    HttpClient* http;
    XmlParser xml;
    DavLimits limits;
    const CancelFlag* cancel;
    bool plain_confirmed;
    int requests = 0;
};

constexpr int kDavMaxRedirects = 5;

struct DavCall {
    const char* method;
    const char* depth;  // nullptr: no Depth header
    std::string body;   // XML; "" none
    size_t max_body;
    std::vector<HttpHeader> headers;  // besides Content-Type and Depth
    std::string content_type = "application/xml; charset=utf-8";
};

// Sends call to url, following redirects; *url becomes where the answer came from.
// kNone with any status, or why there was none.
NetError dav_send(DavSession* s, const DavCall& call, DavUrl* url, HttpResponse* res);

// A PROPFIND or REPORT whose answer must be a multistatus (207): kAuth, kNotFound or
// kServer for another status (in *status), kServer or kTooLarge for an answer that does
// not read.
NetError dav_multistatus(DavSession* s, const DavCall& call, DavUrl* url, DavMultistatus* out,
                         int* status);
