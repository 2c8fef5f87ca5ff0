# make demo: set up, build, and show webpull fetching from a real HTTP server on loopback.
# make test: set up, build both presets, and run every test of both.
# make dist: the release, build/dist/varnex-<version>.zip.
.PHONY: all setup build-win32 build-native demo guide-images test dist bench bench-varnex soak clean

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

# The reference images of docs/varnex-guide.md: the demo's screenshot, copied into docs/images/.
guide-images: build-win32
	VARNEX_DEMO_SCREENSHOT=1 tools/with-xvfb demo/varnex-demo
	mkdir -p docs/images
	cp build/varnex-demo.png docs/images/demo.png

# One Xvfb display serves the whole run.
test: build-win32 build-native
	tools/with-xvfb sh -c 'ctest --preset win32 && ctest --preset native'

dist: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target dist

clean:
	rm -rf build

# Not part of the tests: timings depend on the machine. Prints ratios against curl, wget and the
# platform's floor measured in the same run, natively and (webpull.exe against a bare Winsock
# reader) under Wine; then Varnex's (bench-varnex); one Xvfb display for every Wine run.
bench: setup
	cmake --preset bench >/dev/null
	cmake --build --preset bench
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target webpull winsock_reader varnex_bench
	tools/with-xvfb sh -c 'python3 bench/webpull/run.py --build build/bench --win32-build build/win32 && \
	  $(VARNEX_BENCH_RUN)'

# Varnex's layout pass, frame resize, drag and heap use against the bare window operations that do
# the same to the same windows, in one run under Wine (a minute or two). It places the cursor:
# nothing else runs on its display meanwhile. VARNEX_BENCH_CASES picks cases (layout resize drag
# heap; empty: all).
VARNEX_BENCH_CASES ?=
VARNEX_BENCH_RUN = tools/wine-run --init && \
	  tools/wine-run build/win32/bench/varnex/varnex_bench.exe $(VARNEX_BENCH_CASES)
bench-varnex: setup
	cmake --preset win32 >/dev/null
	cmake --build --preset win32 --target varnex_bench
	tools/with-xvfb sh -c '$(VARNEX_BENCH_RUN)'

# Not part of the tests: tens of minutes. The hostile host's soak, long, on many seeds; then the
# same cycle twenty times and twenty rounds of docking, each printing what the process holds
# after it. SOAK_WINEDEBUG=warn+heap adds Wine's heap checks (any heap message is a fault).
SOAK_SEEDS ?= 1,2,3,4,5,6,7,8
SOAK_STEPS ?= 10000
SOAK_WINEDEBUG ?= -all
soak: build-win32
	tools/with-xvfb sh -c 'tools/wine-run --init && \
	  WINEDEBUG=$(SOAK_WINEDEBUG) VARNEX_SOAK_SEEDS=$(SOAK_SEEDS) VARNEX_SOAK_STEPS=$(SOAK_STEPS) \
	  VARNEX_SOAK_CYCLES=20 VARNEX_DOCK_ROUNDS=20 VARNEX_DOCK_BARS=128 \
	  tools/wine-run build/win32/tests/varnex/varnex_soak_tests.exe'
