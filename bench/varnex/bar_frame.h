// The frames the benchmark lays out: an SDI frame attached to the library with bars docked in
// rows on all four sides, and a twin of its window tree that nothing manages.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "varnex.h"

namespace vbench {

// Big enough for 256 bars (64 a side, in 8 rows of 8) on the 1280 x 1024 test display.
constexpr SIZE kFrameSize{1000, 800};

struct BarFrame {
    HWND frame = nullptr;
    int count = 0;                         // bars, a multiple of four
    std::vector<HWND> bars;                // by side (top, bottom, left, right), row by row
    std::unique_ptr<DOCKSTATE[]> states;   // the library keeps each bar's place here
    int rowsPerSide = 0, barsPerRow = 0;
};

// A shown SDI frame of hostkit's, at the screen's origin, attached to the library; null when
// either fails.
HWND CreateAttachedFrame(SIZE size);
// Room for `count` bars (a multiple of four): after it, making and docking them allocates nothing
// of the benchmark's own, so the heap census sees only the windows' and the library's blocks.
void ReserveBars(BarFrame* f, int count);
// The bar windows (hostkit views), in the frame, not docked yet.
void CreateBarWindows(BarFrame* f);
// Docks every bar with SetDock, a quarter on each side, in at least two rows of at most eight,
// and lays the frame out. False when a SetDock fails.
bool DockBars(BarFrame* f);
// All of the above: null `frame` in the result when something failed.
BarFrame BuildBarFrame(int count, SIZE size = kFrameSize);
void DestroyBarFrame(BarFrame* f);
// How the bars lie once laid out, read from their windows: "top 2, bottom 2, left 2, right 2 rows".
std::string DescribeRows(const BarFrame& f);

// The bar on the top side at the end of the first row.
HWND LastBarOfFirstRow(const BarFrame& f);

// The same window tree without the library: every child and grandchild of `frame` made again
// with its class, styles, id and rectangle, none of them subclassed, none with a host role (the
// host stand-in's procedure passes their messages to the default one).
struct Twin {
    HWND frame = nullptr;
    std::map<HWND, HWND> of;  // original window -> its twin
};
Twin CreateTwin(HWND frame);
// Empty when every twin window has its original's rectangle, else the first one that differs.
std::string CompareWithTwin(const Twin& twin);

// Runs every message waiting in the queue (paints, input a drag left, posted layouts).
void Settle();

}  // namespace vbench
