// HTTP(S) through WinHTTP: the system's proxy settings (never for this machine's own
// addresses), the system's certificate checks with the reason of a refusal kept, every
// answer bounded in size and time, and the user's credentials answering the server's
// authentication request. One client per sync or refresh, used from one thread at a time.
#pragma once

#include <string>

#include "schedule/dav_http.h"

struct HttpClientSettings {
    std::wstring user, password;   // for requests that carry the password
    bool plain_confirmed = false;  // the user allowed plain http with a password elsewhere
    const CancelFlag* cancel = nullptr;
    int timeout_ms = 30000;           // each of resolve, connect, send and receive
    int request_limit_ms = 120000;    // the whole of one request with its answer
};

class WinHttpClient : public HttpClient {
public:
    explicit WinHttpClient(const HttpClientSettings& settings);
    ~WinHttpClient() override;
    WinHttpClient(const WinHttpClient&) = delete;
    WinHttpClient& operator=(const WinHttpClient&) = delete;

    NetError send(const HttpRequest& request, HttpResponse* response) override;

private:
    struct Impl;
    Impl* impl_;
};
