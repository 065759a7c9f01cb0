#include "schedule/dav_http.h"

#include <cstring>

const char* net_error_name(NetError e) {
    switch (e) {
    case NetError::kNone: return "none";
    case NetError::kAddress: return "address";
    case NetError::kInsecure: return "insecure";
    case NetError::kConnect: return "connect";
    case NetError::kTimeout: return "timeout";
    case NetError::kCertUntrusted: return "cert-untrusted";
    case NetError::kCertName: return "cert-name";
    case NetError::kCertExpired: return "cert-expired";
    case NetError::kCertOther: return "cert-other";
    case NetError::kAuth: return "auth";
    case NetError::kNotFound: return "not-found";
    case NetError::kNotCalendar: return "not-calendar";
    case NetError::kServer: return "server";
    case NetError::kTooLarge: return "too-large";
    case NetError::kCancelled: return "cancelled";
    }
    return "?";
}

bool dav_password_allowed(const DavUrl& url, bool plain_confirmed) {
    return url.https || dav_url_is_loopback(url) || plain_confirmed;
}

bool dav_password_up_front(const DavUrl& url) { return url.https || dav_url_is_loopback(url); }

NetError net_error_of_status(int status) {
    if (status == 401 || status == 403) return NetError::kAuth;
    if (status == 404 || status == 410) return NetError::kNotFound;
    return NetError::kServer;
}

bool http_method_idempotent(const char* method) {
    static const char* const kIdempotent[] = {"GET", "HEAD", "OPTIONS", "PUT", "DELETE", "PROPFIND", "REPORT"};
    for (const char* m : kIdempotent)
        if (std::strcmp(m, method) == 0) return true;
    return false;
}

HttpLostVerdict http_lost_answer(const HttpLostAnswer& lost) {
    if (lost.sends < 2 && http_method_idempotent(lost.method)) return HttpLostVerdict::kSendAgain;
    if (lost.with_credentials && lost.with_body) return HttpLostVerdict::kAuth;
    return HttpLostVerdict::kFail;
}
