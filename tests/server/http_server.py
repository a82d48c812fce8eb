#!/usr/bin/env python3
"""The web server of the tests: the maker's server and any web link, on 127.0.0.1.

Tests under Wine write the files to serve into the root folder (QUENDRAL_HTTP_ROOT) and read
back what was asked in requests.log there. Besides plain files:
  /status/<code>/<anything>   answers with that status code and a short body
  /cut/<sent>/<path>          declares the file's full length but sends only <sent> bytes
  /slow/<ms>/<path>           waits <ms> milliseconds before answering
Each request adds one line to requests.log: the request line, a tab, the User-Agent header.
"""
import argparse
import http.server
import os
import pathlib
import threading
import time

log_lock = threading.Lock()


class Handler(http.server.BaseHTTPRequestHandler):
    root: pathlib.Path

    def log_message(self, format, *args):
        pass

    def record(self):
        with log_lock, open(self.root / "requests.log", "a", encoding="utf-8") as log:
            log.write(f"{self.requestline}\t{self.headers.get('User-Agent', '')}\n")

    def file_bytes(self, path):
        target = (self.root / path.lstrip("/")).resolve()
        if self.root not in target.parents or not target.is_file():
            return None
        return target.read_bytes()

    def answer(self, status, body, sent=None):
        self.close_connection = True
        try:
            self.send_response(status)
            self.send_header("Content-Type", "application/octet-stream")
            self.send_header("Content-Length", str(len(body)))
            self.send_header("Connection", "close")
            self.end_headers()
            self.wfile.write(body if sent is None else body[:sent])
            self.wfile.flush()
        except (BrokenPipeError, ConnectionResetError):
            pass  # the client gave up waiting (the time-out tests do so on purpose)

    def do_GET(self):
        self.record()
        parts = self.path.split("/", 3)
        try:
            if len(parts) >= 3 and parts[1] == "status":
                code = int(parts[2])
                return self.answer(code, f"status {code}".encode())
            if len(parts) == 4 and parts[1] == "slow":
                time.sleep(int(parts[2]) / 1000)
                return self.serve("/" + parts[3])
            if len(parts) == 4 and parts[1] == "cut":
                return self.serve("/" + parts[3], sent=int(parts[2]))
        except ValueError:
            return self.answer(400, b"bad request")
        return self.serve(self.path)

    def serve(self, path, sent=None):
        body = self.file_bytes(path.split("?", 1)[0])
        if body is None:
            return self.answer(404, b"not found")
        self.answer(200, body, sent)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--port", type=int, required=True)
    parser.add_argument("--root", required=True)
    args = parser.parse_args()
    root = pathlib.Path(args.root).resolve()
    root.mkdir(parents=True, exist_ok=True)
    Handler.root = root
    server = http.server.ThreadingHTTPServer(("127.0.0.1", args.port), Handler)
    server.daemon_threads = True
    server.serve_forever()


if __name__ == "__main__":
    main()
