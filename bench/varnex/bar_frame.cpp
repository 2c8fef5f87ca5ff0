#include "bar_frame.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "hostkit.h"
#include "window_moves.h"

namespace vbench {

namespace {

constexpr UINT kFirstBarId = 0x300;  // below the framework's ids (0xE800 up)
constexpr UINT kEverySide = BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM;
constexpr UINT kBarFlags = BFX_MOVABLE | BFX_FLOATABLE | kEverySide;
// Client sizes: a bar along a row, and one down a column.
constexpr SIZE kRowBar{100, 22};
constexpr SIZE kColumnBar{22, 40};
// A docked position past every row: the bar starts a row of its own.
constexpr int kBeyondLastRow = 10000;

struct Side {
    const char* name;
    UINT flag;
    UINT operation;
    bool horizontal;
};
constexpr Side kSides[] = {{"top", BFX_TOP, SD_TOP, true},
                           {"bottom", BFX_BOTTOM, SD_BOTTOM, true},
                           {"left", BFX_LEFT, SD_LEFT, false},
                           {"right", BFX_RIGHT, SD_RIGHT, false}};

void CloneChildren(HWND from, HWND to, std::map<HWND, HWND>* of) {
    for (HWND child = GetWindow(from, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = {};
        GetClassNameA(child, className, sizeof className);
        const RECT r = RectInParent(child);
        HWND made = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(child, GWL_EXSTYLE)), className, nullptr,
                                    static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)), r.left, r.top,
                                    r.right - r.left, r.bottom - r.top, to,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(GetDlgCtrlID(child))),
                                    GetModuleHandleA(nullptr), nullptr);
        if (!made) continue;
        (*of)[child] = made;
        CloneChildren(child, made, of);
    }
}

}  // namespace

HWND CreateAttachedFrame(SIZE size) {
    HWND frame = hostkit::CreateSdiFrame("varnex bench", 0, 0, size.cx, size.cy, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    if (!frame) return nullptr;
    if (AttachFrame(frame, AF_SDIFRAME) != 1) {
        DestroyWindow(frame);
        return nullptr;
    }
    return frame;
}

void ReserveBars(BarFrame* f, int count) {
    f->count = count;
    f->bars.reserve(count);
    f->states = std::make_unique<DOCKSTATE[]>(count);
    const int perSide = count / 4;
    f->rowsPerSide = std::max(2, perSide / 8);
    f->barsPerRow = std::max(1, perSide / f->rowsPerSide);
}

void CreateBarWindows(BarFrame* f) {
    const int perSide = f->count / 4;
    for (int i = 0; i < f->count; ++i) {
        const SIZE s = kSides[i / perSide].horizontal ? kRowBar : kColumnBar;
        f->bars.push_back(hostkit::CreateView(f->frame, kFirstBarId + i, 0, 0, s.cx, s.cy));
    }
}

bool DockBars(BarFrame* f) {
    const int perSide = f->count / 4;
    for (int i = 0; i < f->count; ++i) {
        const Side& side = kSides[i / perSide];
        const int k = i % perSide, row = k / f->barsPerRow, column = k % f->barsPerRow;
        const SIZE s = side.horizontal ? kRowBar : kColumnBar;
        // Along the row, end to end (the library adds a one-pixel border on each side). Across:
        // the first bar of a row goes past every row there is; the others join its row, which
        // the library recorded in its state.
        const int along = column * ((side.horizontal ? s.cx : s.cy) + 2);
        int across = 0;
        if (column == 0) {
            across = row == 0 ? 0 : kBeyondLastRow;
        } else {
            const DOCKSTATE& first = f->states[i - column];
            across = side.horizontal ? first.y : first.x;
        }
        const int x = side.horizontal ? along : across, y = side.horizontal ? across : along;
        if (SetDock(f->bars[i], f->frame, x, y, s.cx, s.cy, side.flag | kBarFlags, &f->states[i],
                    SD_ATTACH | SD_FLAGS | SD_POSITION | SD_SIZE | side.operation) != 1)
            return false;
    }
    return RecalcFrame(f->frame) == 1;
}

BarFrame BuildBarFrame(int count, SIZE size) {
    BarFrame f;
    f.frame = CreateAttachedFrame(size);
    if (!f.frame) return f;
    ReserveBars(&f, count);
    CreateBarWindows(&f);
    if (!DockBars(&f)) DestroyBarFrame(&f);
    return f;
}

void DestroyBarFrame(BarFrame* f) {
    if (f->frame && IsWindow(f->frame)) DestroyWindow(f->frame);
    f->frame = nullptr;
    f->bars.clear();
    Settle();
}

std::string DescribeRows(const BarFrame& f) {
    const int perSide = f.count / 4;
    std::string text;
    for (int s = 0; s < 4; ++s) {
        std::set<LONG> rows;
        for (int k = 0; k < perSide; ++k) {
            const RECT r = RectInParent(f.bars[s * perSide + k]);
            rows.insert(kSides[s].horizontal ? r.top : r.left);
        }
        char part[64];
        std::snprintf(part, sizeof part, "%s%s %d", s ? ", " : "", kSides[s].name,
                      static_cast<int>(rows.size()));
        text += part;
    }
    return text + " rows";
}

HWND LastBarOfFirstRow(const BarFrame& f) { return f.bars[f.barsPerRow - 1]; }

Twin CreateTwin(HWND frame) {
    Twin twin;
    RECT r;
    GetWindowRect(frame, &r);
    const DWORD style = static_cast<DWORD>(GetWindowLongA(frame, GWL_STYLE));
    char className[64] = {};
    GetClassNameA(frame, className, sizeof className);
    twin.frame = CreateWindowExA(static_cast<DWORD>(GetWindowLongA(frame, GWL_EXSTYLE)), className, "varnex bench twin",
                                 style & ~WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!twin.frame) return twin;
    twin.of[frame] = twin.frame;
    CloneChildren(frame, twin.frame, &twin.of);
    if (style & WS_VISIBLE) ShowWindow(twin.frame, SW_SHOWNOACTIVATE);
    Settle();
    return twin;
}

std::string CompareWithTwin(const Twin& twin) {
    for (const auto& [original, copy] : twin.of) {
        RECT a, b;
        GetWindowRect(original, &a);
        GetWindowRect(copy, &b);
        if (original != GetAncestor(original, GA_ROOT)) {
            a = RectInParent(original);
            b = RectInParent(copy);
        } else {
            // Top levels: the size only (the twin may stand elsewhere on the screen).
            OffsetRect(&a, -a.left, -a.top);
            OffsetRect(&b, -b.left, -b.top);
        }
        if (!EqualRect(&a, &b)) {
            char text[160];
            std::snprintf(text, sizeof text, "window %p at (%ld,%ld,%ld,%ld), its twin at (%ld,%ld,%ld,%ld)",
                          static_cast<void*>(original), a.left, a.top, a.right, a.bottom, b.left, b.top, b.right,
                          b.bottom);
            return text;
        }
    }
    return {};
}

void Settle() {
    MSG msg;
    // Bounded: a window that kept posting to itself must not hold the run for ever.
    for (int i = 0; i < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace vbench
