#include "dock/mini_frame.h"

#include <algorithm>

#include "dock/dock_frame.h"
#include "core/host.h"
#include "dock/tool_bar.h"
#include "core/window_procs.h"
#include "varnex.h"

namespace varnex {

namespace {

// What the framework's subclassing leaves on each window of its classes; the floating window's
// previous procedure is not kept, so the framework's record of it must go too.
constexpr char kFrameworkOldProcProp[] = "AfxOldWndProc";
// What a floating bar has in place of its side bits: BFX_FLOATING and both horizontal sides.
constexpr UINT kFloatingBarSides = BFX_FLOATING | BFX_HORZ;
static_assert(kFloatingBarSides == 0x94);

LONG SignedX(LPARAM lParam) { return static_cast<SHORT>(LOWORD(lParam)); }
LONG SignedY(LPARAM lParam) { return static_cast<SHORT>(HIWORD(lParam)); }

}  // namespace

CMiniFrameFx* CMiniFrameFx::Create(CDockFrameFx* owningFrame) {
    CMiniFrameFx* mini = NewWindowObject<CMiniFrameFx>();
    if (!mini) return nullptr;
    mini->SetMiniFrameOwner(owningFrame);
    // Clipping its child keeps a transparent toolbar inside from asking the floating window to
    // paint its background, painting over the toolbar, and so on for ever.
    if (!CreateFrameChild(mini, kMiniFrameStyle | WS_CLIPCHILDREN, kMiniFrameExStyle, mini->owner, kMiniFrameId)) {
        DeleteWindowObject(mini);
        return nullptr;
    }
    RemovePropA(mini->hwnd, kFrameworkOldProcProp);
    if (!AttachWindowObject(mini, kMiniFrameProp)) {
        DestroyWindow(mini->hwnd);
        DeleteWindowObject(mini);
        return nullptr;
    }
    SetWindowLongPtrA(mini->hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MiniFrameProc));
    return mini;
}

void CMiniFrameFx::Release(CMiniFrameFx* mini) {
    if (!mini || !BeginRelease(mini)) return;
    Hold<CMiniFrameFx> hold(mini);
    // The bar window is the host's: should it still sit in the floating window (the bar released
    // while floating), it goes back to the parent it was found in rather than down with the
    // floating window.
    CToolBarFx* bar = mini->bar;
    if (bar && IsWindow(bar->hwnd) && GetParent(bar->hwnd) == mini->hwnd && IsWindow(bar->origParent)) {
        SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
        SetWindowLongPtrA(bar->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(bar->origParent));
    }
    if (IsWindow(mini->hwnd)) DestroyWindow(mini->hwnd);
    EndRelease(mini, kMiniFrameProp);
}

void CMiniFrameFx::SetMiniFrameOwner(CDockFrameFx* owningFrame) {
    frame = owningFrame;
    flags = owningFrame->flags;
    owner = owningFrame->hwnd;
    if (owningFrame->isChild) {
        // Only a top-level window can own a popup: the child frame's top-level ancestor, or,
        // when that is itself a floating window, whoever owns that one.
        while (GetWindowLongA(owner, GWL_STYLE) & WS_CHILD) {
            HWND parent = GetParent(owner);
            if (!parent) break;
            owner = parent;
        }
        if (GetPropA(owner, kMiniFrameProp)) owner = GetWindow(owner, GW_OWNER);
    }
    if (hwnd && GetWindow(hwnd, GW_OWNER) != owner)
        SetWindowLongPtrA(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

void CMiniFrameFx::AttachMiniFrame(CToolBarFx* floatingBar) {
    if (floatingBar->frame != frame) {
        SetMiniFrameOwner(floatingBar->frame);
        return;
    }
    if (bar) return;
    bar = floatingBar;
    // The host hears of each step, and may undock or destroy from there.
    Hold<CMiniFrameFx> self(this);
    SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpHide);
    if (!self.Alive()) return;
    bar->flags = (bar->flags & ~kBarSides) | kFloatingBarSides;
    bar->RefreshBar();
    SetWindowLongPtrA(bar->hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
    if (!self.Alive()) return;
    if (bar->toolTip) SetWindowLongPtrA(bar->toolTip, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(hwnd));
    char caption[80] = {};
    GetWindowTextA(bar->hwnd, caption, sizeof caption);
    SetWindowTextA(hwnd, caption);
    SizeMiniFrame(kSizeAndMove, nullptr);
    if (self.Alive()) SetWindowPos(bar->hwnd, nullptr, 0, 0, 0, 0, kSwpShow);
}

void CMiniFrameFx::SizeMiniFrame(UINT request, const RECT* rect) {
    RECT r{};
    if (rect) r = *rect;
    bool broughtBack = false;
    if (request & kSizeAroundBar) {
        if (!bar) return;
        SIZE size{};
        bar->GetBarSize(kFloatingSize, &size);
        if (bar->isToolBar && (bar->flags & BFX_WRAPPABLE))
            bar->FitToolBar(kFloatingFrameFit | BSZ_HORZ, &size);
        RECT outer{0, 0, size.cx, size.cy};
        AdjustWindowRectEx(&outer, kMiniFrameStyle, FALSE, kMiniFrameExStyle);
        r = {0, 0, outer.right - outer.left, outer.bottom - outer.top};
        OffsetRect(&r, bar->floatPos.x, bar->floatPos.y);
        // A place no monitor shows would leave the bar out of the user's reach: the window opens
        // in the nearest monitor's work area instead.
        if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            if (GetMonitorInfoA(MonitorFromRect(&r, MONITOR_DEFAULTTONEAREST), &monitor)) {
                const RECT& work = monitor.rcWork;
                OffsetRect(&r, std::clamp(r.left, work.left, std::max(work.left, work.right - (r.right - r.left))) - r.left,
                           std::clamp(r.top, work.top, std::max(work.top, work.bottom - (r.bottom - r.top))) - r.top);
                broughtBack = true;
            }
        }
    }
    if (!(request & kMoveToFloatPos)) return;
    // The place the window really takes is the one kept, and the one the host's state record
    // learns: a layout saved from it opens where the user can reach the bar.
    if (broughtBack) bar->floatPos = {r.left, r.top};
    MoveMiniFrame(r);
}

void CMiniFrameFx::FillWithBar() {
    if (!bar || !IsWindow(bar->hwnd)) return;
    // The client rectangle, not WM_SIZE's words: those are cut to 16 bits.
    RECT client, now;
    GetClientRect(hwnd, &client);
    GetWindowRect(bar->hwnd, &now);
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&now), 2);
    if (EqualRect(&now, &client)) return;
    SetWindowPos(bar->hwnd, nullptr, 0, 0, client.right, client.bottom,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER);
}

void CMiniFrameFx::MoveMiniFrame(const RECT& r) {
    Hold<CMiniFrameFx> self(this);
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A window held at its smallest size does not change, and hears of no size: the bar is fitted
    // here as well.
    if (self.Alive()) FillWithBar();
    if (self.Alive() && bar && bar->state) {
        // The stored floating values, which the host passes back to SetDock, not the outer size.
        bar->state->x = bar->floatPos.x;
        bar->state->y = bar->floatPos.y;
        bar->state->cx = bar->floatSize.cx;
        bar->state->cy = bar->floatSize.cy;
    }
}

void CMiniFrameFx::ShowMiniFrame() {
    // Never over a minimized owner: the system shows owned windows again when it is restored.
    if (visible || IsIconic(owner)) return;
    visible = TRUE;
    const HWND window = hwnd;
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    // Active look without taking the activation from the frame.
    DefWindowProcA(window, WM_NCACTIVATE, TRUE, 0);
}

void CMiniFrameFx::HideMiniFrame() {
    if (!visible) return;
    visible = FALSE;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
}

void CMiniFrameFx::ShowWithFrame() {
    // Hidden by the library's flag or by the host's own ShowWindow, which leaves the flag alone
    // while the floating window is hidden.
    if (bar && (!bar->IsBarVisible() || !(GetWindowLongA(bar->hwnd, GWL_STYLE) & WS_VISIBLE))) return;
    ShowMiniFrame();
}

void CMiniFrameFx::SetFloatStatus(WPARAM code) {
    const bool autoHide = flags & AF_FLOATAUTOHIDE;
    switch (code) {
    case FS_SHOW:
        ShowWithFrame();
        break;
    case FS_HIDE:
        HideMiniFrame();
        break;
    case FS_ACTIVATE:
        if (autoHide)
            ShowWithFrame();
        else
            DefWindowProcA(hwnd, WM_NCACTIVATE, TRUE, 0);
        break;
    case FS_DEACTIVATE:
        if (autoHide)
            HideMiniFrame();
        else
            DefWindowProcA(hwnd, WM_NCACTIVATE, FALSE, 0);
        break;
    case FS_ENABLE:
        EnableWindow(hwnd, TRUE);
        break;
    case FS_DISABLE:
        EnableWindow(hwnd, FALSE);
        break;
    default:
        break;
    }
}

LRESULT CMiniFrameFx::MiniFrameHitTest(LPARAM lParam) const {
    const LRESULT d = DefWindowProcA(hwnd, WM_NCHITTEST, 0, lParam);
    if (d < HTLEFT || d > HTBOTTOMRIGHT) return d;
    RECT r;
    GetWindowRect(hwnd, &r);
    InflateRect(&r, -6, -6);
    const LONG x = SignedX(lParam), y = SignedY(lParam);
    // Corners only in 6 x 6 squares; the rest of each side sizes one way.
    switch (d) {
    case HTTOPLEFT: return x > r.left ? HTTOP : y > r.top ? HTLEFT : HTTOPLEFT;
    case HTTOPRIGHT: return x < r.right ? HTTOP : y > r.top ? HTRIGHT : HTTOPRIGHT;
    case HTBOTTOMLEFT: return x > r.left ? HTBOTTOM : y < r.bottom ? HTLEFT : HTBOTTOMLEFT;
    case HTBOTTOMRIGHT: return x < r.right ? HTBOTTOM : y < r.bottom ? HTRIGHT : HTBOTTOMRIGHT;
    default: return d;
    }
}

}  // namespace varnex
