#!/usr/bin/env python3
"""webpull against curl, wget and the platform's floor, on loopback, in one run.

One generated-body server serves every client in turn; each client writes the body to /dev/null.
For each body size and client: the median wall time and peak memory (maximum resident set) of
several runs, and the time ratio against curl and against the floor (a plain socket reader).

    bench/webpull/run.py [--build build/bench] [--runs 7] [--sizes 1048576,1073741824]
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


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build/bench")
    parser.add_argument("--runs", type=int, default=7)
    parser.add_argument("--sizes", default="1048576,1073741824")
    options = parser.parse_args()

    webpull = os.path.join(options.build, "webpull", "webpull")
    server_binary = os.path.join(options.build, "bench", "webpull", "body_server")
    floor_binary = os.path.join(options.build, "bench", "webpull", "floor_reader")
    for path in (webpull, server_binary, floor_binary, "/usr/bin/time"):
        if not os.path.exists(path):
            sys.exit("missing %s: build the bench preset first (make bench); GNU time is package time" % path)
    peers = [name for name in ("curl", "wget") if shutil.which(name)]

    print("loopback, %d runs each, median; body written to /dev/null" % options.runs)
    for size in [int(s) for s in options.sizes.split(",")]:
        with tempfile.TemporaryDirectory() as scratch:
            portfile = os.path.join(scratch, "port")
            server = subprocess.Popen([server_binary, portfile, str(size)])
            try:
                for _ in range(100):
                    if os.path.exists(portfile) and open(portfile).read().strip():
                        break
                    time.sleep(0.05)
                port = open(portfile).read().strip()
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
            finally:
                server.kill()
                server.wait()

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
