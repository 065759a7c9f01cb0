"""A calendar server without sync-collection, for the sync tests: forwards every request to
a Radicale on 127.0.0.1 except the sync-collection report, which it refuses as a server that
does not know it does (403 with DAV:supported-report). Prints one line per request.

    /usr/bin/python3 no_sync_proxy.py <listen port> <Radicale port>
"""
import http.client
import http.server
import sys

HOP = {"connection", "keep-alive", "transfer-encoding", "te", "trailer", "upgrade", "proxy-authorization"}


class Proxy(http.server.BaseHTTPRequestHandler):
    def handle_any(self):
        body = self.rfile.read(int(self.headers.get("Content-Length") or 0))
        print("request %s %s" % (self.command, self.path), flush=True)
        if self.command == "REPORT" and b"sync-collection" in body:
            refusal = (b'<?xml version="1.0" encoding="utf-8"?><error xmlns="DAV:">'
                       b'<supported-report/></error>')
            self.send_response(403)
            self.send_header("Content-Type", "application/xml")
            self.send_header("Content-Length", str(len(refusal)))
            self.end_headers()
            self.wfile.write(refusal)
            return
        conn = http.client.HTTPConnection("127.0.0.1", self.server.target, timeout=60)
        headers = {k: v for k, v in self.headers.items() if k.lower() not in HOP}
        conn.request(self.command, self.path, body=body, headers=headers)
        res = conn.getresponse()
        data = res.read()
        self.send_response(res.status, res.reason)
        for k, v in res.getheaders():
            if k.lower() not in HOP and k.lower() != "content-length":
                self.send_header(k, v)
        self.send_header("Content-Length", str(len(data)))
        self.end_headers()
        self.wfile.write(data)
        conn.close()

    do_GET = do_PUT = do_DELETE = do_PROPFIND = do_REPORT = do_OPTIONS = do_HEAD = handle_any

    def log_message(self, fmt, *args):
        pass


if __name__ == "__main__":
    server = http.server.ThreadingHTTPServer(("127.0.0.1", int(sys.argv[1])), Proxy)
    server.target = int(sys.argv[2])
    server.serve_forever()
