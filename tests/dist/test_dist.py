#!/usr/bin/env python3
"""The release zip as a user gets it: what it holds and its SHA256SUMS, and the sample host built
from the unpacked release alone, by mingw-w64 against libVarnex.dll.a and with the Microsoft
toolchain's conventions against Varnex.lib, run with the release's Varnex.dll beside it.

    test_dist.py --zip varnex-VERSION.zip --docs DOCS_DIR --msvc-cc tools/msvc-cc
                 --runner tools/wine-run [--runner-arg=...]
"""
import glob
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples"))
import host_report  # noqa: E402  (found through the path set just above)

OPTIONS = None

SAMPLE = ["samples/minimal-host/" + name for name in (
    "README.md", "minimal_host.c", "minimal_host.h", "layout_store.c", "layout_store.h", "layout_script.c",
    "layout_script.h")]
ALWAYS = ["LICENSE", "SHA256SUMS", "bin/Varnex.dll", "bin/webpull.exe", "include/varnex.h", "lib/Varnex.def",
          "lib/libVarnex.dll.a", "lib/Varnex.lib", "docs/webpull.md"] + SAMPLE


class Release(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp(prefix="varnex-release-")
        self.addCleanup(shutil.rmtree, self.folder, True)
        with zipfile.ZipFile(OPTIONS.zip) as archive:
            archive.extractall(self.folder)
            self.names = [n for n in archive.namelist() if not n.endswith("/")]
        self.top = os.path.splitext(os.path.basename(OPTIONS.zip))[0]
        self.root = os.path.join(self.folder, self.top)

    def test_it_holds_the_release_files_under_one_folder_with_their_sums(self):
        # The guide and its pictures go in once they exist.
        optional = [os.path.relpath(p, os.path.dirname(OPTIONS.docs)) for p in
                    glob.glob(os.path.join(OPTIONS.docs, "varnex-guide.md")) +
                    glob.glob(os.path.join(OPTIONS.docs, "images", "*.png"))]
        self.assertEqual(sorted(self.names), sorted(self.top + "/" + n for n in ALWAYS + optional))
        with open(os.path.join(self.root, "SHA256SUMS")) as f:
            sums = dict(reversed(line.split("  ", 1)) for line in f.read().splitlines())
        self.assertEqual(sorted(sums), sorted(n for n in ALWAYS + optional if n != "SHA256SUMS"))
        for path, digest in sums.items():
            with open(os.path.join(self.root, path), "rb") as f:
                self.assertEqual(hashlib.sha256(f.read()).hexdigest(), digest, path)

    def test_the_sample_builds_from_the_release_alone_and_runs(self):
        sources = [os.path.join(self.root, p) for p in SAMPLE if p.endswith(".c")]
        include = "-I" + os.path.join(self.root, "include")
        lib = os.path.join(self.root, "lib")
        builds = {
            "mingw-w64, libVarnex.dll.a": ["i686-w64-mingw32-gcc", "-std=c99", "-Wall", "-Wextra", "-Werror",
                                           "-mwindows", include] + sources +
                                          [os.path.join(lib, "libVarnex.dll.a"), "-lcomctl32", "-lgdi32", "-o"],
            "i686-pc-windows-msvc, Varnex.lib": [OPTIONS.msvc_cc, include] + sources +
                                                [os.path.join(lib, "Varnex.lib"), "-o"],
        }
        runner = OPTIONS.runner
        for name, command in builds.items():
            with self.subTest(name):
                out = tempfile.mkdtemp(dir=self.folder)
                program = os.path.join(out, "minimal-host.exe")
                subprocess.run(command + [program], check=True)
                shutil.copy(os.path.join(self.root, "bin", "Varnex.dll"), out)
                show = host_report.run(runner, program, ["show:started", "quit"])["started"]
                self.assertEqual(host_report.layout_faults(show), [])
                self.assertEqual([show[n].parent for n in host_report.BARS], ["dock-top", "dock-left", "floating"])


if __name__ == "__main__":
    OPTIONS, argv = host_report.options("--zip", "--docs", "--msvc-cc")
    unittest.main(argv=argv, verbosity=2)
