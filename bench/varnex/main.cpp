// Varnex layout benchmark: what the library's layout, resize, drag and bookkeeping cost against
// the bare platform operations that do the same to the same windows, measured in one run under
// Wine, with medians of interleaved rounds. Prints the table and how each row was measured.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "drag_case.h"
#include "heap_case.h"
#include "hostkit.h"
#include "layout_cases.h"
#include "report.h"
#include "stopwatch.h"

namespace {

// Rounds per bar count: fewer as passes get longer, so that every case takes seconds, not minutes.
constexpr vbench::Effort kLayoutEfforts[] = {{16, 45}, {64, 31}, {256, 15}};
constexpr vbench::Effort kResizeEfforts[] = {{16, 15}, {64, 15}, {256, 9}};
constexpr vbench::Effort kDragEfforts[] = {{16, 9}, {64, 9}, {256, 7}};
constexpr int kHeapBars[] = {16, 64, 256};

LONGLONG g_caseStart = 0;

// Progress on standard error, with the time the previous case took.
void Progress(const char* what, int bars) {
    const LONGLONG now = vbench::Ticks();
    if (g_caseStart) std::fprintf(stderr, " (%.1f s)\n", vbench::Milliseconds(g_caseStart, now) / 1000.0);
    if (what) std::fprintf(stderr, "varnex bench: %s, N=%d", what, bars);
    std::fflush(stderr);
    g_caseStart = now;
}

void Explain(vbench::Report* report) {
    char rounds[256];
    std::snprintf(rounds, sizeof rounds,
                  "Medians of interleaved samples (N=16/64/256): layout %d/%d/%d passes a side, resize %d/%d/%d, "
                  "drag %d/%d/%d rounds there and back (32 moves each way); times from QueryPerformanceCounter.",
                  kLayoutEfforts[0].rounds, kLayoutEfforts[1].rounds, kLayoutEfforts[2].rounds,
                  2 * kResizeEfforts[0].rounds, 2 * kResizeEfforts[1].rounds, 2 * kResizeEfforts[2].rounds,
                  kDragEfforts[0].rounds, kDragEfforts[1].rounds, kDragEfforts[2].rounds);
    report->Note(
        "\nlayout pass: one RecalcFrame of an attached SDI frame at a fixed size, N bars docked on all four sides.\n"
        "  bare: the moves that pass makes, learnt once from WM_WINDOWPOSCHANGING (window, rectangle, flags) of\n"
        "  every child and grandchild of the frame (the bars, the library's four sites, the pane), replayed as\n"
        "  BeginDeferWindowPos/DeferWindowPos/EndDeferWindowPos, one batch per run of siblings, in the same order,\n"
        "  on the same windows. 'same flags' keeps each move's flags; 'plain flags' uses SWP_NOZORDER|\n"
        "  SWP_NOACTIVATE (and SWP_NOOWNERZORDER, a no-op beside SWP_NOZORDER without which the library's bars\n"
        "  refuse to move). Under Wine the plain batch costs more than the one with the library's flags, the more\n"
        "  so the more windows (measured, not explained here).\n"
        "  Equal work: before every timed pass, library or bare, the same windows are put 3,2 px off their places\n"
        "  and 2,1 px smaller (untimed) and the queue is run; so every pass moves and sizes every window from the\n"
        "  same rectangles to the same rectangles (checked once per side: a WARNING line says when not). The\n"
        "  painting that follows (the queue run after each pass) is the same on both sides and is not timed.\n"
        "  'vs unattached twin': the same batches on a twin of the window tree that nothing manages (the\n"
        "  platform's floor: no procedure of the library's runs); the frame measured is raised on top first.\n"
        "settled pass: the same pass and batch with every window already in place (nothing moves or sizes).\n"
        "messages: counted by a WH_CALLWNDPROC hook for the frame's children and grandchildren during one pass\n"
        "  from the jiggled places (library) and one same-flags bare batch, divided by N.\n"
        "frame resize: SetWindowPos of the attached frame between two sizes (the host's WM_SIZE pass and the\n"
        "  library's layout run inside it), against an unattached twin: the same window tree made again with\n"
        "  the same classes, styles, ids and rectangles, nothing managing it, resized the same way and followed\n"
        "  by a bare batch of the child moves recorded during the attached resize (the twin's windows are checked\n"
        "  to end where the library put the frame's). The twin's bars paint no borders: the library's painting of\n"
        "  its bars' frames counts on the library's side. Each resize timed alone.\n"
        "drag: the last bar of the top side's first row pressed (WM_NCLBUTTONDOWN, HTBORDER) and moved 90 px\n"
        "  along its row and back, 32 posted WM_MOUSEMOVEs each way (the cursor placed before each post), released\n"
        "  by a posted WM_LBUTTONUP; an outline is drawn, not the window. Per move: the time from taking one move\n"
        "  to taking the next scripted message (a WH_GETMESSAGE hook stamps them, in either loop). Bare loop: the\n"
        "  same messages taken with capture on the bar, a DrawFocusRect outline moved on the desktop's window DC.\n"
        "  start+drop: the drag less its moves (start, outline, drop and its layout). 'bare drop': the bare loop's\n"
        "  own start and end plus a bare batch of the moves that drop made (recorded from a first drag each way),\n"
        "  run from the same places; 'bare layout': the same-flags bare batch of a full layout pass of the frame\n"
        "  from jiggled places (every window moved), as in the layout pass.\n"
        "heap: busy bytes over every process heap (HeapWalk) before and after docking N bars with SetDock and one\n"
        "  layout, divided by N. bare: the bytes that making the N bar windows took, divided by N: the host's own\n"
        "  record of each window (Wine keeps its window structures outside the process heaps).\n" +
        std::string(rounds));
}

}  // namespace

// Whether the command line asks for the case: no argument runs every one.
bool Wanted(int argc, char** argv, const char* name) {
    if (argc < 2) return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0) return true;
    return false;
}

// varnex_bench [layout] [resize] [drag] [heap]
int main(int argc, char** argv) {
    const LONGLONG begin = vbench::Ticks();
    hostkit::RegisterClasses();
    // Drags show an outline, as a user's system without full-window drags does.
    BOOL fullDrag = FALSE;
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &fullDrag, 0);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, FALSE, nullptr, 0);

    vbench::Report report;
    for (const vbench::Effort& e : kLayoutEfforts) {
        if (!Wanted(argc, argv, "layout")) break;
        Progress("layout pass", e.bars);
        vbench::RunLayoutPassCase(e, &report);
    }
    for (const vbench::Effort& e : kResizeEfforts) {
        if (!Wanted(argc, argv, "resize")) break;
        Progress("frame resize", e.bars);
        vbench::RunResizeCase(e, &report);
    }
    for (const vbench::Effort& e : kDragEfforts) {
        if (!Wanted(argc, argv, "drag")) break;
        Progress("drag", e.bars);
        vbench::RunDragCase(e, &report);
    }
    for (int bars : kHeapBars) {
        if (!Wanted(argc, argv, "heap")) break;
        Progress("heap", bars);
        vbench::RunHeapCase(bars, &report);
    }
    Progress(nullptr, 0);
    Explain(&report);

    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, fullDrag, nullptr, 0);
    hostkit::DestroyAll();
    std::printf("Varnex layout benchmark, under Wine on this machine\n\n");
    report.Print();
    std::printf("\nwhole run: %.1f s\n", vbench::Milliseconds(begin, vbench::Ticks()) / 1000.0);
    return 0;
}
