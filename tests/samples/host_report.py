"""Runs the sample host with test steps and checks the layout it reports.

minimal-host.exe takes steps on its command line (report=FILE, show:LABEL, size:CX,CY, quit, ...)
and writes one line per window for each show: its rectangle in the frame's client coordinates,
its parent, whether it is visible, and a bar's DOCKSTATE. See samples/minimal-host/layout_script.c.
"""
import argparse
import collections
import os
import shutil
import subprocess
import sys
import tempfile

Window = collections.namedtuple("Window", "name rect parent visible fields")

SITES = ("dock-top", "dock-left", "dock-right", "dock-bottom")  # DOCKSTATE sides 0 to 3
BARS = ("main", "tools", "panel")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run(runner, program, steps, timeout=60):
    """Runs the program with `steps` and returns {label: {name: Window}} of its report."""
    report = os.path.join(os.path.dirname(program), "report.txt")
    if os.path.exists(report):
        os.remove(report)
    command = runner + [program, "report=" + windows_path(report)] + steps
    result = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
    if result.returncode != 0:
        raise AssertionError("%s ended with status %d:\n%s" % (program, result.returncode,
                                                               result.stdout.decode(errors="replace")))
    with open(report) as f:
        return parse(f.read())


def parse(text):
    shows = collections.OrderedDict()
    for line in text.splitlines():
        words = line.split()
        if len(words) < 3:
            continue  # "LABEL end" closes a show
        if words[0] == "error":
            raise AssertionError("the host refused a step: " + line)
        label, name, pairs = words[0], words[1], dict(w.split("=", 1) for w in words[2:])
        rect = tuple(int(v) for v in pairs.pop("rect").split(","))
        shows.setdefault(label, collections.OrderedDict())[name] = Window(
            name, rect, pairs.pop("parent", None), pairs.pop("visible", None) == "1", pairs)
    return shows


def area(rect):
    return max(0, rect[2] - rect[0]) * max(0, rect[3] - rect[1])


def inside(inner, outer):
    return (outer[0] <= inner[0] and outer[1] <= inner[1] and inner[2] <= outer[2] and inner[3] <= outer[3])


def overlap(a, b):
    return min(a[2], b[2]) > max(a[0], b[0]) and min(a[3], b[3]) > max(a[1], b[1])


def state(window):
    return {key: int(window.fields[key]) for key in ("docked", "side", "x", "y", "cx", "cy")}


def client_size(show):
    return tuple(int(v) for v in show["frame"].fields["client"].split(","))


def layout_faults(show):
    """What is wrong with one show's layout, as readable lines (none when it is right): the status
    bar along the bottom, the dock sites and the pane tiling the rest of the client area with the
    pane between the sites, each docked bar inside the site of its DOCKSTATE side, each floating
    bar in a visible window of its own that the frame owns, where its DOCKSTATE says."""
    faults = []
    width, height = client_size(show)
    client = (0, 0, width, height)
    status, pane = show["status"], show["pane"]
    sites = {name: show[name] for name in SITES}

    if not (status.visible and status.rect[0] == 0 and status.rect[2] == width and status.rect[3] == height
            and status.rect[1] < height):
        faults.append("status bar not along the bottom of the %dx%d client area: %s" % (width, height, status.rect))
    parts = [status, pane] + [s for s in sites.values() if area(s.rect)]
    for part in parts:
        if not inside(part.rect, client):
            faults.append("%s %s outside the client area %s" % (part.name, part.rect, client))
    for i, a in enumerate(parts):
        for b in parts[i + 1:]:
            if overlap(a.rect, b.rect):
                faults.append("%s %s overlaps %s %s" % (a.name, a.rect, b.name, b.rect))
    if sum(area(p.rect) for p in parts) != width * height:
        faults.append("status bar, sites and pane do not fill the client area: %s"
                      % [(p.name, p.rect) for p in parts])
    top, left, right, bottom = (sites[s].rect for s in SITES)
    expected_pane = (left[2], top[3], right[0], bottom[1])
    if pane.rect != expected_pane or bottom[3] != status.rect[1]:
        faults.append("pane %s not between the sites (%s), or the bottom site %s not on the status bar %s"
                      % (pane.rect, expected_pane, bottom, status.rect))

    frame_origin = tuple(int(v) for v in show["frame"].fields["origin"].split(","))
    for name in BARS:
        bar = show[name]
        s = state(bar)
        if not bar.visible:
            faults.append("%s hidden" % name)
        if s["docked"] and not 0 <= s["side"] <= 3:
            faults.append("%s docked on side %d" % (name, s["side"]))
        elif s["docked"]:
            site = SITES[s["side"]]
            if bar.parent != site or not inside(bar.rect, sites[site].rect):
                faults.append("%s %s (parent %s) not inside %s %s as its DOCKSTATE says"
                              % (name, bar.rect, bar.parent, site, sites[site].rect))
        else:
            window = show.get(name + "-window")
            if bar.parent != "floating" or window is None:
                faults.append("%s floats by its DOCKSTATE but its parent is %s" % (name, bar.parent))
                continue
            corner = (window.rect[0] + frame_origin[0], window.rect[1] + frame_origin[1])
            if not (window.visible and window.fields.get("owner") == "frame" and inside(bar.rect, window.rect)
                    and s["side"] == 3 and corner == (s["x"], s["y"])):
                faults.append("%s's floating window %s (owner %s, visible %s) does not hold it at %s "
                              "as its DOCKSTATE %s says" % (name, window.rect, window.fields.get("owner"),
                                                           window.visible, corner, s))
    docked = [show[n] for n in BARS if state(show[n])["docked"]]
    for i, a in enumerate(docked):
        for b in docked[i + 1:]:
            if a.parent == b.parent and overlap(a.rect, b.rect):
                faults.append("bars %s %s and %s %s overlap" % (a.name, a.rect, b.name, b.rect))
    return faults


def private_copy(testcase, program, dll, prefix):
    """The host and the DLL in a folder of their own, removed after the test: the layout file goes
    next to the program. Returns the program's path."""
    folder = tempfile.mkdtemp(prefix=prefix)
    testcase.addCleanup(shutil.rmtree, folder, True)
    copy = os.path.join(folder, os.path.basename(program))
    shutil.copy(program, copy)
    shutil.copy(dll, folder)
    return copy


def options(*required):
    """The command line of a test program: the options named, --runner and its --runner-arg
    words (OPTIONS.runner is the whole runner command), and what is left for unittest."""
    parser = argparse.ArgumentParser()
    for option in required + ("--runner",):
        parser.add_argument(option, required=True)
    parser.add_argument("--runner-arg", action="append", default=[])
    parsed, rest = parser.parse_known_args()
    parsed.runner = [parsed.runner] + parsed.runner_arg
    return parsed, [sys.argv[0]] + rest
