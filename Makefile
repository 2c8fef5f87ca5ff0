# make demo: set up, build, and show webpull fetching from a real HTTP server on loopback.
# make test: set up, build both presets, and run every test of both.
.PHONY: all setup build-win32 build-native demo test bench clean

all: build-win32

setup:
	tools/setup

build-win32: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32

build-native: setup
	cmake --preset native >/dev/null
	cmake --build --preset native

demo: build-win32
	tools/with-xvfb demo/webpull-demo
	VARNEX_DEMO_SCREENSHOT=1 tools/with-xvfb demo/varnex-demo

# One Xvfb display serves the whole run.
test: build-win32 build-native
	tools/with-xvfb sh -c 'ctest --preset win32 && ctest --preset native'

clean:
	rm -rf build

# Not part of the tests: timings depend on the machine. Prints ratios against curl, wget and the
# platform's floor measured in the same run, natively and (webpull.exe against a bare Winsock
# reader) under Wine, on one Xvfb display for every Wine run.
bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target webpull winsock_reader
	tools/with-xvfb python3 bench/webpull/run.py --build build/bench --win32-build build/win32
