#include "frame/scroll_bar.h"

#include <algorithm>
#include <utility>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "core/host.h"
#include "core/memory.h"
#include "varnex.h"

namespace varnex {

namespace {

constexpr UINT kConfigureMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;

// The rectangle covering the pane's visible children, in pane client coordinates; empty when
// there is none or one of them is maximized (it then fills the pane: nothing to scroll).
RECT VisibleContent(HWND pane) {
    RECT content{};
    bool found = false;
    for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        if (!(style & WS_VISIBLE)) continue;
        if (style & WS_MAXIMIZE) return RECT{};
        RECT r;
        GetWindowRect(child, &r);
        UnionRect(&content, &content, &r);
        found = true;
    }
    // Mapped only when something was found: an empty rectangle must stay at the origin, not
    // turn into a negative start.
    if (found && !IsRectEmpty(&content)) MapWindowPoints(HWND_DESKTOP, pane, reinterpret_cast<POINT*>(&content), 2);
    return content;
}

// Whether the system scrolls the window at all: it moves nothing, children included, while the
// window or an ancestor is hidden or minimized.
bool Drawable(HWND hwnd) {
    HWND desktop = GetDesktopWindow();
    for (HWND w = hwnd; w && w != desktop; w = GetAncestor(w, GA_PARENT)) {
        const LONG style = GetWindowLongA(w, GWL_STYLE);
        if (!(style & WS_VISIBLE) || (style & WS_MINIMIZE)) return false;
    }
    return true;
}

void ShiftChildren(HWND pane, int dx, int dy) {
    for (HWND child = GetWindow(pane, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(HWND_DESKTOP, pane, reinterpret_cast<POINT*>(&r), 2);
        SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

}  // namespace

CScrollBarFx::CScrollBarFx(CClientPaneFx* owner, int barKind) : kind(static_cast<BYTE>(barKind)), pane(owner) {
    info.cbSize = sizeof info;
}

bool CScrollBarFx::Exceeds(LONG length) const {
    // nMax + 1 pixels of content: more than the length needs the bar (as the system sees it).
    return info.nMax >= length || info.nMin < 0;
}

int CScrollBarFx::Clamp(int position) const {
    // The top of the range never falls below its bottom: a range shorter than the page keeps
    // the position at nMin instead of scrolling the content backwards.
    const int high = std::max(info.nMin, info.nMax - static_cast<int>(info.nPage) + 1);
    if (position < info.nMin) return info.nMin;
    if (position > high) return high;
    return position;
}

void CScrollBarFx::ScrollTo(int position, UINT mask) {
    if (position != info.nPos) {
        const int delta = info.nPos - position;
        ScrollPaneContent(pane, kind == SB_HORZ ? delta : 0, kind == SB_VERT ? delta : 0);
    }
    info.nPos = position;
    info.fMask = mask;
    SetScrollInfo(pane->hwnd, kind, &info, TRUE);
}

void CScrollBarFx::Configure(int start, int end, int position, int line, UINT flags, const RECT& content) {
    const bool horz = kind == SB_HORZ;
    int target;
    if (flags & (SSR_START | SSR_END)) {
        RECT client;
        GetClientRect(pane->hwnd, &client);
        LONG page = horz ? client.right : client.bottom;
        LONG s = start, e = end;
        if (flags & SSR_AUTO) {
            s = ((flags & SSR_START) && start) ? start : (horz ? content.left : content.top);
            e = ((flags & SSR_END) && end) ? end : (horz ? content.right : content.bottom);
        }
        // The arguments are in the pane's scrolled coordinates; the range is in content ones.
        const int pos = GetScrollPos(pane->hwnd, kind);
        s += pos;
        e += pos;
        info.nPos = pos;
        if (e <= 0)
            e = page;
        else
            page = std::min(page, e);
        shown = e > page;
        info.nMin = 0;
        info.nMax = e - 1;
        if (s < 0) {
            shown = TRUE;
            info.nMin = s;
            info.nPage = e;
        } else {
            info.nPage = page;
        }
        target = (flags & SSR_POS) ? position : pos;
    } else if ((flags & SSR_POS) && (flags & SSR_AUTO)) {
        // Bring the focus window into view: its near edge if it is before the view, else its
        // far edge, unless it is visible already or larger than the page.
        const LONG nearEdge = horz ? content.left : content.top;
        const LONG v = nearEdge < 0 ? nearEdge : (horz ? content.right : content.bottom);
        const LONG extent = horz ? content.right - content.left : content.bottom - content.top;
        const LONG page = static_cast<LONG>(info.nPage);
        if (v < 0)
            target = v + info.nPos;
        else if (v <= page || extent >= page)
            return;
        else
            target = v + info.nPos - page;
    } else {
        target = position;
    }
    ScrollTo(Clamp(target), kConfigureMask);
    if ((flags & SSR_LINE) && line >= 1) lineStep = line;
}

LONG CScrollBarFx::Fit(LONG length, bool needed) {
    length = std::max(length, 0L);
    LONG shift = 0;
    if (needed) {
        // The visible length grew by g while scrolled: the position drops by g, not below 0.
        const LONG g = length - static_cast<LONG>(info.nPage);
        if (info.nPos > 0 && g >= 0) {
            if (g < info.nPos) {
                info.nPos -= g;
                shift = g;
            } else {
                shift = info.nPos;
                info.nPos = 0;
            }
        }
    } else if (shown && info.nPos > 0) {
        shift = info.nPos;  // the content returns to its origin
        info.nPos = 0;
    }
    shown = needed;
    info.nPage = (info.nMin != 0 && info.nMax < length) ? info.nMax + 1 : length;
    return shift;
}

void CScrollBarFx::Command(WPARAM command) {
    int target;
    switch (LOWORD(command)) {
    case SB_LINEUP:
        target = info.nPos - lineStep;
        break;
    case SB_LINEDOWN:
        target = info.nPos + lineStep;
        break;
    case SB_PAGEUP:
        target = info.nPos - static_cast<int>(info.nPage);
        break;
    case SB_PAGEDOWN:
        target = info.nPos + static_cast<int>(info.nPage);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        target = static_cast<short>(HIWORD(command));
        break;
    default:
        return;
    }
    target = Clamp(target);
    if (target != info.nPos) ScrollTo(target, SIF_POS);
}

void CScrollBarFx::TakeDown() {
    const int pos = GetScrollPos(pane->hwnd, kind);
    if (pos) ScrollPaneContent(pane, kind == SB_HORZ ? pos : 0, kind == SB_VERT ? pos : 0);
    // The content is at its origin again: so is the system's position, which a later bar
    // reads as its starting point.
    SetScrollPos(pane->hwnd, kind, 0, FALSE);
    ShowScrollBar(pane->hwnd, kind, FALSE);
}

void ScrollPaneContent(CClientPaneFx* pane, int dx, int dy) {
    if (!Drawable(pane->hwnd)) {
        // The content must keep up with the position even where nothing is seen (a frame set up
        // before it is shown); it is drawn whole when it appears.
        ShiftChildren(pane->hwnd, dx, dy);
        return;
    }
    if (pane->frame->flags & AF_REDRAWSCROLL) {
        // Children move, pixels do not: everything is drawn again.
        RECT none{};
        ScrollWindowEx(pane->hwnd, dx, dy, nullptr, &none, nullptr, nullptr, SW_SCROLLCHILDREN);
        RedrawWindow(pane->hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    } else {
        ScrollWindowEx(pane->hwnd, dx, dy, nullptr, nullptr, nullptr, nullptr,
                       SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
    }
}

void FitScrollBars(CClientPaneFx* pane, UINT request, SIZE remaining) {
    CScrollBarFx* horz = pane->hScroll;
    CScrollBarFx* vert = pane->vScroll;
    if (!horz && !vert) return;
    LONG w = remaining.cx, h = remaining.cy;
    bool hNeed = false, vNeed = false;
    if (!pane->frame->childMaximized) {
        // Each bar takes room from the other's length: the horizontal test runs again once the
        // vertical bar has narrowed the pane.
        for (;;) {
            if (!hNeed && horz && horz->Exceeds(w)) {
                hNeed = true;
                h -= GetSystemMetrics(SM_CYHSCROLL);
            }
            if (vNeed) break;
            if (!vert || !vert->Exceeds(h)) break;
            vNeed = true;
            w -= GetSystemMetrics(SM_CXVSCROLL);
        }
    }
    const bool measure = request & LAYOUT_MEASURE;
    LONG dx = 0, dy = 0;
    auto write = [&](CScrollBarFx* bar) {
        if (measure) return;
        bar->info.fMask = SIF_PAGE | SIF_POS;
        SetScrollInfo(pane->hwnd, bar->kind, &bar->info, TRUE);
    };
    if (horz) {
        dx = horz->Fit(w, hNeed);
        write(horz);
    }
    if (vert) {
        dy = vert->Fit(h, vNeed);
        write(vert);
    }
    if (dx || dy) ScrollPaneContent(pane, dx, dy);
    if (!measure) InvalidateRect(pane->hwnd, nullptr, TRUE);
}

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI SetScrollBar(HWND window, int start, int end, int position, int line, UINT flags) {
    CCtrlFrameFx* frame = FrameOfChild(window);
    if (!frame || (frame->flags & AF_MDIFRAME)) return 0;
    CClientPaneFx* pane = frame->clientPane;
    // Only the client pane scrolls: another child of the frame has no bars to give.
    if (!pane || pane->hwnd != window) return 0;
    Hold<CCtrlFrameFx> hold(frame);

    RECT content{};
    if (flags & SSR_AUTO) {
        if (flags & (SSR_START | SSR_END)) {
            content = VisibleContent(window);
        } else if (flags & SSR_POS) {
            HWND focus = GetFocus();
            if (!focus || !(GetWindowLongA(focus, GWL_STYLE) & WS_CHILD) || GetAncestor(focus, GA_PARENT) != window)
                return 0;
            GetWindowRect(focus, &content);
            MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&content), 2);
        }
    }

    int result = 0;
    for (const auto& [bit, barKind] : {std::pair{SSR_HORZ, SB_HORZ}, std::pair{SSR_VERT, SB_VERT}}) {
        if (!(flags & bit)) continue;
        CScrollBarFx*& bar = barKind == SB_HORZ ? pane->hScroll : pane->vScroll;
        if (flags & SSR_REMOVE) {
            if (CScrollBarFx* removed = bar) {
                bar = nullptr;
                removed->TakeDown();
                Delete(removed);
            }
        } else {
            if (!bar && !(bar = New<CScrollBarFx>(pane, barKind))) return result;
            bar->Configure(start, end, position, line, flags, content);
        }
        if (!hold.Alive()) return 0;
        result = 1;
    }
    if (flags & (SSR_START | SSR_END | SSR_REMOVE)) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return result;
}

extern "C" int WINAPI SetClientRange(HWND window, int minWidth, int minHeight, int maxWidth, int maxHeight,
                                     UINT flags) {
    CCtrlFrameFx* frame = FrameOfChild(window);
    if (!frame || GetDlgCtrlID(window) != static_cast<int>(kPaneId) || !frame->clientPane ||
        frame->clientPane->hwnd != window)
        return 0;
    RECT client;
    GetClientRect(frame->hwnd, &client);
    CClientPaneFx* pane = frame->clientPane;
    // A minimum never exceeds the present client size, a maximum never falls below it; 0 means
    // no maximum.
    if (flags & SSC_MIN) pane->minSize = {std::min<LONG>(minWidth, client.right), std::min<LONG>(minHeight, client.bottom)};
    if (flags & SSC_MAX)
        pane->maxSize = {maxWidth == 0 ? kNoMaximumSize : std::max<LONG>(maxWidth, client.right),
                         maxHeight == 0 ? kNoMaximumSize : std::max<LONG>(maxHeight, client.bottom)};
    return 1;
}
