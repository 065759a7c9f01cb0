"""A web server for calendar feeds in the sync tests: serves one folder on 127.0.0.1 and a
port of its own, with an ETag (the content's hash) and Last-Modified on every file, answers
If-None-Match and If-Modified-Since with 304, and prints one line per request it answers,
so the test counts what a refresh cost.

    /usr/bin/python3 feed_server.py <folder> <port>
"""
import hashlib
import http.server
import os
import sys


class Handler(http.server.SimpleHTTPRequestHandler):
    def send_head(self):
        path = self.translate_path(self.path)
        if os.path.isfile(path):
            with open(path, "rb") as f:
                tag = '"%s"' % hashlib.sha256(f.read()).hexdigest()[:16]
            if self.headers.get("If-None-Match") == tag:
                self.send_response(304)
                self.send_header("ETag", tag)
                self.end_headers()
                return None
            self._etag = tag
        return super().send_head()

    def end_headers(self):
        tag = getattr(self, "_etag", None)
        if tag:
            self.send_header("ETag", tag)
        super().end_headers()

    def log_message(self, fmt, *args):
        print("request %s %s" % (self.command, self.path), flush=True)


if __name__ == "__main__":
    folder, port = sys.argv[1], int(sys.argv[2])
    os.chdir(folder)
    Handler.extensions_map[".ics"] = "text/calendar"
    http.server.ThreadingHTTPServer(("127.0.0.1", port), Handler).serve_forever()
