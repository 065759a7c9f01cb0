// What the calendar and feed engines need of HTTP: one request, one answer, and the reason
// when there is no answer. The platform's client stands behind it (WinHTTP in the program,
// with the system's proxy settings and certificate checks); it holds the user's password,
// which the engines never see.
#pragma once

#include <stddef.h>

#include <atomic>
#include <string>
#include <vector>

#include "schedule/dav_url.h"

// Why a request or a sync failed, in the words the user is told.
enum class NetError {
    kNone,
    kAddress,        // the address is not an http(s) URL, or its host is not found
    kInsecure,       // a password over plain http to another machine, not confirmed
    kConnect,        // the server cannot be reached (refused, network down)
    kTimeout,        // no answer within the time allowed
    kCertUntrusted,  // certificate not issued by a trusted authority
    kCertName,       // certificate for another name
    kCertExpired,    // certificate expired or not yet valid
    kCertOther,      // another certificate or TLS failure
    kAuth,           // user name or password refused (401, 403)
    kNotFound,       // no such calendar or feed (404, 410)
    kNotCalendar,    // the answer is no calendar (collection or iCalendar text)
    kServer,         // an unexpected status or a malformed answer
    kTooLarge,       // more than the limits allow
    kCancelled,      // stopped by the caller
};

const char* net_error_name(NetError e);

struct HttpHeader {
    std::string name, value;
};

struct HttpRequest {
    std::string method = "GET";
    DavUrl url;
    std::vector<HttpHeader> headers;  // Content-Type, Depth, If-Match and the like
    std::string body;
    size_t max_body = 8u << 20;  // a longer answer fails with kTooLarge
    bool with_password = false;  // answer an authentication request with the credentials
    bool follow_redirects = false;  // let the client follow them (GET only)
};

struct HttpResponse {
    int status = 0;
    std::string etag, last_modified, location, content_type;
    std::string body;
};

class HttpClient {
public:
    virtual ~HttpClient() = default;
    // kNone with any status the server gave; otherwise the reason there was none.
    virtual NetError send(const HttpRequest& request, HttpResponse* response) = 0;
};

// A stop flag the caller may set from another thread; checked between requests.
using CancelFlag = std::atomic<bool>;

// Whether a password may go to url: over https, to this machine, or when the user
// confirmed plain http to that server.
bool dav_password_allowed(const DavUrl& url, bool plain_confirmed);

// The error for a status that is not a success: 401/403 kAuth, 404/410 kNotFound, else kServer.
NetError net_error_of_status(int status);
