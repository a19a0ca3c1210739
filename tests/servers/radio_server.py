#!/usr/bin/env python3
"""A loopback radio server for the tests: playlists, ICY streams and faulty answers.

Started as `radio_server.py [--dir DIR] [--log FILE] [--cert PEM --key PEM]`, it listens on
127.0.0.1 (HTTPS with the certificate given), prints "port N" on its first line of output and
serves until it is killed. Every request's line and
headers are appended to the log file as one JSON object per line.

Paths (query parameters in brackets):
  /files/NAME                     the file DIR/NAME as it is (playlists of any content)
  /pls[?to=PATH]                  a PLS playlist whose File1 is http://127.0.0.1:PORT/PATH
  /stream?mp3=FILE                an ICY stream of FILE's bytes, with
        [metaint=N]               a metadata block after every N audio bytes (0: none)
        [titles=A|B|..]           titles, one after the other, ...
        [charset=latin-1]         ... sent in that encoding (default UTF-8), ...
        [title_every=N]           ... changing every N audio bytes (default: never)
        [name=..][genre=..]       icy-name and icy-genre
        [chunk=N][seed=S]         the body sent in random pieces of 1 to N bytes
        [burst=N][rate=R]         N bytes at once, then R audio bytes a second (0: at once)
        [repeat=K]                the file sent K times over (a longer stream)
        [close_after=N]           the connection closed after N body bytes
        [long_meta=1]             the first block is 255*16 bytes without a NUL
        [status=ICY|HTTP]         "ICY 200 OK" (default) or "HTTP/1.0 200 OK"
  /status?code=N                  an answer with that code and a short body
  /icy_status?code=N              a SHOUTcast refusal: "ICY N ..." and no body
  /redirect?to=PATH               302 to PATH;  /loop: a redirect to itself
  /redirect_scheme?to=URL         302 to any address (file://...)
  /silent                         takes the request and never answers
  /stall_body                     sends the headers of a stream, then nothing
  /endless_headers                header lines that never end
  /cut_headers                    half a header block, then the connection closed
  /junk?bytes=N                   a 200 answer whose body is N bytes that are not MP3
  CONNECT host:port               a tunnel to that address (the server is also an HTTPS proxy)
  /sbin/xmllister.phtml           the station directory service, also as an HTTP proxy for its
                                  real host; its answer is set by DIR/directory.json:
                                  {"code": N (200), "file": NAME ("directory.xml"),
                                   "stall": true (half the body, then silence),
                                   "delay": S (seconds before the answer)}
"""
import argparse
import json
import os
import random
import socket
import socketserver
import ssl
import sys
import threading
import time
import urllib.parse


class Handler(socketserver.BaseRequestHandler):
    def setup(self):
        self.request.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)

    def handle(self):
        data = b""
        while b"\r\n\r\n" not in data and b"\n\n" not in data:
            more = self.request.recv(4096)
            if not more:
                return
            data += more
            if len(data) > 65536:
                return
        head = data.split(b"\r\n\r\n")[0].split(b"\n\n")[0].decode("latin-1")
        lines = head.replace("\r", "").split("\n")
        method, target, _ = (lines[0].split(" ") + ["", "", ""])[:3]
        headers = {}
        for line in lines[1:]:
            if ":" in line:
                name, value = line.split(":", 1)
                headers[name.strip()] = value.strip()
        self.server.record({"method": method, "target": target, "headers": headers})
        if method == "CONNECT":
            self.tunnel(target)
            return
        url = urllib.parse.urlsplit(target)
        query = {k: v[-1] for k, v in urllib.parse.parse_qs(url.query, keep_blank_values=True).items()}
        route = getattr(self, "route_" + url.path.strip("/").split("/")[0], None)
        try:
            if route is None:
                self.answer(404, "Not Found", b"no such path\n")
            else:
                route(url.path, query)
        except (BrokenPipeError, ConnectionResetError):
            pass

    def tunnel(self, target):
        host, port = target.rsplit(":", 1)
        upstream = socket.create_connection((host, int(port)))
        self.send(b"HTTP/1.1 200 Connection established\r\n\r\n")

        def pump(source, sink):
            try:
                while True:
                    data = source.recv(65536)
                    if not data:
                        break
                    sink.sendall(data)
            except OSError:
                pass
            try:
                sink.shutdown(socket.SHUT_WR)
            except OSError:
                pass

        back = threading.Thread(target=pump, args=(upstream, self.request), daemon=True)
        back.start()
        pump(self.request, upstream)
        back.join()
        upstream.close()

    def send(self, data):
        self.request.sendall(data)

    def answer(self, code, reason, body, extra=""):
        self.send(("HTTP/1.0 %d %s\r\nContent-Type: text/plain\r\nContent-Length: %d\r\n%s\r\n"
                   % (code, reason, len(body), extra)).encode() + body)

    def route_files(self, path, query):
        name = os.path.basename(path)
        try:
            with open(os.path.join(self.server.dir, name), "rb") as f:
                body = f.read()
        except OSError:
            self.answer(404, "Not Found", b"missing\n")
            return
        self.answer(200, "OK", body)

    def route_sbin(self, path, query):
        try:
            with open(os.path.join(self.server.dir, "directory.json")) as f:
                setting = json.load(f)
        except OSError:
            setting = {}
        code = int(setting.get("code", 200))
        time.sleep(float(setting.get("delay", 0)))
        try:
            with open(os.path.join(self.server.dir, setting.get("file", "directory.xml")), "rb") as f:
                body = f.read()
        except OSError:
            body = b""
        if setting.get("stall"):
            self.send(b"HTTP/1.0 200 OK\r\nContent-Type: text/xml\r\nContent-Length: %d\r\n\r\n"
                      % len(body) + body[:len(body) // 2])
            self.hold()
            return
        self.answer(code, "OK" if code == 200 else "Error", body)

    def route_pls(self, path, query):
        to = query.get("to", "stream")
        body = ("[playlist]\nNumberOfEntries=1\nFile1=http://127.0.0.1:%d/%s\nTitle1=Test\n"
                "Length1=-1\nVersion=2\n" % (self.server.port, to.lstrip("/"))).encode()
        self.answer(200, "OK", body, "")

    def route_status(self, path, query):
        code = int(query.get("code", "500"))
        reasons = {404: "Not Found", 500: "Internal Server Error", 302: "Found", 403: "Forbidden"}
        self.answer(code, reasons.get(code, "Status"), b"status page\n")

    def route_icy_status(self, path, query):
        self.send(b"ICY %s Resource Not Found\r\nicy-notice1: refused\r\n\r\n"
                  % query.get("code", "404").encode())

    def route_redirect(self, path, query):
        self.answer(302, "Found", b"", "Location: /%s\r\n" % query.get("to", "").lstrip("/"))

    def route_redirect_scheme(self, path, query):
        self.answer(302, "Found", b"", "Location: %s\r\n" % query.get("to", ""))

    def route_loop(self, path, query):
        self.answer(302, "Found", b"", "Location: /loop\r\n")

    def hold(self):
        # Keeps the connection open until the client goes (or the server is killed).
        self.request.settimeout(None)
        try:
            while self.request.recv(4096):
                pass
        except OSError:
            pass

    def route_silent(self, path, query):
        self.hold()

    def route_stall_body(self, path, query):
        self.send(b"ICY 200 OK\r\nicy-metaint: 8192\r\nicy-name: Stalled\r\n\r\n")
        self.hold()

    def route_endless_headers(self, path, query):
        self.send(b"HTTP/1.0 200 OK\r\n")
        n = 0
        while True:
            self.send(b"X-Filler-%d: %s\r\n" % (n, b"y" * 100))
            n += 1
            if n % 100 == 0:
                time.sleep(0.01)

    def route_cut_headers(self, path, query):
        self.send(b"ICY 200 OK\r\nicy-metaint: 8192\r\nicy-na")
        self.request.shutdown(socket.SHUT_RDWR)

    def route_junk(self, path, query):
        count = int(query.get("bytes", "200000"))
        rng = random.Random(7)
        body = bytes(rng.randrange(256) & 0xF0 | 0x05 for _ in range(count))
        self.send(b"ICY 200 OK\r\nicy-metaint: 0\r\n\r\n")
        self.send(body)

    def route_stream(self, path, query):
        with open(query["mp3"], "rb") as f:
            audio = f.read() * int(query.get("repeat", "1"))
        metaint = int(query.get("metaint", "0"))
        titles = query["titles"].split("|") if "titles" in query else []
        title_every = int(query.get("title_every", "0"))
        chunk = int(query.get("chunk", "0"))
        rng = random.Random(int(query.get("seed", "1")))
        burst = int(query.get("burst", "0"))
        rate = int(query.get("rate", "0"))
        close_after = int(query.get("close_after", "-1"))
        long_meta = query.get("long_meta") == "1"
        status = "HTTP/1.0 200 OK" if query.get("status") == "HTTP" else "ICY 200 OK"
        head = status + "\r\nContent-Type: audio/mpeg\r\n"
        if "name" in query:
            head += "icy-name: %s\r\n" % query["name"]
        if "genre" in query:
            head += "icy-genre: %s\r\n" % query["genre"]
        if "metaint" in query:
            head += "icy-metaint: %s\r\n" % query["metaint"]
        self.send((head + "\r\n").encode("latin-1"))

        body = self.frame(audio, metaint, titles, title_every, long_meta,
                          query.get("charset", "utf-8"))
        if close_after >= 0:
            body = body[:close_after]
        self.send_paced(body, chunk, rng, burst, rate, metaint)

    @staticmethod
    def frame(audio, metaint, titles, title_every, long_meta, charset="utf-8"):
        if metaint <= 0:
            return audio
        out = bytearray()
        sent_title = None
        first = True
        for at in range(0, len(audio), metaint):
            out += audio[at:at + metaint]
            if at + metaint > len(audio):
                break  # the stream ends inside an interval
            block = b""
            if long_meta and first:
                block = b"x" * 4080
            elif titles:
                index = min((at + metaint) // title_every, len(titles) - 1) if title_every else 0
                if titles[index] != sent_title:
                    sent_title = titles[index]
                    block = ("StreamTitle='%s';StreamUrl='';" % sent_title).encode(charset)
                    block = block[:4080]
            first = False
            length = (len(block) + 15) // 16
            out.append(length)
            out += block.ljust(length * 16, b"\0")
        return bytes(out)

    def send_paced(self, body, chunk, rng, burst, rate, metaint):
        start = time.monotonic()
        at = 0
        while at < len(body):
            n = rng.randint(1, chunk) if chunk > 0 else (2048 if rate > 0 else 65536)
            piece = body[at:at + n]
            if rate > 0 and at >= burst:
                due = start + (at - burst) / rate
                wait = due - time.monotonic()
                if wait > 0:
                    time.sleep(wait)
            self.send(piece)
            at += len(piece)
        self.request.shutdown(socket.SHUT_WR)


class Server(socketserver.ThreadingTCPServer):
    daemon_threads = True
    allow_reuse_address = True

    def __init__(self, directory, log):
        super().__init__(("127.0.0.1", 0), Handler)
        self.port = self.server_address[1]
        self.dir = directory
        self.log = log
        self.lock = threading.Lock()

    def record(self, entry):
        if not self.log:
            return
        with self.lock, open(self.log, "a") as f:
            f.write(json.dumps(entry) + "\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--dir", default=".")
    parser.add_argument("--log")
    parser.add_argument("--cert")
    parser.add_argument("--key")
    args = parser.parse_args()
    server = Server(args.dir, args.log)
    if args.cert:
        context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
        context.load_cert_chain(args.cert, args.key)
        server.socket = context.wrap_socket(server.socket, server_side=True)
    print("port %d" % server.port, flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
