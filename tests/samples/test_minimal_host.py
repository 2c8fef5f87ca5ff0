#!/usr/bin/env python3
"""The sample host, run as a user runs it, watched through its own report (no input): its layout
once attached and after the frame is resized, and the layout it saves on exit and restores on the
next start.

    test_minimal_host.py --program minimal-host.exe --dll Varnex.dll --runner tools/wine-run
                         [--runner-arg=...]
"""
import os
import unittest

import host_report

OPTIONS = None


class MinimalHost(unittest.TestCase):
    def setUp(self):
        self.program = host_report.private_copy(self, OPTIONS.program, OPTIONS.dll, "minimal-host-")
        self.folder = os.path.dirname(self.program)
        self.runner = OPTIONS.runner

    def run_host(self, *steps):
        return host_report.run(self.runner, self.program, list(steps) + ["quit"])

    def assertLayout(self, show, label):
        faults = host_report.layout_faults(show)
        self.assertEqual(faults, [], "%s:\n  %s" % (label, "\n  ".join(faults)))

    def test_layout_as_attached_and_after_each_resize(self):
        shows = self.run_host("show:attached", "size:700,520", "show:wider", "size:420,330", "show:narrower",
                              "size:900,300", "show:flat")
        attached = shows["attached"]
        # Where the host docks its bars when no layout was saved.
        self.assertEqual([(n, host_report.state(attached[n])["docked"], host_report.state(attached[n])["side"])
                          for n in host_report.BARS], [("main", 1, 0), ("tools", 1, 1), ("panel", 0, 3)])
        frame = attached["frame"].rect
        client = host_report.client_size(attached)
        border = (frame[2] - frame[0] - client[0], frame[3] - frame[1] - client[1])
        sites = {name: attached[name].rect for name in host_report.SITES}
        for label, size in (("attached", None), ("wider", (700, 520)), ("narrower", (420, 330)), ("flat", (900, 300))):
            show = shows[label]
            with self.subTest(label):
                self.assertLayout(show, label)
                if size:
                    self.assertEqual(host_report.client_size(show), (size[0] - border[0], size[1] - border[1]))
                # Bars keep their sites and the sites their depth; the pane takes the change.
                for name in host_report.BARS:
                    self.assertEqual(show[name].parent, attached[name].parent, name)
                self.assertEqual(show["dock-top"].rect[3], sites["dock-top"][3])
                self.assertEqual(show["dock-left"].rect[2], sites["dock-left"][2])

    def test_layout_saved_on_exit_comes_back_on_start(self):
        frame = self.run_host("show:first")["first"]["frame"]
        x, y = frame.rect[0] + 150, frame.rect[1] + 200
        # Every bar somewhere else than by default, the frame resized.
        moved = self.run_host("size:640,420", "dock:panel,2,0,0", "float:tools,%d,%d" % (x, y), "dock:main,3,0,0",
                              "show:moved")["moved"]
        self.assertLayout(moved, "moved")
        self.assertEqual([moved[n].parent for n in host_report.BARS], ["dock-bottom", "floating", "dock-right"])
        self.assertTrue(os.path.exists(os.path.join(self.folder, "minimal-host.ini")))

        restored = self.run_host("show:restored")["restored"]
        self.assertEqual(list(restored), list(moved))
        for name in moved:
            self.assertEqual(restored[name], moved[name], name)

    def test_a_damaged_layout_file_leaves_the_defaults(self):
        defaults = self.run_host("show:defaults")["defaults"]
        for damage in ("main=1 7 0 0 0 0", "main=2 0 0 0 0 0", "main=1 0 zero", "tools=", "panel=0 3 40"):
            with self.subTest(damage):
                with open(os.path.join(self.folder, "minimal-host.ini"), "w") as f:
                    f.write("[Bars]\r\n%s\r\n" % damage)
                shows = self.run_host("show:started")
                self.assertLayout(shows["started"], damage)
                self.assertEqual({n: shows["started"][n] for n in host_report.BARS},
                                 {n: defaults[n] for n in host_report.BARS})


if __name__ == "__main__":
    OPTIONS, argv = host_report.options("--program", "--dll")
    unittest.main(argv=argv, verbosity=2)
