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

// Whether Basic credentials may go with a request before the server asks for them: over
// https and to this machine. Over plain http to another machine the password waits for the
// server's challenge, so that a server asking for Digest never sees it in the clear.
bool dav_password_up_front(const DavUrl& url);

// The error for a status that is not a success: 401/403 kAuth, 404/410 kNotFound, else kServer.
NetError net_error_of_status(int status);

// Methods that may be sent twice to the effect of once: PUT and DELETE by definition, the
// reading ones (GET, HEAD, OPTIONS, PROPFIND, REPORT) because they change nothing.
bool http_method_idempotent(const char* method);

// A request whose connection was reset or closed before a byte of its answer came. Real
// servers do this when a kept connection ends under a request, when they restart, and when
// they answer early (a refusal) without reading the body and close: the unread body makes the
// connection end in a reset, and Windows then drops the answer not yet read.
struct HttpLostAnswer {
    const char* method;
    bool with_credentials;  // the user's credentials went with it
    bool with_body;
    int sends;              // how often it was sent, each time on a fresh connection
};

enum class HttpLostVerdict {
    kSendAgain,  // once more, on a fresh connection
    kFail,       // the failure as the connection gave it
    kAuth,       // the credentials refused by a server that answered before reading the body
};

// An idempotent request is sent once more; lost again with credentials and a body, the
// server is taken to refuse the credentials (it read no further than their header).
HttpLostVerdict http_lost_answer(const HttpLostAnswer& lost);
