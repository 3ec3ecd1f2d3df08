#!/usr/bin/python3
"""Serves one sample MP4 at each episode address, for runs inside a private network
namespace where those addresses have been put on the loopback interface.

    delivery_node.py --urls FILE --mp4 FILE --log FILE [--ready FILE]

Every URL in --urls (one a line) gets a server bound to exactly its host and port; it
answers GET and HEAD of exactly that URL's path with the MP4 and 404 for anything else.
Each request adds one JSON line to --log. --ready is written once every server listens
and removed again on exit. SIGTERM or SIGINT stops the node cleanly.
"""

import argparse
import datetime
import errno
import http.server
import ipaddress
import json
import os
import signal
import socket
import sys
import threading
import urllib.parse

CHUNK = 64 * 1024


class NodeError(Exception):
    pass


def read_urls(path):
    """Returns {(host, port): set of paths}; only literal IP addresses are accepted so that
    nothing is ever looked up in a name service."""
    endpoints = {}
    with open(path, encoding="ascii") as f:
        for number, line in enumerate(f, 1):
            url = line.strip()
            if not url or url.startswith("#"):
                continue
            parts = urllib.parse.urlsplit(url)
            if parts.scheme != "http" or not parts.hostname or not parts.path:
                raise NodeError(f"{path}:{number}: not a plain http URL: {url}")
            try:
                ipaddress.ip_address(parts.hostname)
            except ValueError:
                raise NodeError(f"{path}:{number}: host must be an IP address: {url}") from None
            try:
                port = parts.port or 80
            except ValueError:
                raise NodeError(f"{path}:{number}: bad port: {url}") from None
            endpoints.setdefault((parts.hostname, port), set()).add(parts.path)
    if not endpoints:
        raise NodeError(f"{path}: no URLs")
    return endpoints


class Log:
    """One JSON line per request, flushed at once so a watcher sees it immediately."""

    def __init__(self, path):
        self._file = open(path, "a", encoding="utf-8")
        self._lock = threading.Lock()

    def write(self, record):
        line = json.dumps(record, ensure_ascii=False, sort_keys=True)
        with self._lock:
            self._file.write(line + "\n")
            self._file.flush()

    def close(self):
        with self._lock:
            self._file.close()


def parse_range(header, size):
    """Returns (start, end) inclusive for a single satisfiable byte range, None when the
    header should be ignored (whole body sent), or "unsatisfiable"."""
    if not header:
        return None
    unit, _, ranges = header.strip().partition("=")
    if unit.strip().lower() != "bytes" or "," in ranges:
        return None  # other units and multiple ranges: send the whole body
    first, dash, last = ranges.strip().partition("-")
    if not dash:
        return None
    try:
        if first == "":
            suffix = int(last)
            if suffix <= 0:
                return "unsatisfiable"
            return max(0, size - suffix), size - 1
        start = int(first)
        end = int(last) if last else size - 1
    except ValueError:
        return None
    if start >= size:
        return "unsatisfiable"
    if end < start:
        return None
    return start, min(end, size - 1)


def make_handler(paths, body, log):
    class Handler(http.server.BaseHTTPRequestHandler):
        protocol_version = "HTTP/1.1"
        server_version = "DeliveryNode/1"
        sys_version = ""

        def do_GET(self):
            self._serve(send_body=True)

        def do_HEAD(self):
            self._serve(send_body=False)

        def _serve(self, send_body):
            if urllib.parse.urlsplit(self.path).path not in paths:
                self.send_error(404)
                return
            size = len(body)
            wanted = parse_range(self.headers.get("Range"), size)
            if wanted == "unsatisfiable":
                self.send_response(416)
                self.send_header("Content-Range", f"bytes */{size}")
                self.send_header("Content-Length", "0")
                self.end_headers()
                return
            start, end = wanted if wanted else (0, size - 1)
            self.send_response(206 if wanted else 200)
            self.send_header("Content-Type", "video/mp4")
            self.send_header("Cache-Control", "no-store")
            self.send_header("Accept-Ranges", "bytes")
            self.send_header("Content-Length", str(end - start + 1))
            if wanted:
                self.send_header("Content-Range", f"bytes {start}-{end}/{size}")
            self.end_headers()
            if send_body:
                view = memoryview(body)[start:end + 1]
                try:
                    for offset in range(0, len(view), CHUNK):
                        self.wfile.write(view[offset:offset + CHUNK])
                except (BrokenPipeError, ConnectionResetError):
                    self.close_connection = True  # players drop connections mid-body

        def log_request(self, code="-", size="-"):
            # Called once for every response, including errors the base class sends.
            host, port = self.server.server_address[:2]
            headers = getattr(self, "headers", None)
            log.write({
                "time": datetime.datetime.now(datetime.timezone.utc).isoformat(timespec="microseconds"),
                "server": f"{host}:{port}",
                "client": self.client_address[0],
                "method": getattr(self, "command", None),
                "path": getattr(self, "path", None),
                "status": int(code) if str(code).isdigit() else code,
                "range": headers.get("Range") if headers else None,
                "user_agent": headers.get("User-Agent") if headers else None,
            })

        def log_message(self, format, *args):
            pass  # the JSON log is the record; stderr stays quiet

    return Handler


class Server(http.server.ThreadingHTTPServer):
    daemon_threads = True  # a player holding a connection open must not block shutdown


def start_servers(endpoints, body, log):
    servers = []
    try:
        for (host, port), paths in sorted(endpoints.items()):
            family = socket.AF_INET6 if ipaddress.ip_address(host).version == 6 else socket.AF_INET
            server_class = type("Server", (Server,), {"address_family": family})
            try:
                server = server_class((host, port), make_handler(frozenset(paths), body, log))
            except OSError as e:
                raise NodeError(
                    f"cannot listen on {host}:{port}: {e.strerror or e}"
                    + (" (the address is not assigned to this machine; put it on lo inside"
                       " the private network namespace first)"
                       if e.errno == errno.EADDRNOTAVAIL else "")) from None
            servers.append(server)
        for server in servers:
            threading.Thread(target=server.serve_forever, name=str(server.server_address),
                             daemon=True).start()
    except BaseException:
        for server in servers:
            server.server_close()
        raise
    return servers


def write_ready(path, servers):
    tmp = f"{path}.tmp.{os.getpid()}"
    with open(tmp, "w", encoding="ascii") as f:
        for server in servers:
            host, port = server.server_address[:2]
            f.write(f"{host}:{port}\n")
    os.replace(tmp, path)


def main(argv):
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--urls", required=True, help="file with one URL a line")
    parser.add_argument("--mp4", required=True, help="the MP4 served at every URL")
    parser.add_argument("--log", required=True, help="JSON lines, one per request, appended")
    parser.add_argument("--ready", help="written once all servers listen")
    args = parser.parse_args(argv)

    stop = threading.Event()
    for sig in (signal.SIGTERM, signal.SIGINT):
        signal.signal(sig, lambda *_: stop.set())

    if args.ready:
        try:
            os.remove(args.ready)  # a stale file must not announce this run
        except FileNotFoundError:
            pass

    try:
        endpoints = read_urls(args.urls)
        with open(args.mp4, "rb") as f:
            body = f.read()
        if not body:
            raise NodeError(f"{args.mp4}: empty")
        log = Log(args.log)
    except (NodeError, OSError) as e:
        print(f"delivery_node: {e}", file=sys.stderr)
        return 2

    try:
        servers = start_servers(endpoints, body, log)
    except NodeError as e:
        print(f"delivery_node: {e}", file=sys.stderr)
        log.close()
        return 2

    try:
        if args.ready:
            write_ready(args.ready, servers)
        while not stop.wait(0.5):
            pass
    finally:
        for server in servers:
            server.shutdown()
            server.server_close()
        log.close()
        if args.ready:
            try:
                os.remove(args.ready)
            except FileNotFoundError:
                pass
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
