"""The sample host run under Wine on the test display, asked for its report while it runs, and
driven with real X input through xdotool.

The host reads steps from a request file whenever one appears (listen=FILE, see
samples/minimal-host/layout_script.c) and appends a report ending in "LABEL end" for each show:
step, so a test waits on what the host sees, never on a fixed time alone.
"""
import os
import subprocess
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples"))
import host_report  # noqa: E402  (the sample's report format, shared with its other tests)

# Where the cursor rests between gestures: off every window, so that it neither hovers a button
# (tooltips) nor shows in pixel comparisons.
REST = (1270, 1010)


def xdo(*args):
    subprocess.run(["xdotool"] + [str(a) for a in args], check=True)


# The system's double-click time (500 ms) and a margin: a press that follows another press within
# it, at the same place, would be a double click.
CLICK_GAP = 0.6
_last_press = [0.0]


def press(button=1):
    """A button pressed, never read as the second half of a double click."""
    gap = _last_press[0] + CLICK_GAP - time.monotonic()
    if gap > 0:
        time.sleep(gap)
    xdo("mousedown", button)
    _last_press[0] = time.monotonic()


def double_click():
    gap = _last_press[0] + CLICK_GAP - time.monotonic()
    if gap > 0:
        time.sleep(gap)
    xdo("click", "--repeat", 2, "--delay", 80, 1)
    _last_press[0] = time.monotonic()


def let_go():
    """Whatever a failed case left pressed, released."""
    for args in (("mouseup", 1), ("mouseup", 3), ("keyup", "ctrl")):
        subprocess.run(["xdotool"] + [str(a) for a in args], check=False)


def move(point):
    xdo("mousemove", point[0], point[1])


def glide(start, end, steps=8):
    """Moves the cursor from start to end in steps, as a hand does: the library tracks motion."""
    for i in range(1, steps + 1):
        move((start[0] + (end[0] - start[0]) * i // steps, start[1] + (end[1] - start[1]) * i // steps))
        time.sleep(0.01)  # pacing only; every wait for an outcome polls the report


def grab(rect):
    """The screen's pixels in rect (left, top, right, bottom), as bytes."""
    x, y, r, b = rect
    return subprocess.run(["import", "-window", "root", "-crop", "%dx%d+%d+%d" % (r - x, b - y, x, y), "rgb:-"],
                          stdout=subprocess.PIPE, check=True).stdout


def screenshot(path):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    subprocess.run(["import", "-window", "root", path], check=False)


class Host:
    """One run of the sample host in `folder` (the program, Varnex.dll and its layout file)."""

    def __init__(self, runner, program):
        folder = os.path.dirname(program)
        self.report = os.path.join(folder, "report.txt")
        self.request = os.path.join(folder, "request.txt")
        for path in (self.report, self.request):
            if os.path.exists(path):
                os.remove(path)
        self.offset = 0
        self.count = 0
        self.process = subprocess.Popen(runner + [program, "report=" + host_report.windows_path(self.report),
                                                  "listen=" + host_report.windows_path(self.request)],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def ask(self, *steps, timeout=20):
        """Runs steps in the host, then returns its show {name: Window}."""
        self.count += 1
        label = "r%d" % self.count
        temporary = self.request + ".new"
        with open(temporary, "w") as f:
            f.write(" ".join(list(steps) + ["show:" + label]))
        os.replace(temporary, self.request)  # whole, never half written
        end = "%s end" % label
        deadline = time.monotonic() + timeout
        while True:
            if self.process.poll() is not None:
                raise AssertionError("the host ended (status %d)" % self.process.returncode)
            text = ""
            if os.path.exists(self.report):
                with open(self.report) as f:
                    f.seek(self.offset)
                    text = f.read()
            at = text.find(end)
            if at >= 0:
                self.offset += len(text[:at + len(end)].encode())
                return host_report.parse(text[:at])[label]
            if time.monotonic() > deadline:
                raise AssertionError("the host did not answer %s within %d s" % (steps, timeout))
            time.sleep(0.02)

    def wait(self, condition, what, timeout=10):
        """Asks until condition(show) holds; returns that show."""
        deadline = time.monotonic() + timeout
        while True:
            show = self.ask()
            if condition(show):
                return show
            if time.monotonic() > deadline:
                raise AssertionError("waited %d s for %s; the host reports:\n  %s"
                                     % (timeout, what, "\n  ".join(str(w) for w in show.values())))
            time.sleep(0.03)

    def quit(self, timeout=20):
        if self.process.poll() is None:
            with open(self.request + ".new", "w") as f:
                f.write("quit")
            os.replace(self.request + ".new", self.request)
            try:
                self.process.wait(timeout)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                raise AssertionError("the host did not end on quit")

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def origin(show):
    return tuple(int(v) for v in show["frame"].fields["origin"].split(","))


def on_screen(show, rect):
    """A rectangle of the report (frame client coordinates) on the screen."""
    x, y = origin(show)
    return (rect[0] + x, rect[1] + y, rect[2] + x, rect[3] + y)


def captured(show):
    return show["frame"].fields["capture"] == "1"
