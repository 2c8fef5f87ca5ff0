#!/usr/bin/env python3
"""End-to-end tests of the webpull program against loopback servers.

A scripted server sends exact bytes in chosen chunks with pauses and records the request it
got; a real HTTP server (python3's http.server) serves files. The program runs as a real
process (under Wine for the Windows build) and what it writes to standard output and its exit
status are checked.

    test_webpull.py --webpull PATH [--runner tools/wine-run --runner-arg=... --windows]
"""
import argparse
import functools
import http.server
import os
import random
import re
import shutil
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

WEBPULL = []       # the command that starts the program (runner and binary)
WINDOWS = False    # the Windows build: text mode turns LF into CR LF before binary mode is set
BLOCK = 32767


class ScriptedServer:
    """Serves every connection with the same script after reading its request.

    A script is a list of steps: bytes to send, a float to pause that many seconds, an Event to
    wait for (20 s at most), RESET to end the connection with a TCP reset instead of a close, or
    ENDLESS to send until the client goes (60 s at most). After the script the server shuts its
    sending side and keeps what the client still sends until it closes (`returned`).
    """

    RESET = object()
    ENDLESS = object()

    def __init__(self, script):
        self.script = script
        self.requests = []
        self.returned = []
        self.waits_timed_out = 0
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(8)
        self.port = self.listener.getsockname()[1]
        self.thread = threading.Thread(target=self._serve, daemon=True)
        self.thread.start()

    def _serve(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            with conn:
                self.requests.append(self._read_request(conn))
                if self._play(conn):
                    self.returned.append(self._read_back(conn))

    @staticmethod
    def _read_request(conn):
        conn.settimeout(10)
        data = b""
        while True:
            first_line_done = b"\r\n" in data
            if b"\r\n\r\n" in data or (first_line_done and b" HTTP/" not in data.split(b"\r\n")[0]):
                return data
            try:
                chunk = conn.recv(4096)
            except OSError:
                return data
            if not chunk:
                return data
            data += chunk

    def _play(self, conn):
        """False when the connection ended during the script."""
        try:
            for step in self.script:
                if step is ScriptedServer.RESET:
                    conn.setsockopt(socket.SOL_SOCKET, socket.SO_LINGER, struct.pack("ii", 1, 0))
                    return False
                if step is ScriptedServer.ENDLESS:
                    end = time.monotonic() + 60
                    while time.monotonic() < end:
                        conn.sendall(b"e" * 65536)
                elif isinstance(step, threading.Event):
                    self.waits_timed_out += not step.wait(20)
                elif isinstance(step, float):
                    time.sleep(step)
                else:
                    conn.sendall(step)
            conn.shutdown(socket.SHUT_WR)
            return True
        except OSError:
            return False  # the client may end first (header-only mode, a failed write)

    @staticmethod
    def _read_back(conn):
        data = b""
        try:
            while chunk := conn.recv(65536):
                data += chunk
        except OSError:
            pass
        return data

    def url(self, path="/"):
        return "127.0.0.1:%d%s" % (self.port, path)

    def close(self):
        try:
            self.listener.shutdown(socket.SHUT_RDWR)  # wakes the blocked accept()
        except OSError:
            pass
        self.listener.close()
        self.thread.join(5)


def chunked(data, sizes, pause=0.0):
    """Cuts data into pieces of the given sizes (repeated), with a pause between pieces."""
    steps, at, i = [], 0, 0
    while at < len(data):
        size = sizes[i % len(sizes)]
        steps.append(data[at:at + size])
        if pause:
            steps.append(pause)
        at += size
        i += 1
    return steps


def run(*args, timeout=60):
    result = subprocess.run(WEBPULL + list(args), stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                            timeout=timeout)
    return result.stdout, result.returncode


def run_into(destination, *args):
    """Runs the program with standard output sent as bash's `destination` says. Returns its exit
    status and what it wrote to standard error."""
    result = subprocess.run(["bash", "-c", '"$@" %s; exit ${PIPESTATUS[0]}' % destination, "bash"]
                            + WEBPULL + list(args), stderr=subprocess.PIPE, timeout=60)
    return result.returncode, result.stderr


def free_port():
    """A loopback port with nothing listening on it."""
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def text_mode(text):
    """What the banner looks like: written before binary mode is set, so CR LF on Windows."""
    return text.replace(b"\n", b"\r\n") if WINDOWS else text


class ServerTest(unittest.TestCase):
    def serve(self, script):
        server = ScriptedServer(script)
        self.addCleanup(server.close)
        return server


class ResponseFilterEndToEnd(ServerTest):
    HEADER = b"HTTP/1.0 200 OK\r\nServer: scripted\r\n\r\n"

    def test_replies(self):
        long_header = b"HTTP/1.0 200 OK\r\n" + b"h" * (BLOCK - 17)
        straddle = b"HTTP/1.0 200 OK\r\n" + b"x" * (BLOCK - 17 - 2) + b"\r\n\r\nbody"
        cases = [
            ("crlf header", [self.HEADER + b"body"], b"body"),
            ("bare lf header", [b"HTTP/1.0 200 OK\nServer: x\n\nbody"], b"body"),
            ("lf lf before crlf crlf", [b"HTTP/1.0 200\n\nA: b\r\n\r\nbody"], b"body"),
            ("no header", [b"<html>plain</html>"], b"<html>plain</html>"),
            ("five bytes without separator", [b"HELLO"], b""),
            ("short reply with separator", [b"a\n\nbc"], b"bc"),
            ("header ends the reply", [self.HEADER], b""),
            ("empty reply", [], b""),
            ("drip-fed header", chunked(self.HEADER + b"drip", [1], 0.002), b"drip"),
            ("no separator in the first block", [long_header, b"next\r\n\r\ntail"],
             b"next\r\n\r\ntail"),
            ("separator straddles the block boundary", chunked(straddle, [1000, 7]), b"\r\nbody"),
        ]
        for name, script, expected in cases:
            with self.subTest(name):
                server = self.serve(script)
                out, status = run(server.url("/x"))
                self.assertEqual(out, expected)
                self.assertEqual(status, 0)

    def test_large_body_is_byte_exact(self):
        body = random.Random(7).randbytes(6 * 1024 * 1024 + 321)
        reply = self.HEADER + body
        for sizes in ([65536], [1, 32767, 4096, 100003]):
            with self.subTest(sizes=sizes):
                server = self.serve(chunked(reply, sizes))
                out, status = run(server.url("/big"))
                self.assertEqual(len(out), len(body))
                self.assertTrue(out == body, "body differs")
                self.assertEqual(status, 0)

    def test_several_urls_in_order(self):
        first = self.serve([self.HEADER + b"one\n"])
        second = self.serve([b"HTTP/1.0 200 OK\n\ntwo\n"])
        out, status = run(first.url("/1"), "http://" + second.url("/2"))
        self.assertEqual(out, b"one\ntwo\n")
        self.assertEqual(status, 0)
        self.assertEqual(len(first.requests), 1)
        self.assertEqual(len(second.requests), 1)


class RequestsEndToEnd(ServerTest):
    def test_exact_request_bytes(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\n"])
        run("http://127.0.0.1:%d/a/b.html?q=1" % server.port)
        run("-9", "127.0.0.1:%d/zero-nine" % server.port)
        run("127.0.0.1:%d" % server.port)
        self.assertEqual(server.requests, [
            b"GET /a/b.html?q=1 HTTP/1.0\r\nContent-Encoding: token\r\nHost: 127.0.0.1\r\n\r\n",
            b"GET /zero-nine\r\n",
            b"GET / HTTP/1.0\r\nContent-Encoding: token\r\nHost: 127.0.0.1\r\n\r\n",
        ])

    def test_port_above_65535_wraps(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\nwrapped"])
        out, status = run("127.0.0.1:%d/" % (server.port + 65536))
        self.assertEqual((out, status), (b"wrapped", 0))


class ModesEndToEnd(ServerTest):
    def test_header_only_ends_at_the_first_header(self):
        header = b"HTTP/1.0 200 OK\r\nServer: scripted\r\n\r\n"
        first = self.serve([header, b"body" * 10000])
        second = self.serve([header + b"never"])
        out, status = run("-h", first.url(), second.url())
        self.assertEqual((out, status), (header, 0))
        self.assertEqual(second.requests, [], "the second URL was contacted")

    def test_header_only_passes_a_reply_without_header_and_goes_on(self):
        first = self.serve([b"no header here at all\n"])
        second = self.serve([b"HTTP/1.0 404 Not Found\n\nbody"])
        out, status = run("-H", first.url(), second.url())
        self.assertEqual(out, b"no header here at all\nHTTP/1.0 404 Not Found\n\n")
        self.assertEqual(status, 0)

    def test_http09_writes_everything(self):
        reply = b"HTTP/1.0 200 OK\r\n\r\nall of it"
        server = self.serve([reply])
        out, status = run("-9", "-h", server.url())
        self.assertEqual((out, status), (reply, 0))
        self.assertEqual(server.requests, [b"GET /\r\n"])

    def test_ascii_mode(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\nline one\nline two\n"])
        out, _ = run(server.url())
        self.assertEqual(out, b"line one\nline two\n")
        out, status = run("-a", server.url())
        expected = b"line one\r\nline two\r\n" if WINDOWS else b"line one\nline two\n"
        self.assertEqual((out, status), (expected, 0))

    def test_ascii_mode_applies_to_messages(self):
        out, status = run("-a", "127.0.0.1:%d/" % free_port())
        self.assertTrue(out.endswith(b"\r\n" if WINDOWS else b"\n"))
        self.assertEqual(status, 1)


class ErrorsEndToEnd(ServerTest):
    def test_refused_connection_is_fatal(self):
        port = free_port()
        later = self.serve([b"HTTP/1.0 200 OK\r\n\r\nlater"])
        out, status = run("127.0.0.1:%d/" % port, later.url())
        self.assertEqual(out, b'host "127.0.0.1" refused "http" connection on port %d\n' % port)
        self.assertEqual(status, 1)
        self.assertEqual(later.requests, [])

    def test_refusal_shows_the_parsed_port(self):
        port = free_port()
        out, status = run("127.0.0.1:%d/" % (port + 65536))
        self.assertEqual(out, b'host "127.0.0.1" refused "http" connection on port %d\n'
                         % (port + 65536))
        self.assertEqual(status, 1)

    def test_unknown_host(self):
        out, status = run("no-such-host.invalid/x")
        self.assertEqual((out, status), (b'cannot locate host "no-such-host.invalid"\n', 1))

    def test_colon_in_path_becomes_part_of_the_host(self):
        out, status = run("127.0.0.1/a:b")
        self.assertEqual((out, status), (b'cannot locate host "127.0.0.1/a"\n', 1))

    def test_dash_after_the_first_url_is_a_url(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\nfirst"])
        out, status = run(server.url(), "-x")
        self.assertEqual((out, status), (b'first' + b'cannot locate host "-x"\n', 1))

    def test_too_long_url_is_skipped(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\nshort"])
        long_url = "127.0.0.1/" + "p" * 600
        out, status = run(long_url, server.url(), "h" * 200)
        self.assertEqual(out, b'webpull: URL too long: "%s..."\n' % long_url[:60].encode() + b"short"
                         + b'webpull: URL too long: "%s..."\n' % (b"h" * 60))
        self.assertEqual(status, 1)
        self.assertEqual(len(server.requests), 1)

    def test_longest_request_that_fits_is_sent(self):
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\nfits"])
        host = "127.0.0.1"
        path = "/" + "p" * (499 - 50 - len(host) - 1)
        out, status = run("%s:%d%s" % (host, server.port, path))
        self.assertEqual((out, status), (b"fits", 0))
        self.assertEqual(len(server.requests[0]), 499)

    def test_receive_error_counts_as_failure(self):
        body = b"partial body " * 1000
        server = self.serve([b"HTTP/1.0 200 OK\r\n\r\n" + body, 0.3, ScriptedServer.RESET])
        later = self.serve([b"HTTP/1.0 200 OK\r\n\r\n-later"])
        out, status = run(server.url(), later.url())
        self.assertTrue(out.endswith(b"-later"), out[-40:])
        self.assertTrue(body.startswith(out[:-len(b"-later")]))
        self.assertEqual(status, 1)


class OutputEndToEnd(ServerTest):
    HEADER = b"HTTP/1.0 200 OK\r\n\r\n"

    def test_a_failed_write_ends_the_run_with_status_1(self):
        body = b"b" * 200000
        too_long = "127.0.0.1/" + "p" * 600
        cases = [  # (standard output, options, first reply; None: a URL too long, a message only)
            (">/dev/full", (), [self.HEADER + body]),
            (">/dev/full", (), None),
            (">/dev/full", ("-h",), [self.HEADER + body]),
            ("| head -c 100 >/dev/null", (), [self.HEADER + body]),
            ("| head -c 100 >/dev/null", (), [self.HEADER, ScriptedServer.ENDLESS]),
            (">&-", (), [self.HEADER + body]),
        ]
        for destination, options, script in cases:
            with self.subTest(destination=destination, options=options, reply=script and len(script)):
                first = self.serve(script or [])
                later = self.serve([self.HEADER + b"later"])
                status, err = run_into(destination, *options, first.url() if script else too_long,
                                       later.url())
                first.close()
                self.assertEqual(b"".join(first.returned), b"", "data went back to the server")
                self.assertEqual(later.requests, [], "a URL was fetched after the failed write")
                self.assertEqual((status, err), (1, b""))

    def test_each_block_reaches_the_reader_while_the_server_still_sends(self):
        body = bytes(range(256)) * 400
        two_blocks = 2 * BLOCK - len(self.HEADER)
        reader_has_them = threading.Event()
        server = self.serve([self.HEADER + body[:two_blocks], reader_has_them, body[two_blocks:]])
        with subprocess.Popen(WEBPULL + [server.url()], stdout=subprocess.PIPE) as process:
            first = process.stdout.read(two_blocks)
            reader_has_them.set()
            out = first + process.stdout.read()
            self.assertEqual((out, process.wait(60)), (body, 0))
        self.assertEqual(server.waits_timed_out, 0, "the blocks were held back")

    @unittest.skipUnless(shutil.which("strace"), "needs strace")
    def test_a_character_device_gets_whole_blocks(self):
        body = b"z" * (5 * BLOCK)
        server = self.serve([self.HEADER + body])
        with tempfile.TemporaryDirectory() as scratch:
            log = os.path.join(scratch, "writes")
            # LeakSanitizer cannot run under a tracer.
            subprocess.run(["strace", "-f", "-qq", "-e", "trace=write", "-e", "signal=none", "-s", "2",
                            "-o", log] + WEBPULL + [server.url()], stdout=subprocess.DEVNULL,
                           env=dict(os.environ, ASAN_OPTIONS="detect_leaks=0"), timeout=120, check=True)
            with open(log) as f:
                sizes = [int(size) for size in re.findall(r'write\(\d+, "z+"\.*, (\d+)\)', f.read())]
        first = BLOCK - len(self.HEADER)
        self.assertEqual(sizes, [first] + [BLOCK] * 4 + [len(body) - first - 4 * BLOCK])


class CutBodyEndToEnd(ServerTest):
    def test_a_body_shorter_than_its_content_length_is_given_up(self):
        later = self.serve([b"<later/>"])
        body = b"c" * (2 * BLOCK + 5)
        more, exact = b"%d" % (len(body) + 1), b"%d" % len(body)
        cases = [  # (options, header fields, status)
            ((), b"Content-Length: " + more, 1),
            ((), b"content-LENGTH:\t" + more + b" ", 1),
            ((), b"Content-Length: 18446744073709551621", 1),  # 2**64 + 5
            ((), b"Content-Length: " + exact, 0),
            ((), b"Content-Length: 10", 0),
            ((), b"Content-Length: " + more + b"\r\nContent-Length: " + more, 0),
            ((), b"Content-Length: +" + more, 0),
            ((), b"Content-Length : " + more, 0),
            ((), b"Server: x", 0),
            (("-9",), b"Content-Length: " + more, 0),
            (("-h",), b"Content-Length: " + more, 0),
        ]
        for options, fields, status in cases:
            with self.subTest(options=options, fields=fields):
                header = b"HTTP/1.0 200 OK\r\n" + fields + b"\r\n\r\n"
                server = self.serve([header + body])
                out, got = run(*options, server.url(), later.url())
                expected = {(): body + b"<later/>", ("-9",): header + body + b"<later/>",
                            ("-h",): header}[options]
                self.assertEqual((out, got), (expected, status))


class CommandLineEndToEnd(unittest.TestCase):
    BANNER = (b"webpull 1.05\n"
              b"Fetches each URL over HTTP and writes the reply, header stripped, to standard output.\n"
              b"Messages and errors are written to standard output as well.\n\n"
              b"Usage: webpull [-h] [-a] [-9] URL [URL [...]]\n\n"
              b"Supports URLs of the form:\n\n"
              b"\t[http://]site[:port][/path]\n\n"
              b"\t-h\tretrieve HTTP headers only\n"
              b"\t-a\ttransfer in ASCII mode\n"
              b"\t-9\tuse HTTP/0.9 protocol\n\n"
              b"Examples:\n\n"
              b"\twebpull http://www.example.com\n"
              b"\twebpull -h www.example.com\n"
              b"\twebpull www.example.com:80/index.html\n")

    def test_banner_and_option_errors(self):
        cases = [
            ((), self.BANNER),
            (("-x", "host"), b'Unknown option: "-x"\n\n' + self.BANNER),
            (("-hh", "host"), b'Unknown option: "-hh"\n\n' + self.BANNER),
            (("-", "host"), b'Unknown option: "-"\n\n' + self.BANNER),
            (("-a", "-9", "-q", "host"), b'Unknown option: "-q"\n\n' + self.BANNER),
            (("-h",), b"Error: missing URL to retrieve\n\n" + self.BANNER),
            (("-9", "-A"), b"Error: missing URL to retrieve\n\n" + self.BANNER),
        ]
        for args, expected in cases:
            with self.subTest(args=args):
                out, status = run(*args)
                self.assertEqual(out, text_mode(expected))
                self.assertEqual(status, 1)


class RealServerEndToEnd(unittest.TestCase):
    """python3's http.server, an independent HTTP/1.0 implementation."""

    def test_fetch_and_header(self):
        with tempfile.TemporaryDirectory() as root:
            content = random.Random(3).randbytes(200000)
            with open(os.path.join(root, "file.bin"), "wb") as f:
                f.write(content)
            handler = functools.partial(QuietHandler, directory=root)
            server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
            threading.Thread(target=server.serve_forever, daemon=True).start()
            try:
                url = "http://127.0.0.1:%d/file.bin" % server.server_address[1]
                out, status = run(url)
                self.assertTrue(out == content, "body differs")
                self.assertEqual(status, 0)
                out, status = run("-h", url)
                self.assertTrue(out.startswith(b"HTTP/1.0 200 OK\r\n"), out[:40])
                self.assertTrue(out.endswith(b"\r\n\r\n"))
                self.assertIn(b"Content-Length: 200000\r\n", out)
                self.assertEqual(status, 0)
                out, status = run(url.replace("file.bin", "missing"))
                self.assertIn(b"404", out)
                self.assertEqual(status, 0)
            finally:
                server.shutdown()
                server.server_close()


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def main():
    global WINDOWS
    parser = argparse.ArgumentParser()
    parser.add_argument("--webpull", required=True)
    parser.add_argument("--runner")
    parser.add_argument("--runner-arg", action="append", default=[])
    parser.add_argument("--windows", action="store_true")
    options, rest = parser.parse_known_args()
    WINDOWS = options.windows
    if options.runner:
        WEBPULL.extend([options.runner] + options.runner_arg)
    WEBPULL.append(options.webpull)
    unittest.main(argv=[sys.argv[0]] + rest, verbosity=2)


if __name__ == "__main__":
    main()
