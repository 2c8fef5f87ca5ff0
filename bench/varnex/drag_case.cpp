#include "drag_case.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "bar_frame.h"
#include "stopwatch.h"
#include "window_moves.h"

namespace vbench {

namespace {

constexpr int kMovesPerDrag = 32;
constexpr int kDragDistance = 90;  // pixels along the row, there and back: the row has room
constexpr POINT kGrab{10, 5};      // where the bar is pressed, from its window's corner

// The cursor positions of one drag: the press, then each mouse move.
struct DragPath {
    POINT start;
    std::vector<POINT> moves;
};

DragPath PathAlongRow(HWND bar, int distance) {
    RECT r;
    GetWindowRect(bar, &r);
    DragPath path{{r.left + kGrab.x, r.top + kGrab.y}, {}};
    for (int i = 1; i <= kMovesPerDrag; ++i)
        path.moves.push_back({path.start.x + distance * i / kMovesPerDrag, path.start.y});
    return path;
}

// When each mouse move and the release left the queue, taken by whichever loop runs the drag.
struct Stamps {
    std::vector<LONGLONG> moves;
    LONGLONG release = 0;
};
Stamps* g_stamps = nullptr;

LRESULT CALLBACK TakenMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && wParam == PM_REMOVE && g_stamps) {
        const UINT message = reinterpret_cast<const MSG*>(lParam)->message;
        if (message == WM_MOUSEMOVE)
            g_stamps->moves.push_back(Ticks());
        else if (message == WM_LBUTTONUP && !g_stamps->release)
            g_stamps->release = Ticks();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

struct DragTiming {
    std::vector<double> moveMs;  // each move: from taking it to taking the next message scripted
    double startDropMs = 0;      // the rest: from the press to the first move, from the release on
    std::string fault;           // why the drag did not run as scripted; empty when it did
};

// A drag as a user makes one, and as the library's tests drive it: each mouse move posted with
// the cursor placed first (a posted message carries the cursor position of its posting), then
// the release and a WM_CANCELMODE that ends any loop still running; the cursor back at the start.
// `loop` then runs the drag; only it is timed.
template <class Loop>
DragTiming Drive(HWND bar, const DragPath& path, Loop&& loop) {
    DragTiming timing;
    for (const POINT& p : path.moves) {
        SetCursorPos(p.x, p.y);
        PostMessageA(bar, WM_MOUSEMOVE, 0, 0);
    }
    PostMessageA(bar, WM_LBUTTONUP, 0, 0);
    PostMessageA(bar, WM_CANCELMODE, 0, 0);
    SetCursorPos(path.start.x, path.start.y);
    POINT at;
    GetCursorPos(&at);
    if (at.x != path.start.x || at.y != path.start.y) {
        timing.fault = "the cursor cannot be placed";
        Settle();
        return timing;
    }
    Stamps stamps;
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, TakenMessageHook, nullptr, GetCurrentThreadId());
    g_stamps = &stamps;
    const double totalMs = TimeMs(loop);
    g_stamps = nullptr;
    if (hook) UnhookWindowsHookEx(hook);
    Settle();
    if (!hook) {
        timing.fault = "no message hook";
    } else if (stamps.moves.size() != path.moves.size() || !stamps.release) {
        timing.fault = "the drag loop did not take every scripted move and the release";
    } else {
        stamps.moves.push_back(stamps.release);
        for (size_t i = 0; i + 1 < stamps.moves.size(); ++i)
            timing.moveMs.push_back(Milliseconds(stamps.moves[i], stamps.moves[i + 1]));
        timing.startDropMs = totalMs - Milliseconds(stamps.moves.front(), stamps.release);
    }
    return timing;
}

DragTiming LibraryDrag(HWND bar, const DragPath& path) {
    return Drive(bar, path, [&] {
        SendMessageA(bar, WM_NCLBUTTONDOWN, HTBORDER, MAKELPARAM(path.start.x, path.start.y));
    });
}

// The least a drag that shows an outline does: capture, the desktop's window DC, and for each move
// the old outline erased and the new one drawn with DrawFocusRect (XOR), as the library draws a
// docked outline one pixel thick; the outline erased at the release.
void BareOutlineLoop(HWND bar, POINT start) {
    RECT outline;
    GetWindowRect(bar, &outline);
    const POINT offset{start.x - outline.left, start.y - outline.top};
    SetCapture(bar);
    HWND desktop = GetDesktopWindow();
    HDC dc = GetDCEx(desktop, nullptr, DCX_WINDOW | DCX_CACHE);
    DrawFocusRect(dc, &outline);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0 && GetCapture() == bar) {
        if (msg.message == WM_MOUSEMOVE) {
            DrawFocusRect(dc, &outline);
            OffsetRect(&outline, msg.pt.x - offset.x - outline.left, msg.pt.y - offset.y - outline.top);
            DrawFocusRect(dc, &outline);
        } else if (msg.message == WM_LBUTTONUP || msg.message == WM_CANCELMODE) {
            break;
        } else {
            DispatchMessageA(&msg);
        }
    }
    DrawFocusRect(dc, &outline);
    ReleaseDC(desktop, dc);
    ReleaseCapture();
}

DragTiming BareDrag(HWND bar, const DragPath& path) {
    return Drive(bar, path, [&] { BareOutlineLoop(bar, path.start); });
}

std::string Label(int bars) { return "drag (N=" + std::to_string(bars) + ")"; }

void Append(std::vector<double>* to, const std::vector<double>& samples) {
    to->insert(to->end(), samples.begin(), samples.end());
}

}  // namespace

void RunDragCase(const Effort& effort, Report* report) {
    const int n = effort.bars;
    BarFrame f = BuildBarFrame(n);
    if (!f.frame) {
        report->Note(Label(n) + ": the frame could not be built, not measured");
        return;
    }
    Settle();
    HWND bar = LastBarOfFirstRow(f);
    std::string fault;
    auto check = [&](const std::string& detail) {
        if (fault.empty() && !detail.empty()) fault = detail;
    };

    // The bare layout of case a on this frame: the moves of a pass from jiggled places.
    auto pass = [&] { RecalcFrame(f.frame); };
    const Replay jiggle(OffPlaces(RecordMoves(f.frame, pass)));
    jiggle.Run();
    Settle();
    const MoveList layoutMoves = RecordMoves(f.frame, pass);
    Settle();
    const Replay bareLayout(layoutMoves);

    // The moves each drop makes, there and back, learnt from one drag each way: replayed, they
    // take the windows between the same places as the library's drops.
    const LONG home = RectInParent(bar).left;
    const DragPath firstThere = PathAlongRow(bar, kDragDistance);
    DragTiming recorded;
    const MoveList there = RecordMoves(f.frame, [&] { recorded = LibraryDrag(bar, firstThere); });
    check(recorded.fault);
    const DragPath firstBack = PathAlongRow(bar, -kDragDistance);
    const MoveList back = RecordMoves(f.frame, [&] { recorded = LibraryDrag(bar, firstBack); });
    check(recorded.fault);
    const Replay dropThere(there), dropBack(back);

    std::vector<double> libraryMove, bareMove, libraryStartDrop, bareStartDrop, bareLayoutMs;
    for (int round = 0; round < effort.rounds && fault.empty(); ++round) {
        for (int distance : {kDragDistance, -kDragDistance}) {
            const DragPath path = PathAlongRow(bar, distance);
            const LONG before = RectInParent(bar).left;
            // The library's drag and the bare loop on the same path; the first of the two
            // alternates from round to round.
            DragTiming library, bare;
            for (int i = 0; i < 2; ++i) {
                if ((i + round) % 2 == 0)
                    library = LibraryDrag(bar, path);
                else
                    bare = BareDrag(bar, path);
            }
            check(library.fault);
            check(bare.fault);
            // The drop laid the frame out with the bar where the outline was.
            if (std::abs(RectInParent(bar).left - before - distance) > 2)
                check("the drop did not move the bar along its row");
            if (!fault.empty()) break;
            Append(&libraryMove, library.moveMs);
            Append(&bareMove, bare.moveMs);
            libraryStartDrop.push_back(library.startDropMs);
            // The bare drop: the windows taken back to where the drag found them, then (timed)
            // the moves of this way's drop; the loop's own start and end come with it.
            const Replay& undo = distance > 0 ? dropBack : dropThere;
            const Replay& drop = distance > 0 ? dropThere : dropBack;
            undo.Run();
            Settle();
            const double dropMs = TimeMs([&] { drop.Run(); });
            check(CheckPlaces(distance > 0 ? there : back));
            Settle();
            bareStartDrop.push_back(bare.startDropMs + dropMs);
        }
        if (RectInParent(bar).left != home) check("the bar did not come back to its place");
        // Back home: the pass's recorded places are the frame's again. Once for each way's drag,
        // so that every library drop has a bare layout of its round beside it.
        for (int way = 0; way < 2 && fault.empty(); ++way) {
            jiggle.Run();
            Settle();
            bareLayoutMs.push_back(TimeMs([&] { bareLayout.Run(); }));
            check(CheckPlaces(layoutMoves));
            Settle();
        }
    }
    if (!fault.empty() || libraryMove.empty()) {
        report->Note(Label(n) + ": not timed: " + (fault.empty() ? std::string("no drag ran") : fault));
    } else {
        report->Add(Timed("drag, per mouse move vs XOR loop", n, libraryMove, bareMove, "ms/move"));
        report->Add(Timed("drag, start+drop vs bare drop", n, libraryStartDrop, bareStartDrop, "ms/drag"));
        report->Add(Timed("drag, start+drop vs bare layout", n, libraryStartDrop, bareLayoutMs, "ms/drag"));
    }
    DestroyBarFrame(&f);
}

}  // namespace vbench
