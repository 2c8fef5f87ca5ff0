// What a layout pass does to windows, learnt from the messages the system sends while it runs,
// and the same moves made again as bare DeferWindowPos batches: the floor a pass is compared with.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace vbench {

// One SetWindowPos as the moved window heard of it in WM_WINDOWPOSCHANGING.
struct WindowMove {
    HWND hwnd;
    HWND insertAfter;
    int x, y, cx, cy;
    UINT flags;
};
using MoveList = std::vector<WindowMove>;

// Every move of a window inside `root` (children and grandchildren) while `action` runs, in order.
MoveList RecordMoves(HWND root, const std::function<void()>& action);

// The messages of a move that windows inside `root` are sent while `action` runs.
struct MessageCounts {
    long posChanging = 0;
    long ncCalcSize = 0;
    long posChanged = 0;
    long ncPaint = 0;
};
MessageCounts CountMessages(HWND root, const std::function<void()>& action);

// The moves again, in their order, one DeferWindowPos batch for each run of windows with one
// parent (the platform batches siblings only; the library's own batches are such runs too).
class Replay {
public:
    static constexpr UINT kRecordedFlags = ~0u;  // each move keeps the flags it was made with
    explicit Replay(const MoveList& moves, UINT flags = kRecordedFlags);
    void Run() const;
    size_t Batches() const { return batches_.size(); }

private:
    std::vector<MoveList> batches_;
};

// Plain flags for a bare batch. SWP_NOOWNERZORDER changes nothing next to SWP_NOZORDER, but the
// library's bar procedure refuses to move or size a bar without it (only the library moves its
// bars): without it that batch would leave every bar where it is and do less work.
constexpr UINT kPlainFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

// For each window the moves name once or more, a move to 3, 2 pixels off its present place and
// 2, 1 pixels smaller. Run before a timed pass it makes the pass move and size every window,
// from the same rectangles each time, whoever makes the pass.
MoveList OffPlaces(const MoveList& moves);

// The moves with their windows replaced through `of` (moves of windows not in it are dropped).
MoveList MapWindows(const MoveList& moves, const std::map<HWND, HWND>& of);

// Empty when every window stands where its last move put it, else the first that does not.
std::string CheckPlaces(const MoveList& moves);

// The window's rectangle in its parent's client coordinates.
RECT RectInParent(HWND hwnd);

// How many different windows the moves name.
size_t WindowsMoved(const MoveList& moves);

}  // namespace vbench
