// The sync's HTTP client on the real WinHTTP against a server of the test's own on 127.0.0.1,
// which treats each connection as its script says: credentials go with the first request to
// this machine, a request whose connection dropped before its answer is sent once more on a
// fresh connection, refused credentials are not sent again, a cut-off answer is refused.
#include <gtest/gtest.h>

#include <winsock2.h>
#include <windows.h>

#include <string>
#include <vector>

#include "schedule/dav_url.h"
#include "schedule/http_client_win.h"

namespace {

// What the server does with one connection, once it has read the request's head.
enum class Conn {
    kReset,      // ends it with a reset, the body unread
    kClose,      // reads the body and closes without a byte of answer
    kAnswer,     // reads the body and answers 207
    kChallenge,  // reads the body and asks for Basic credentials (401)
    kCutOff,     // reads the body and sends 3 of the 100 bytes it declares
    kGone,       // the server goes away: later connections are refused
};

class ScriptServer {
public:
    explicit ScriptServer(std::vector<Conn> script) : script_(std::move(script)) {
        WSADATA wsa;
        WSAStartup(MAKEWORD(2, 2), &wsa);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int len = sizeof a;
        if (listener_ == INVALID_SOCKET || bind(listener_, reinterpret_cast<sockaddr*>(&a), len) != 0 ||
            listen(listener_, 8) != 0 || getsockname(listener_, reinterpret_cast<sockaddr*>(&a), &len) != 0)
            return;
        port = ntohs(a.sin_port);
        thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    }
    ~ScriptServer() {
        finish();
        if (listener_ != INVALID_SOCKET) closesocket(listener_);
        WSACleanup();
    }
    // Waits until the script is played out or its time is up; heads then holds the requests.
    void finish() {
        if (!thread_) return;
        WaitForSingleObject(thread_, 30000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }

    int port = 0;
    std::vector<std::string> heads;  // each connection's request head, in order

private:
    static bool readable(SOCKET s) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval t = {10, 0};
        return select(0, &set, nullptr, nullptr, &t) == 1;
    }
    // Reads until the head is complete and, unless head_only, its Content-Length of body.
    static std::string read_request(SOCKET s, bool head_only) {
        std::string data;
        char buf[4096];
        for (;;) {
            const size_t end = data.find("\r\n\r\n");
            if (end != std::string::npos) {
                const size_t at = data.find("Content-Length: ");
                const size_t body = at == std::string::npos ? 0 : std::stoul(data.substr(at + 16));
                if (head_only || data.size() >= end + 4 + body) return data.substr(0, end + 4);
            }
            if (!readable(s)) return data;
            const int n = recv(s, buf, sizeof buf, 0);
            if (n <= 0) return data;
            data.append(buf, (size_t)n);
        }
    }
    static void send_text(SOCKET s, const std::string& text) { send(s, text.data(), (int)text.size(), 0); }

    static DWORD WINAPI run(void* p) {
        ScriptServer* self = static_cast<ScriptServer*>(p);
        for (Conn c : self->script_) {
            if (c == Conn::kGone) {
                closesocket(self->listener_);
                self->listener_ = INVALID_SOCKET;
                break;
            }
            if (!readable(self->listener_)) break;
            SOCKET s = accept(self->listener_, nullptr, nullptr);
            if (s == INVALID_SOCKET) break;
            self->heads.push_back(read_request(s, c == Conn::kReset));
            if (c == Conn::kReset) {
                linger hard = {1, 0};
                setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
            } else if (c == Conn::kAnswer) {
                send_text(s, "HTTP/1.1 207 Multi-Status\r\nContent-Length: 5\r\nConnection: close\r\n\r\n<ok/>");
            } else if (c == Conn::kChallenge) {
                send_text(s, "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: Basic realm=\"t\"\r\n"
                             "Content-Length: 2\r\nConnection: close\r\n\r\nno");
            } else if (c == Conn::kCutOff) {
                send_text(s, "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\nabc");
            }
            if (c != Conn::kReset) shutdown(s, SD_SEND);
            closesocket(s);
        }
        return 0;
    }

    std::vector<Conn> script_;
    SOCKET listener_ = INVALID_SOCKET;
    HANDLE thread_ = nullptr;
};

TEST(HttpClientWin, ConnectionsAsTheServerTreatsThem) {
    const char* basic = "Authorization: Basic YWxpY2U6cHc=";  // alice:pw
    struct {
        const char* name;
        const char* method;
        bool body, with_password;
        std::vector<Conn> script;  // also the connections the request must make
        NetError error;
        int status;
    } cases[] = {
        {"answered at once", "PROPFIND", true, true, {Conn::kAnswer}, NetError::kNone, 207},
        {"reset once", "PROPFIND", true, true, {Conn::kReset, Conn::kAnswer}, NetError::kNone, 207},
        {"closed once", "REPORT", true, true, {Conn::kClose, Conn::kAnswer}, NetError::kNone, 207},
        {"reset without a body", "DELETE", false, true, {Conn::kReset, Conn::kAnswer}, NetError::kNone, 207},
        {"feed reset once", "GET", false, false, {Conn::kReset, Conn::kAnswer}, NetError::kNone, 207},
        // Two answers lost with credentials and a body: a request without a body asks again.
        {"reset twice with credentials and a body", "PUT", true, true, {Conn::kReset, Conn::kReset, Conn::kChallenge},
         NetError::kAuth, 401},
        {"reset twice, then the server gone", "PUT", true, true, {Conn::kReset, Conn::kReset, Conn::kGone},
         NetError::kConnect, 0},
        {"reset twice, then the credentials taken", "PUT", true, true, {Conn::kReset, Conn::kReset, Conn::kAnswer},
         NetError::kConnect, 0},
        {"reset twice without a body", "DELETE", false, true, {Conn::kReset, Conn::kReset}, NetError::kConnect, 0},
        {"reset twice without credentials", "GET", false, false, {Conn::kReset, Conn::kReset},
         NetError::kConnect, 0},
        {"credentials refused", "PROPFIND", true, true, {Conn::kChallenge}, NetError::kNone, 401},
        {"cut off", "PROPFIND", true, true, {Conn::kCutOff}, NetError::kServer, 0},
    };
    for (const auto& c : cases) {
        ScriptServer server(c.script);
        ASSERT_NE(server.port, 0) << c.name;
        HttpClientSettings settings;
        settings.user = L"alice";
        settings.password = L"pw";
        settings.timeout_ms = 5000;
        WinHttpClient client(settings);
        HttpRequest req;
        req.method = c.method;
        ASSERT_TRUE(dav_url_parse(("http://127.0.0.1:" + std::to_string(server.port) + "/cal/").c_str(), &req.url));
        if (c.body) req.body = "<propfind xmlns=\"DAV:\"/>";
        req.with_password = c.with_password;
        HttpResponse res;
        const NetError e = client.send(req, &res);
        server.finish();
        EXPECT_EQ(net_error_name(e), std::string(net_error_name(c.error))) << c.name;
        EXPECT_EQ(res.status, c.status) << c.name;
        if (c.error == NetError::kNone && c.status == 207) EXPECT_EQ(res.body, "<ok/>") << c.name;
        const size_t connections = c.script.size() - (c.script.back() == Conn::kGone ? 1 : 0);
        ASSERT_EQ(server.heads.size(), connections) << c.name;
        for (size_t i = 0; i < connections; ++i) {
            const std::string& head = server.heads[i];
            const std::string method = i < 2 ? c.method : "PROPFIND";  // the third asks without a body
            EXPECT_EQ(head.rfind(method + " /cal/ HTTP/1.1\r\n", 0), 0u) << c.name << "\n" << head;
            EXPECT_EQ(head.find(basic) != std::string::npos, c.with_password) << c.name << "\n" << head;
        }
    }
}

}  // namespace
