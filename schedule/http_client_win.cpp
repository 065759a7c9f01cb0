#include "schedule/http_client_win.h"

#include <winsock2.h>
#include <windows.h>
#include <wincrypt.h>
#include <winhttp.h>

#include <vector>

#include "config/utf16_win.h"
#include "resources/version.h"

namespace {

constexpr size_t kMaxHeaderChars = 4096;
constexpr size_t kDrainBytes = 64 * 1024;  // read of an answer that is sent again

// Closes a WinHTTP handle at the end of a scope.
struct Handle {
    HINTERNET h = nullptr;
    Handle() = default;
    explicit Handle(HINTERNET x) : h(x) {}
    ~Handle() {
        if (h) WinHttpCloseHandle(h);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
};

// What the status callback learns of one request.
struct RequestState {
    DWORD secure_flags = 0;
    ULONGLONG received = 0;  // bytes of the answer to the latest send
};

// The byte count of a read: Wine reports a failed read as -1.
ULONGLONG bytes_received(const void* info) {
    const int n = *static_cast<const int*>(info);
    return n > 0 ? (ULONGLONG)n : 0;
}

void CALLBACK on_status(HINTERNET, DWORD_PTR context, DWORD status, LPVOID info, DWORD length) {
    if (!context || !info || length < sizeof(DWORD)) return;
    RequestState* state = reinterpret_cast<RequestState*>(context);
    if (status == WINHTTP_CALLBACK_STATUS_SECURE_FAILURE) state->secure_flags |= *static_cast<DWORD*>(info);
    else if (status == WINHTTP_CALLBACK_STATUS_RESPONSE_RECEIVED) state->received += bytes_received(info);
}

// A connection reset, aborted or closed: with no byte of the answer received, the answer is
// lost. The client passes a socket's own error on as it is (Wine's does).
bool connection_dropped(DWORD code) {
    switch (code) {
    case ERROR_WINHTTP_CONNECTION_ERROR:
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case WSAECONNRESET:
    case WSAECONNABORTED:
        return true;
    default:
        return false;
    }
}

NetError secure_error(DWORD flags) {
    if (flags & WINHTTP_CALLBACK_STATUS_FLAG_INVALID_CA) return NetError::kCertUntrusted;
    if (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_CN_INVALID) return NetError::kCertName;
    if (flags & WINHTTP_CALLBACK_STATUS_FLAG_CERT_DATE_INVALID) return NetError::kCertExpired;
    return NetError::kCertOther;
}

NetError error_of(DWORD code, const RequestState& state) {
    switch (code) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
    case ERROR_WINHTTP_INVALID_URL:
    case ERROR_WINHTTP_UNRECOGNIZED_SCHEME:
        return NetError::kAddress;
    case ERROR_WINHTTP_TIMEOUT:
        return NetError::kTimeout;
    case ERROR_WINHTTP_OPERATION_CANCELLED:
        return NetError::kCancelled;
    case ERROR_WINHTTP_SECURE_FAILURE:
        return secure_error(state.secure_flags);
    case ERROR_WINHTTP_SECURE_INVALID_CA:
        return NetError::kCertUntrusted;
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
        return NetError::kCertName;
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
        return NetError::kCertExpired;
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CHANNEL_ERROR:
        return state.secure_flags ? secure_error(state.secure_flags) : NetError::kCertOther;
    case ERROR_WINHTTP_INVALID_SERVER_RESPONSE:
    case ERROR_WINHTTP_HEADER_NOT_FOUND:
    case ERROR_WINHTTP_REDIRECT_FAILED:
        return NetError::kServer;
    default:
        return NetError::kConnect;
    }
}

bool header(HINTERNET request, DWORD which, std::string* out) {
    out->clear();
    DWORD bytes = 0;
    WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, WINHTTP_NO_OUTPUT_BUFFER,
                        &bytes, WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || bytes == 0 ||
        bytes > kMaxHeaderChars * sizeof(wchar_t))
        return false;
    std::vector<wchar_t> buf(bytes / sizeof(wchar_t) + 1, L'\0');
    if (!WinHttpQueryHeaders(request, which, WINHTTP_HEADER_NAME_BY_INDEX, buf.data(), &bytes,
                             WINHTTP_NO_HEADER_INDEX))
        return false;
    *out = utf8_of(buf.data(), wcsnlen(buf.data(), bytes / sizeof(wchar_t)));
    return true;
}

DWORD number_header(HINTERNET request, DWORD which, bool* found) {
    DWORD value = 0, size = sizeof value;
    *found = WinHttpQueryHeaders(request, which | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &value, &size,
                                 WINHTTP_NO_HEADER_INDEX) != FALSE;
    return value;
}

// The scheme to answer a 401 or 407 with, or 0 when none is known.
DWORD auth_scheme(HINTERNET request, DWORD* target) {
    DWORD supported = 0, first = 0;
    if (!WinHttpQueryAuthSchemes(request, &supported, &first, target)) return 0;
    if (first & supported) return first;
    const DWORD order[] = {WINHTTP_AUTH_SCHEME_NEGOTIATE, WINHTTP_AUTH_SCHEME_NTLM,
                           WINHTTP_AUTH_SCHEME_DIGEST, WINHTTP_AUTH_SCHEME_BASIC};
    for (DWORD s : order)
        if (supported & s) return s;
    return 0;
}

// The system's verdict on a server certificate for host, as its SSL policy gives it.
NetError certificate_verdict(PCCERT_CONTEXT cert, const std::wstring& host) {
    CERT_CHAIN_PARA para = {};
    para.cbSize = sizeof para;
    LPSTR usage[] = {const_cast<LPSTR>(szOID_PKIX_KP_SERVER_AUTH)};
    para.RequestedUsage.dwType = USAGE_MATCH_TYPE_OR;
    para.RequestedUsage.Usage.cUsageIdentifier = 1;
    para.RequestedUsage.Usage.rgpszUsageIdentifier = usage;
    PCCERT_CHAIN_CONTEXT chain = nullptr;
    if (!CertGetCertificateChain(nullptr, cert, nullptr, cert->hCertStore, &para, 0, nullptr, &chain))
        return NetError::kCertOther;
    SSL_EXTRA_CERT_CHAIN_POLICY_PARA ssl = {};
    ssl.cbSize = sizeof ssl;
    ssl.dwAuthType = AUTHTYPE_SERVER;
    ssl.pwszServerName = const_cast<wchar_t*>(host.c_str());
    CERT_CHAIN_POLICY_PARA policy = {};
    policy.cbSize = sizeof policy;
    policy.pvExtraPolicyPara = &ssl;
    CERT_CHAIN_POLICY_STATUS status = {};
    status.cbSize = sizeof status;
    const BOOL ok = CertVerifyCertificateChainPolicy(CERT_CHAIN_POLICY_SSL, chain, &policy, &status);
    CertFreeCertificateChain(chain);
    if (!ok) return NetError::kCertOther;
    switch ((DWORD)status.dwError) {
    case (DWORD)CERT_E_UNTRUSTEDROOT:
    case (DWORD)CERT_E_CHAINING:
    case (DWORD)TRUST_E_CERT_SIGNATURE:
        return NetError::kCertUntrusted;
    case (DWORD)CERT_E_CN_NO_MATCH:
        return NetError::kCertName;
    case (DWORD)CERT_E_EXPIRED:
    case (DWORD)CERT_E_VALIDITYPERIODNESTING:
        return NetError::kCertExpired;
    default:
        return NetError::kCertOther;
    }
}

}  // namespace

struct WinHttpClient::Impl {
    HttpClientSettings settings;
    HINTERNET session = nullptr;
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG proxy = {};
    bool have_proxy = false;
    DWORD server_scheme = 0;  // the scheme the server took; sent at once from then on

    ~Impl() {
        if (session) WinHttpCloseHandle(session);
        if (have_proxy) {
            GlobalFree(proxy.lpszAutoConfigUrl);
            GlobalFree(proxy.lpszProxy);
            GlobalFree(proxy.lpszProxyBypass);
        }
        SecureZeroMemory(&settings.password[0], settings.password.size() * sizeof(wchar_t));
    }

    bool cancelled() const { return settings.cancel && settings.cancel->load(); }

    // The user's proxy settings for url; none for this machine's own addresses.
    void choose_proxy(HINTERNET request, const DavUrl& url) {
        WINHTTP_PROXY_INFO info = {};
        if (dav_url_is_loopback(url)) {
            info.dwAccessType = WINHTTP_ACCESS_TYPE_NO_PROXY;
            WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
            return;
        }
        if (!have_proxy) return;  // WinHTTP's own settings
        if (proxy.fAutoDetect || proxy.lpszAutoConfigUrl) {
            WINHTTP_AUTOPROXY_OPTIONS auto_options = {};
            auto_options.dwFlags = proxy.lpszAutoConfigUrl ? WINHTTP_AUTOPROXY_CONFIG_URL
                                                           : WINHTTP_AUTOPROXY_AUTO_DETECT;
            auto_options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
            auto_options.lpszAutoConfigUrl = proxy.lpszAutoConfigUrl;
            auto_options.fAutoLogonIfChallenged = TRUE;
            const std::wstring full = utf16_of(dav_url_text(url));
            if (WinHttpGetProxyForUrl(session, full.c_str(), &auto_options, &info)) {
                WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
                GlobalFree(info.lpszProxy);
                GlobalFree(info.lpszProxyBypass);
                return;
            }
        }
        if (proxy.lpszProxy) {
            info.dwAccessType = WINHTTP_ACCESS_TYPE_NAMED_PROXY;
            info.lpszProxy = proxy.lpszProxy;
            info.lpszProxyBypass = proxy.lpszProxyBypass;
            WinHttpSetOption(request, WINHTTP_OPTION_PROXY, &info, sizeof info);
        }
    }

    void set_credentials(HINTERNET request, DWORD target, DWORD scheme) {
        if (target == WINHTTP_AUTH_TARGET_PROXY)  // the logged-on user's own credentials
            WinHttpSetCredentials(request, target, scheme, nullptr, nullptr, nullptr);
        else
            WinHttpSetCredentials(request, target, scheme, settings.user.c_str(),
                                  settings.password.c_str(), nullptr);
    }

    // The answer's body, at most max bytes. With whole, an answer that ends before the length
    // it declared is refused as cut off (the client itself takes the end of the connection for
    // the end of the body).
    NetError read_body(HINTERNET request, size_t max, ULONGLONG deadline, bool whole, std::string* body) {
        bool found = false;
        const DWORD declared = number_header(request, WINHTTP_QUERY_CONTENT_LENGTH, &found);
        if (found && declared > max) return NetError::kTooLarge;
        body->clear();
        std::vector<char> buf(64 * 1024);
        for (;;) {
            if (cancelled()) return NetError::kCancelled;
            if (GetTickCount64() > deadline) return NetError::kTimeout;
            DWORD read = 0;
            if (!WinHttpReadData(request, buf.data(), (DWORD)buf.size(), &read)) {
                RequestState none;
                return error_of(GetLastError(), none);
            }
            if (read == 0) return whole && found && body->size() < declared ? NetError::kServer : NetError::kNone;
            if (body->size() + read > max) return NetError::kTooLarge;
            body->append(buf.data(), read);
        }
    }

    // A refused certificate whose reason the client did not give (Wine's does not): the
    // server's certificate fetched by a bare HEAD that ignores the certificate's faults
    // (nothing of the user's goes with it) and judged by the system's SSL policy.
    NetError certificate_reason(HINTERNET connect, const std::wstring& host) {
        Handle probe(WinHttpOpenRequest(connect, L"HEAD", L"/", nullptr, WINHTTP_NO_REFERER,
                                        WINHTTP_DEFAULT_ACCEPT_TYPES, WINHTTP_FLAG_SECURE));
        if (!probe.h) return NetError::kCertOther;
        DWORD ignore = SECURITY_FLAG_IGNORE_UNKNOWN_CA | SECURITY_FLAG_IGNORE_CERT_CN_INVALID |
                       SECURITY_FLAG_IGNORE_CERT_DATE_INVALID | SECURITY_FLAG_IGNORE_CERT_WRONG_USAGE;
        DWORD features = WINHTTP_DISABLE_COOKIES | WINHTTP_DISABLE_REDIRECTS;
        const int t = settings.timeout_ms;
        if (!WinHttpSetOption(probe.h, WINHTTP_OPTION_SECURITY_FLAGS, &ignore, sizeof ignore) ||
            !WinHttpSetOption(probe.h, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features) ||
            !WinHttpSetTimeouts(probe.h, t, t, t, t) ||
            !WinHttpSendRequest(probe.h, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0))
            return NetError::kCertOther;
        PCCERT_CONTEXT cert = nullptr;
        DWORD size = sizeof cert;
        if (!WinHttpQueryOption(probe.h, WINHTTP_OPTION_SERVER_CERT_CONTEXT, &cert, &size) || !cert)
            return NetError::kCertOther;
        const NetError verdict = certificate_verdict(cert, host);
        CertFreeCertificateContext(cert);
        return verdict;
    }

    // How one send on a fresh connection ended.
    struct Sent {
        NetError error;
        bool lost;              // the connection dropped before a byte of the answer came
        bool with_credentials;  // the user's credentials went with the send that failed
    };

    // Sends req on a fresh request handle, answering the server's or a proxy's authentication
    // request once.
    Sent send_once(const HttpRequest& req, HttpResponse* res, ULONGLONG deadline) {
        std::wstring host = utf16_of(req.url.host);
        if (host.size() > 2 && host.front() == L'[') host = host.substr(1, host.size() - 2);
        Handle connect(WinHttpConnect(session, host.c_str(), (INTERNET_PORT)req.url.port, 0));
        if (!connect.h) return {NetError::kAddress, false, false};
        const std::wstring method = utf16_of(req.method);
        const std::wstring target = utf16_of(req.url.target());
        DWORD flags = WINHTTP_FLAG_ESCAPE_DISABLE | WINHTTP_FLAG_ESCAPE_DISABLE_QUERY;
        if (req.url.https) flags |= WINHTTP_FLAG_SECURE;
        Handle request(WinHttpOpenRequest(connect.h, method.c_str(), target.c_str(), nullptr,
                                          WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES, flags));
        if (!request.h) return {NetError::kConnect, false, false};
        RequestState state;
        DWORD_PTR context = reinterpret_cast<DWORD_PTR>(&state);
        WinHttpSetOption(request.h, WINHTTP_OPTION_CONTEXT_VALUE, &context, sizeof context);
        WinHttpSetStatusCallback(request.h, on_status,
                                 WINHTTP_CALLBACK_FLAG_SECURE_FAILURE | WINHTTP_CALLBACK_FLAG_RECEIVE_RESPONSE, 0);
        DWORD features = WINHTTP_DISABLE_COOKIES;
        if (!req.follow_redirects) features |= WINHTTP_DISABLE_REDIRECTS;
        WinHttpSetOption(request.h, WINHTTP_OPTION_DISABLE_FEATURE, &features, sizeof features);
        const int t = settings.timeout_ms;
        WinHttpSetTimeouts(request.h, t, t, t, t);
        choose_proxy(request.h, req.url);
        // The scheme whose credentials go with the next send: the one the server took, or
        // Basic before any challenge where the password may go so. A server that asks first
        // answers before reading the body, and the reset that follows can lose its answer.
        DWORD sent_scheme = 0;
        if (req.with_password) {
            if (server_scheme) sent_scheme = server_scheme;
            else if (dav_password_up_front(req.url) && !settings.user.empty()) sent_scheme = WINHTTP_AUTH_SCHEME_BASIC;
            if (sent_scheme) set_credentials(request.h, WINHTTP_AUTH_TARGET_SERVER, sent_scheme);
        }

        std::wstring headers;
        for (const HttpHeader& h : req.headers) headers += utf16_of(h.name) + L": " + utf16_of(h.value) + L"\r\n";
        bool server_answered = false, proxy_tried = false;
        for (;;) {
            if (cancelled()) return {NetError::kCancelled, false, false};
            state.received = 0;
            if (!WinHttpSendRequest(request.h, headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                                    (DWORD)-1, req.body.empty() ? WINHTTP_NO_REQUEST_DATA
                                                                : const_cast<char*>(req.body.data()),
                                    (DWORD)req.body.size(), (DWORD)req.body.size(), 0) ||
                !WinHttpReceiveResponse(request.h, nullptr)) {
                const DWORD code = GetLastError();
                NetError e = error_of(code, state);
                if (e == NetError::kCertOther && !state.secure_flags) e = certificate_reason(connect.h, host);
                // Not a byte of an answer came: the connection failed, whether the drop reads
                // as a reset or as an empty answer (which of the two depends on timing).
                const bool lost = connection_dropped(code) && state.received == 0;
                if (lost) e = NetError::kConnect;
                return {e, lost, sent_scheme != 0};
            }
            bool found = false;
            res->status = (int)number_header(request.h, WINHTTP_QUERY_STATUS_CODE, &found);
            if (!found) return {NetError::kServer, false, false};
            // An authentication request answered once, on the same request; never again with
            // the scheme whose credentials it has just refused.
            const bool server_auth = res->status == 401 && req.with_password && !server_answered;
            const bool proxy_auth = res->status == 407 && !proxy_tried;
            if (!server_auth && !proxy_auth) break;
            DWORD target = 0;
            const DWORD scheme = auth_scheme(request.h, &target);
            if (!scheme || (target == WINHTTP_AUTH_TARGET_SERVER && scheme == sent_scheme)) break;
            std::string drained;
            read_body(request.h, kDrainBytes, deadline, false, &drained);
            set_credentials(request.h, target, scheme);
            if (target == WINHTTP_AUTH_TARGET_PROXY) {
                proxy_tried = true;
            } else {
                server_answered = true;
                sent_scheme = server_scheme = scheme;
            }
        }
        header(request.h, WINHTTP_QUERY_ETAG, &res->etag);
        header(request.h, WINHTTP_QUERY_LAST_MODIFIED, &res->last_modified);
        header(request.h, WINHTTP_QUERY_LOCATION, &res->location);
        header(request.h, WINHTTP_QUERY_CONTENT_TYPE, &res->content_type);
        if (res->status == 401) server_scheme = 0;
        const bool whole = req.method != "HEAD" && res->status != 204 && res->status != 304;
        return {read_body(request.h, req.max_body, deadline, whole, &res->body), false, false};
    }

    // A request with credentials and a body lost its answer twice: a server that refuses the
    // credentials before it reads the body resets so, and so does a server going down. A
    // request without a body on the same address tells which: refused credentials come back
    // as 401; a server that is gone fails to connect; one that answers lost the requests for
    // another reason, a connection failure.
    NetError credentials_probe(const HttpRequest& req, HttpResponse* res, ULONGLONG deadline) {
        if (cancelled()) return NetError::kCancelled;
        HttpRequest probe;
        probe.method = "PROPFIND";
        probe.url = req.url;
        probe.headers.push_back({"Depth", "0"});
        probe.max_body = 64 * 1024;
        probe.with_password = true;
        HttpResponse answer;
        const Sent sent = send_once(probe, &answer, deadline);
        *res = HttpResponse();
        if (sent.lost) return NetError::kConnect;
        if (sent.error != NetError::kNone && sent.error != NetError::kTooLarge) return sent.error;
        if (answer.status != 401) return NetError::kConnect;
        res->status = 401;
        return NetError::kAuth;
    }

    // One request: sent once more on a fresh connection when the first lost its answer.
    NetError exchange(const HttpRequest& req, HttpResponse* res) {
        const ULONGLONG deadline = GetTickCount64() + (ULONGLONG)settings.request_limit_ms;
        for (int sends = 1;; ++sends) {
            const Sent sent = send_once(req, res, deadline);
            if (!sent.lost) return sent.error;
            switch (http_lost_answer({req.method.c_str(), sent.with_credentials, !req.body.empty(), sends})) {
            case HttpLostVerdict::kSendAgain:
                if (cancelled()) return NetError::kCancelled;
                if (GetTickCount64() > deadline) return NetError::kTimeout;
                *res = HttpResponse();
                break;
            case HttpLostVerdict::kAuth:
                return credentials_probe(req, res, deadline);
            case HttpLostVerdict::kFail:
                return sent.error;
            }
        }
    }
};

WinHttpClient::WinHttpClient(const HttpClientSettings& settings) : impl_(new Impl) {
    impl_->settings = settings;
    impl_->session = WinHttpOpen(L"Zelmar/" ZELMAR_VERSION_TEXT, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                 WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0);
    impl_->have_proxy = WinHttpGetIEProxyConfigForCurrentUser(&impl_->proxy) != FALSE;
}

WinHttpClient::~WinHttpClient() { delete impl_; }

NetError WinHttpClient::send(const HttpRequest& request, HttpResponse* response) {
    *response = HttpResponse();
    if (!impl_->session) return NetError::kConnect;
    if (request.with_password && !dav_password_allowed(request.url, impl_->settings.plain_confirmed))
        return NetError::kInsecure;
    const NetError e = impl_->exchange(request, response);
    if (e != NetError::kNone) {
        const int status = response->status;
        *response = HttpResponse();
        response->status = e == NetError::kTooLarge || e == NetError::kAuth ? status : 0;
    }
    return e;
}
