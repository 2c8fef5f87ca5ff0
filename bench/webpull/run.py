#!/usr/bin/env python3
"""webpull against its peers and the platform's floor, on loopback, in one run.

Native: one generated-body server serves every client in turn; each client writes the body to
/dev/null. For each body size and client: the median wall time and peak memory (maximum resident
set) of several runs, and the time ratio against curl and against the floor (a plain socket
reader).

Windows: webpull.exe under Wine against a bare Winsock reader (winsock_reader.exe, the floor
there), both fetching the same body from the same server, with standard output to /dev/null (a
character device to the C runtime), to a pipe and to a file. For each: the median wall time of
several runs and webpull's throughput as a share of the reader's. Every run includes Wine's
start-up, the same for both. The share is the median over rounds of the reader's time over
webpull's, each round running the two back to back.

    bench/webpull/run.py [--build build/bench] [--runs 7] [--sizes 1048576,1073741824]
                         [--win32-build build/win32] [--wine-runs 5] [--wine-size 536870912]
                         [--only native|wine]
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time


def measure(command, scratch):
    """Wall seconds and peak resident KiB of one run, output to /dev/null.

    The peak comes from GNU time: a child forked straight from this Python process would count
    the interpreter's own pages, copied at the fork, as its peak.
    """
    report = os.path.join(scratch, "peak")
    with open(os.devnull, "wb") as devnull:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-o", report, "-f", "%M"] + command,
                                stdout=devnull, stderr=subprocess.PIPE)
        elapsed = time.perf_counter() - start
    if result.returncode != 0:
        sys.exit("failed: %s: %s" % (" ".join(command), result.stderr.decode(errors="replace")))
    with open(report) as f:
        return elapsed, int(f.read().split()[-1])


class BodyServer:
    """body_server on a loopback port of its choice, for the length of a with-block."""

    def __init__(self, binary, size, scratch):
        self.binary, self.size, self.portfile = binary, size, os.path.join(scratch, "port")

    def __enter__(self):
        self.process = subprocess.Popen([self.binary, self.portfile, str(self.size)])
        for _ in range(100):
            if os.path.exists(self.portfile) and open(self.portfile).read().strip():
                break
            time.sleep(0.05)
        self.port = open(self.portfile).read().strip()
        return self

    def __exit__(self, *exc):
        self.process.kill()
        self.process.wait()


def timed_run(command, destination, scratch):
    """Wall seconds of one run with standard output to "/dev/null", a "pipe" (read by cat) or a
    "file"; and the bytes that reached the file (None elsewhere)."""
    target = os.path.join(scratch, "out")
    with open(target if destination == "file" else os.devnull, "wb") as out:
        start = time.perf_counter()
        if destination == "pipe":
            client = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            reader = subprocess.Popen(["cat"], stdin=client.stdout, stdout=out)
            client.stdout.close()
            err = client.stderr.read()
            status = client.wait() or reader.wait()
        else:
            result = subprocess.run(command, stdout=out, stderr=subprocess.PIPE)
            err, status = result.stderr, result.returncode
        elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit("failed: %s: %s" % (" ".join(command), err.decode(errors="replace")))
    return elapsed, os.path.getsize(target) if destination == "file" else None


def wine_bench(options, server_binary):
    top = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    wine_run = [os.path.join(top, "tools", "wine-run"), "--prefix",
                os.path.join(options.win32_build, "wineprefix")]
    webpull = os.path.join(options.win32_build, "webpull", "webpull.exe")
    reader = os.path.join(options.win32_build, "bench", "webpull", "winsock_reader.exe")
    for path in (webpull, reader):
        if not os.path.exists(path):
            sys.exit("missing %s: build the win32 preset first (make bench)" % path)
    subprocess.run(wine_run + ["--init"], check=True)

    size = options.wine_size
    print("\nWindows side under Wine: body %d bytes (%.0f MiB), %d runs each, median"
          % (size, size / 1048576, options.wine_runs))
    print("%-12s %14s %14s %12s" % ("stdout to", "webpull.exe s", "reader.exe s", "throughput"))
    with tempfile.TemporaryDirectory() as scratch, BodyServer(server_binary, size, scratch) as server:
        clients = {"webpull": (wine_run + [webpull, "http://127.0.0.1:%s/" % server.port], size),
                   "reader": (wine_run + [reader, server.port], None)}
        timed_run(clients["reader"][0], "/dev/null", scratch)  # Wine's server and services up
        for destination in ("/dev/null", "pipe", "file"):
            times = {name: [] for name in clients}
            for _ in range(options.wine_runs):
                for name, (command, expected) in clients.items():  # interleaved: drift hits both
                    elapsed, written = timed_run(command, destination, scratch)
                    if written is not None and expected is not None and written != expected:
                        sys.exit("%s wrote %d bytes to the file, not %d" % (name, written, expected))
                    times[name].append(elapsed)
            # The ratio of each round's pair, run back to back, then the median: a burst of load
            # from elsewhere on the machine slows both of a pair alike.
            share = statistics.median(r / w for w, r in zip(times["webpull"], times["reader"]))
            print("%-12s %14.3f %14.3f %11.2fx" % (destination, statistics.median(times["webpull"]),
                                                   statistics.median(times["reader"]), share))
    print("throughput: webpull.exe's as a share of the bare Winsock reader's, the median of the\n"
          "rounds' ratios (goal: at least 0.80x)")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/bench")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--sizes", default="1048576,1073741824")
    parser.add_argument("--win32-build", default="build/win32")
    parser.add_argument("--wine-runs", type=int, default=5)
    parser.add_argument("--wine-size", type=int, default=512 * 1048576)
    parser.add_argument("--only", choices=("native", "wine"))
    options = parser.parse_args()

    webpull = os.path.join(options.build, "webpull", "webpull")
    server_binary = os.path.join(options.build, "bench", "webpull", "body_server")
    floor_binary = os.path.join(options.build, "bench", "webpull", "floor_reader")
    for path in (webpull, server_binary, floor_binary, "/usr/bin/time"):
        if not os.path.exists(path):
            sys.exit("missing %s: build the bench preset first (make bench); GNU time is package time" % path)
    if options.only != "wine":
        native_bench(options, webpull, server_binary, floor_binary)
    if options.only != "native":
        wine_bench(options, server_binary)


def native_bench(options, webpull, server_binary, floor_binary):
    peers = [name for name in ("curl", "wget") if shutil.which(name)]
    print("loopback, %d runs each, median; body written to /dev/null" % options.runs)
    for size in [int(s) for s in options.sizes.split(",")]:
        with tempfile.TemporaryDirectory() as scratch:
            with BodyServer(server_binary, size, scratch) as server:
                port = server.port
                url = "http://127.0.0.1:%s/" % port
                clients = {"floor (plain reader)": [floor_binary, port], "webpull": [webpull, url]}
                if "curl" in peers:
                    clients["curl -s -o /dev/null"] = ["curl", "-s", "-o", "/dev/null", url]
                if "wget" in peers:
                    clients["wget -q -O /dev/null"] = ["wget", "-q", "-O", "/dev/null", url]
                results = {name: [] for name in clients}
                for _ in range(options.runs):
                    for name, command in clients.items():  # interleaved: drift hits all alike
                        results[name].append(measure(command, scratch))

        print("\nbody %d bytes (%.0f MiB)" % (size, size / 1048576))
        print("%-24s %10s %10s %10s %9s %9s" % ("client", "seconds", "MiB/s", "peak KiB",
                                                 "vs curl", "vs floor"))
        medians = {name: (statistics.median(t for t, _ in runs), max(m for _, m in runs))
                   for name, runs in results.items()}
        curl_time = medians.get("curl -s -o /dev/null", (None,))[0]
        floor_time = medians["floor (plain reader)"][0]
        for name, (seconds, peak) in medians.items():
            print("%-24s %10.3f %10.0f %10d %9s %8.2fx" % (
                name, seconds, size / 1048576 / seconds, peak,
                "%.2fx" % (seconds / curl_time) if curl_time else "-", seconds / floor_time))
    print("\nratios are time / peer time: below 1 is faster than the peer")


if __name__ == "__main__":
    main()
