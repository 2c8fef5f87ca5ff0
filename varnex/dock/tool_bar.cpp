#include "dock/tool_bar.h"
#include "dock/toolbar_redirection.h"

#include <commctrl.h>

#include <algorithm>
#include <cstring>

#include "dock/dock_frame.h"
#include "core/host.h"
#include "core/subclass.h"
#include "dock/dock_site.h"
#include "core/window_procs.h"
#include "dock/mini_frame.h"

namespace varnex {

CToolBarFx* CToolBarFx::Create(CDockFrameFx* owner, HWND window, UINT childId) {
    if (IsWindowEnding(window)) return nullptr;
    CToolBarFx* bar = NewWindowObject<CToolBarFx>(owner, window);
    if (!bar) return nullptr;
    Hold<CToolBarFx> hold(bar);
    if (bar->Attach(childId) && hold.Alive()) return bar;
    DiscardBar(bar, FXS_DETACH, nullptr);
    return nullptr;
}

bool CToolBarFx::Attach(UINT childId) {
    EndToolBarRedirection(hwnd);
    RememberWindow();
    // The window is about to go: move the activation or the focus on first.
    if (origExStyle & WS_EX_MDICHILD)
        SendMessageA(origParent, WM_MDINEXT, 0, 0);
    else if (GetFocus() == hwnd)
        CallWindowProcA(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)), hwnd, WM_KEYDOWN, VK_TAB, 0);
    if (!IsWindow(hwnd) || !AttachWindowObject(this, kBarProp)) return false;
    if (!InstallWindowProc(this, BarWndProc)) return false;
    subclassed = TRUE;
    taken = TRUE;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
    if (released) return false;

    const DWORD style = TakeToolBarRole(childId);
    SetWindowLongA(hwnd, GWL_STYLE, style & ~kBarStripStyles);
    SetWindowLongA(hwnd, GWL_EXSTYLE, origExStyle & ~kBarStripExStyles);
    return !released;
}

// What RestoreBar gives back: parent, styles, rectangle; and the sizes the bar starts from.
void CToolBarFx::RememberWindow() {
    origParent = GetParent(hwnd);
    origStyle = GetWindowLongA(hwnd, GWL_STYLE);
    origExStyle = GetWindowLongA(hwnd, GWL_EXSTYLE);
    classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
    GetWindowRect(hwnd, &origRect);
    MapWindowPoints(HWND_DESKTOP, origParent, reinterpret_cast<POINT*>(&origRect), 2);
    RECT client;
    GetClientRect(hwnd, &client);
    naturalSize = horzSize = {client.right, client.bottom};
}

// A toolbar of the main toolbar's id becomes the main toolbar, the adopted "Standard" one a
// wrapping bar where it stood. Returns the style the window is to have, before the stripping.
DWORD CToolBarFx::TakeToolBarRole(UINT childId) {
    DWORD style = origStyle;
    char className[20] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::strcmp(className, TOOLBARCLASSNAMEA) != 0 || (childId != kToolBarId && childId != kAdoptedBarId))
        return style;
    isToolBar = TRUE;
    if (childId == kToolBarId) {
        isMainToolBar = TRUE;
        if (frame) {
            notifyWnd = frame->hwnd;
            SetActiveWindow(frame->hwnd);
        }
    } else {
        dockPos = {origRect.left, origRect.top};
        style |= TBSTYLE_WRAPABLE;
    }
    return style;
}

void CToolBarFx::ReleaseBar() {
    if (frame && frame->adoptedBar == this) frame->adoptedBar = nullptr;
    if (CMiniFrameFx* mini = miniFrame) {
        miniFrame = nullptr;
        CMiniFrameFx::Release(mini);
    }
    // A drag of this bar running further up the stack owns the tracker; it sees the bar gone
    // and ends as cancelled.
    tracker = nullptr;
}

void CToolBarFx::RestoreBar(int code) {
    if (subclassed) {
        RemoveWindowProc(this, BarWndProc);
        subclassed = FALSE;
    }
    if (code != FXS_DETACH || !taken || !IsWindow(hwnd)) return;
    taken = FALSE;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
    // The host heard of the hide and may have made the window a bar again: it is that bar's now,
    // and what that bar gives back one day is the window as the host first gave it.
    if (auto* again = GetWindowObjectAs<CToolBarFx>(hwnd, kBarProp)) {
        again->origParent = origParent;
        again->origStyle = origStyle;
        again->origExStyle = origExStyle;
        again->origRect = origRect;
        return;
    }
    SetWindowLongPtrA(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(origParent));
    SetWindowLongA(hwnd, GWL_EXSTYLE, origExStyle);
    SetWindowLongA(hwnd, GWL_STYLE, origStyle & ~WS_VISIBLE);
    UINT swp = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING;
    if (origStyle & WS_VISIBLE) swp |= SWP_SHOWWINDOW;
    SetWindowPos(hwnd, nullptr, origRect.left, origRect.top, origRect.right - origRect.left,
                 origRect.bottom - origRect.top, swp);
}

bool CToolBarFx::BeginDiscard(int code) {
    if (!BeginRelease(this)) return false;
    if (dockSite) {
        dockSite->RemoveBar(this);
        dockSite = nullptr;
    }
    RestoreBar(code);
    return true;
}

void CToolBarFx::EndDiscard() {
    ReleaseBar();
    EndRelease(this, kBarProp);
}

void DiscardBar(CToolBarFx* bar, int code, CDockFrameFx* relayout) {
    Hold<CToolBarFx> hold(bar);
    Hold<CDockFrameFx> frame(relayout);
    if (!bar->BeginDiscard(code)) return;
    if (frame.Alive()) relayout->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    bar->EndDiscard();
}

namespace {

// A stored component of 0 takes the fallback (the horizontal size's).
LONG StoredOr(LONG stored, LONG fallback) { return stored ? stored : fallback; }

// The docked base size for the mode's sides: stored or natural, turned for a rotating bar on a
// left or right side.
void DockedBaseSize(const CToolBarFx& bar, UINT mode, SIZE* size) {
    const bool stored = mode & BSZ_STORED;
    const SIZE horz = bar.horzSize, vert = bar.vertSize, natural = bar.naturalSize;
    if (mode & BSZ_HORZ) {
        *size = stored ? horz : natural;
    } else if (mode & BSZ_VERT) {
        if (bar.flags & BFX_ROTATE) {
            if (stored)
                *size = {StoredOr(vert.cx, horz.cy), StoredOr(vert.cy, horz.cx)};
            else
                *size = {natural.cy, natural.cx};
        } else {
            if (stored)
                *size = {StoredOr(vert.cx, horz.cx), StoredOr(vert.cy, horz.cy)};
            else
                *size = natural;
        }
    }
}

// What a docked bar's non-client area adds: borders, then a caption or a gripper.
void AddDockedFrame(UINT flags, UINT mode, SIZE* size) {
    for (UINT border : {BFX_SUNKENBORDER, BFX_RAISEDBORDER, BFX_SPACING}) {
        if (flags & border) size->cx += 2, size->cy += 2;
    }
    if (flags & BFX_CAPTION) {
        size->cy += GetSystemMetrics(SM_CYSMCAPTION);
        size->cx += 2, size->cy += 2;
    } else if (flags & BFX_GRIPPER) {
        if (mode & BSZ_HORZ)
            size->cx += 8, size->cy += 2;
        else
            size->cx += 2, size->cy += 8;
    } else {
        size->cx += 2, size->cy += 2;
    }
}

}  // namespace

void CToolBarFx::GetBarSize(UINT mode, SIZE* size) const {
    if (mode & BSZ_DOCKED) {
        if (mode & BSZ_BASE) DockedBaseSize(*this, mode, size);
        if (mode & BSZ_FRAME) AddDockedFrame(flags, mode, size);
    } else if (mode & BSZ_FLOATING) {
        if (mode & BSZ_BASE) {
            if (mode & BSZ_STORED)
                *size = {StoredOr(floatSize.cx, horzSize.cx), StoredOr(floatSize.cy, horzSize.cy)};
            else
                *size = naturalSize;
        }
        if (mode & BSZ_FRAME) size->cx += 2, size->cy += 2;
    }
}

BOOL CToolBarFx::FitToolBar(UINT mode, SIZE* size) {
    if (!isToolBar) return FALSE;
    const DWORD buttonSize = static_cast<DWORD>(CallClassProc(TB_GETBUTTONSIZE, 0, 0));
    const int count = static_cast<int>(CallClassProc(TB_BUTTONCOUNT, 0, 0));
    const bool vertical = !(mode & BSZ_HORZ) && (mode & BSZ_VERT);
    const UINT kReflow = SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

    LONG right = vertical ? LOWORD(buttonSize) : 0;
    LONG bottom = 0;
    POINT origin{0, 0};
    bool haveOrigin = false;
    int last = -1;
    BOOL wrapped = FALSE;
    SetWindowPos(hwnd, nullptr, 0, 0, size->cx, size->cy, kReflow);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!CallClassProc(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        if (button.fsState & TBSTATE_WRAP) wrapped = TRUE;
        for (;;) {
            RECT item{};
            CallClassProc(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
            if (!haveOrigin) {
                origin = {item.left, item.top};
                haveOrigin = true;
            }
            bottom = std::max(bottom, item.bottom);
            if (mode & BSZ_HORZ) {
                right = std::max(right, item.right);
            } else if ((mode & BSZ_VERT) && bottom - origin.y > size->cy && last != i) {
                // Too tall: one more button height of width, and measure this button again.
                right += HIWORD(buttonSize);
                size->cx = right;
                last = i;
                bottom = 0;
                SetWindowPos(hwnd, nullptr, 0, 0, size->cx, size->cy, kReflow);
                continue;
            }
            break;
        }
    }
    *size = {right - origin.x, bottom - origin.y};
    if (mode & BSZ_FRAME) GetBarSize(mode & ~BSZ_BASE, size);
    return wrapped;
}

void CToolBarFx::MeasureToolBar() {
    if (!isToolBar) return;
    const DWORD buttonSize = static_cast<DWORD>(CallClassProc(TB_GETBUTTONSIZE, 0, 0));
    const int count = static_cast<int>(CallClassProc(TB_BUTTONCOUNT, 0, 0));
    LONG sumW = 0, sumH = 0, widest = LOWORD(buttonSize);
    for (int i = 0; i < count; ++i) {
        TBBUTTON button{};
        if (!CallClassProc(TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)) || (button.fsState & TBSTATE_HIDDEN))
            continue;
        RECT item{};
        CallClassProc(TB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&item));
        LONG w = item.right - item.left, h = item.bottom - item.top;
        if (button.fsStyle & TBSTYLE_SEP) w = h = std::min(w, h);  // a separator is a small square
        sumW += w;
        sumH += h;
        widest = std::max(widest, w);
    }
    LONG height = HIWORD(buttonSize);
    if (!(GetWindowLongA(hwnd, GWL_STYLE) & TBSTYLE_FLAT)) height += 4;
    naturalSize = {static_cast<LONG>(LOWORD(buttonSize)), height};
    horzSize = {sumW, height};
    vertSize = {widest ? widest : height, sumH};
}

void CToolBarFx::RefreshBar() {
    if (state) {
        state->docked = IsFloating() ? 0 : 1;
        state->side = static_cast<BYTE>((flags & BFX_BOTTOM) ? 3 : (flags >> 5) & 7);
    }
    if (isToolBar) {
        MeasureToolBar();
        if (!toolTip) toolTip = reinterpret_cast<HWND>(CallClassProc(TB_GETTOOLTIPS, 0, 0));
    }
}

void CToolBarFx::RecordDockedPlace(bool horizontal) {
    if (!state) return;
    state->x = dockPos.x;
    state->y = dockPos.y;
    const SIZE stored = horizontal ? horzSize : vertSize;
    state->cx = stored.cx;
    state->cy = stored.cy;
}

}  // namespace varnex
