#include "schedule/dav_http.h"

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

NetError net_error_of_status(int status) {
    if (status == 401 || status == 403) return NetError::kAuth;
    if (status == 404 || status == 410) return NetError::kNotFound;
    return NetError::kServer;
}
