#include "window_moves.h"

#include <cstdio>
#include <set>

namespace vbench {

namespace {

// The hook procedures run on this thread only, while one recording or count is active.
struct Recording {
    HWND root;
    MoveList* moves;
    MessageCounts* counts;
};
Recording* g_recording = nullptr;

LRESULT CALLBACK SentMessageHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_recording && IsChild(g_recording->root, sent->hwnd)) {
        if (g_recording->moves && sent->message == WM_WINDOWPOSCHANGING) {
            const auto* pos = reinterpret_cast<const WINDOWPOS*>(sent->lParam);
            g_recording->moves->push_back(
                {sent->hwnd, pos->hwndInsertAfter, pos->x, pos->y, pos->cx, pos->cy, pos->flags});
        }
        if (MessageCounts* c = g_recording->counts) {
            switch (sent->message) {
            case WM_WINDOWPOSCHANGING: ++c->posChanging; break;
            case WM_NCCALCSIZE: ++c->ncCalcSize; break;
            case WM_WINDOWPOSCHANGED: ++c->posChanged; break;
            case WM_NCPAINT: ++c->ncPaint; break;
            default: break;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void WithHook(Recording* recording, const std::function<void()>& action) {
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, SentMessageHook, nullptr, GetCurrentThreadId());
    g_recording = recording;
    action();
    g_recording = nullptr;
    if (hook) UnhookWindowsHookEx(hook);
}

// The last move of each window, by window.
std::map<HWND, WindowMove> LastMoves(const MoveList& moves) {
    std::map<HWND, WindowMove> last;
    for (const WindowMove& m : moves) last.insert_or_assign(m.hwnd, m);
    return last;
}

}  // namespace

MoveList RecordMoves(HWND root, const std::function<void()>& action) {
    MoveList moves;
    Recording recording{root, &moves, nullptr};
    WithHook(&recording, action);
    return moves;
}

MessageCounts CountMessages(HWND root, const std::function<void()>& action) {
    MessageCounts counts;
    Recording recording{root, nullptr, &counts};
    WithHook(&recording, action);
    return counts;
}

Replay::Replay(const MoveList& moves, UINT flags) {
    HWND parent = nullptr;
    for (WindowMove m : moves) {
        if (flags != kRecordedFlags) m.flags = flags;
        HWND p = GetParent(m.hwnd);
        if (batches_.empty() || p != parent) batches_.emplace_back();
        parent = p;
        batches_.back().push_back(m);
    }
}

void Replay::Run() const {
    for (const MoveList& batch : batches_) {
        HDWP dwp = BeginDeferWindowPos(static_cast<int>(batch.size()));
        for (const WindowMove& m : batch) {
            if (!dwp) break;
            dwp = DeferWindowPos(dwp, m.hwnd, m.insertAfter, m.x, m.y, m.cx, m.cy, m.flags);
        }
        if (dwp) EndDeferWindowPos(dwp);
    }
}

MoveList OffPlaces(const MoveList& moves) {
    MoveList off;
    std::set<HWND> seen;
    for (const WindowMove& m : moves) {
        if (!seen.insert(m.hwnd).second) continue;
        const RECT r = RectInParent(m.hwnd);
        const int cx = r.right - r.left, cy = r.bottom - r.top;
        off.push_back({m.hwnd, nullptr, r.left + 3, r.top + 2, cx > 2 ? cx - 2 : cx + 2, cy > 1 ? cy - 1 : cy + 1,
                       kPlainFlags});
    }
    return off;
}

MoveList MapWindows(const MoveList& moves, const std::map<HWND, HWND>& of) {
    MoveList mapped;
    for (WindowMove m : moves) {
        const auto it = of.find(m.hwnd);
        if (it == of.end()) continue;
        m.hwnd = it->second;
        mapped.push_back(m);
    }
    return mapped;
}

std::string CheckPlaces(const MoveList& moves) {
    for (const auto& [hwnd, m] : LastMoves(moves)) {
        const RECT r = RectInParent(hwnd);
        const bool moved = m.flags & SWP_NOMOVE || (r.left == m.x && r.top == m.y);
        const bool sized = m.flags & SWP_NOSIZE || (r.right - r.left == m.cx && r.bottom - r.top == m.cy);
        if (!moved || !sized) {
            char text[160];
            std::snprintf(text, sizeof text, "window %p at (%ld,%ld) %ldx%ld, moved to (%d,%d) %dx%d",
                          static_cast<void*>(hwnd), r.left, r.top, r.right - r.left, r.bottom - r.top, m.x, m.y,
                          m.cx, m.cy);
            return text;
        }
    }
    return {};
}

RECT RectInParent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

size_t WindowsMoved(const MoveList& moves) { return LastMoves(moves).size(); }

}  // namespace vbench
