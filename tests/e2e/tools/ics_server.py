#!/usr/bin/env python3
"""A web calendar server for the end-to-end tests, bound to 127.0.0.1 on a free port.

Paths (the calendar files are taken from --dir, by name):
  /<name>.ics      the file, with an ETag of its contents; 304 to a matching If-None-Match
  /missing.ics     404
  /stall.ics       reads the request and never answers
  /garbage.ics     200 with a body that is no calendar
  /big.ics         200 with a calendar body of --big-mb MB, streamed without a length
Writes the port to --port-file and one line per request to --log:
  "<path> if-none-match=<value> status=<code> sent=<bytes>".
"""
import argparse
import hashlib
import os
import threading
import time
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

args = None
log_lock = threading.Lock()


def log(path, inm, status, sent):
    with log_lock, open(args.log, "a", encoding="utf-8") as f:
        f.write(f"{path} if-none-match={inm or '-'} status={status} sent={sent}\n")


class Handler(BaseHTTPRequestHandler):
    protocol_version = "HTTP/1.1"

    def log_message(self, *a):
        pass

    def simple(self, status, body=b"", headers=()):
        self.send_response(status)
        for k, v in headers:
            self.send_header(k, v)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        return len(body)

    def do_GET(self):
        path = self.path.split("?")[0]
        inm = self.headers.get("If-None-Match")
        if path == "/missing.ics":
            log(path, inm, 404, self.simple(404, b"not here"))
        elif path == "/stall.ics":
            log(path, inm, 0, 0)
            time.sleep(600)
        elif path == "/garbage.ics":
            log(path, inm, 200, self.simple(200, os.urandom(3000) + b"\r\n<html>no calendar</html>"))
        elif path == "/big.ics":
            self.send_response(200)
            self.send_header("Content-Type", "text/calendar")
            self.send_header("Connection", "close")
            self.end_headers()
            event = (b"BEGIN:VEVENT\r\nUID:x\r\nSUMMARY:" + b"x" * 900 + b"\r\nDTSTART:20200101\r\nEND:VEVENT\r\n")
            sent = 0
            try:
                self.wfile.write(b"BEGIN:VCALENDAR\r\nVERSION:2.0\r\n")
                while sent < args.big_mb << 20:
                    self.wfile.write(event)
                    sent += len(event)
                self.wfile.write(b"END:VCALENDAR\r\n")
                status = 200
            except OSError:
                status = -1  # the client closed the connection
            self.close_connection = True
            log(path, inm, status, sent)
        else:
            name = os.path.basename(path)
            file = os.path.join(args.dir, name)
            if not name.endswith(".ics") or not os.path.isfile(file):
                log(path, inm, 404, self.simple(404))
                return
            with open(file, "rb") as f:
                body = f.read()
            etag = '"' + hashlib.sha1(body).hexdigest()[:16] + '"'
            if inm == etag:
                log(path, inm, 304, self.simple(304, b"", [("ETag", etag)]))
            else:
                log(path, inm, 200, self.simple(200, body, [("ETag", etag), ("Content-Type", "text/calendar")]))


def main():
    global args
    p = argparse.ArgumentParser()
    p.add_argument("--dir", required=True)
    p.add_argument("--port-file", required=True)
    p.add_argument("--log", required=True)
    p.add_argument("--big-mb", type=int, default=50)
    p.add_argument("--port", type=int, default=0)
    args = p.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(args.port_file + ".tmp", args.port_file)
    server.serve_forever()


if __name__ == "__main__":
    main()
