// The floating window's procedure.
#include "core/host.h"
#include "core/registry.h"
#include "core/window_procs.h"
#include "dock/dock_frame.h"
#include "dock/mini_frame.h"
#include "dock/tool_bar.h"
#include "drag/drag_tracker.h"
#include "varnex.h"

namespace varnex {

namespace {

// Destroyed with its owner, or by the host: the bar no longer floats in it.
LRESULT OnMiniFrameEnd(const Hold<CMiniFrameFx>& hold, UINT, WPARAM, LPARAM) {
    CMiniFrameFx* mini = hold.get();
    if (BeginRelease(mini)) {
        if (mini->bar && mini->bar->miniFrame == mini) mini->bar->miniFrame = nullptr;
        EndRelease(mini, kMiniFrameProp);
    }
    return 0;
}

// A minimized floating window would also be painted for ever, having no icon.
LRESULT OnMiniFrameSize(const Hold<CMiniFrameFx>& hold, UINT, WPARAM wParam, LPARAM) {
    if (RestoreLaterIfMinMaxed(hold->hwnd, wParam)) return 0;
    hold->FillWithBar();
    return 0;
}

// Activation leaving for a window outside the owner's family: the owner must hear.
LRESULT OnMiniFrameActivate(const Hold<CMiniFrameFx>& hold, UINT, WPARAM wParam, LPARAM lParam) {
    CMiniFrameFx* mini = hold.get();
    if (LOWORD(wParam) == WA_INACTIVE) {
        HWND other = reinterpret_cast<HWND>(lParam);
        if (other != mini->owner && GetWindow(other, GW_OWNER) != mini->owner)
            PostMessageA(mini->owner, WM_ACTIVATE, wParam, lParam);
    }
    return 0;
}

// Closed by the user: the bar is given back as UnDock gives it, which also destroys this window
// and frees this object.
LRESULT OnMiniFrameClose(const Hold<CMiniFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CMiniFrameFx* mini = hold.get();
    if (CToolBarFx* bar = mini->bar; bar && bar->miniFrame == mini) {
        UnDock(bar->hwnd);
        return 0;
    }
    return DefWindowProcA(mini->hwnd, message, wParam, lParam);
}

LRESULT OnMiniFrameEraseBackground(const Hold<CMiniFrameFx>&, UINT, WPARAM wParam, LPARAM) {
    HDC dc = reinterpret_cast<HDC>(wParam);
    RECT r;
    GetClipBox(dc, &r);
    FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
    return 1;
}

LRESULT OnMiniFrameShowWindow(const Hold<CMiniFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    hold->visible = static_cast<BOOL>(wParam);
    return DefWindowProcA(hold->hwnd, message, wParam, lParam);
}

// A click never activates the floating window: the owner stays (or becomes) active.
LRESULT OnMiniFrameMouseActivate(const Hold<CMiniFrameFx>& hold, UINT, WPARAM, LPARAM) {
    CMiniFrameFx* mini = hold.get();
    RaiseWindowObject(mini, HWND_TOP);
    if (hold.Alive()) SetActiveWindow(mini->owner);
    if (hold.Alive() && mini->frame && (mini->frame->flags & AF_MDICHILD)) RaiseWindowObject(mini->frame, HWND_TOP);
    return MA_NOACTIVATE;
}

LRESULT OnMiniFrameNcHitTest(const Hold<CMiniFrameFx>& hold, UINT, WPARAM, LPARAM lParam) {
    return hold->MiniFrameHitTest(lParam);
}

// Always drawn active, like the system's own tool windows.
LRESULT OnMiniFrameNcActivate(const Hold<CMiniFrameFx>& hold, UINT message, WPARAM, LPARAM lParam) {
    return DefWindowProcA(hold->hwnd, message, TRUE, lParam);
}

// The close button works as usual. Caption and border presses are the bar's move and size
// drags; the system's own moving, sizing and system menu never run for a floating window.
LRESULT OnMiniFrameNcButtonDown(const Hold<CMiniFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    if (wParam == HTCLOSE) return DefWindowProcA(hold->hwnd, message, wParam, lParam);
    if (hold->bar) BarNcButtonDown(hold->bar, wParam);
    return 0;
}

LRESULT OnMiniFrameNcButtonUp(const Hold<CMiniFrameFx>&, UINT, WPARAM, LPARAM) { return 0; }

// A caption double click docks the bar back.
LRESULT OnMiniFrameNcDoubleClick(const Hold<CMiniFrameFx>& hold, UINT, WPARAM wParam, LPARAM) {
    if (hold->bar) BarNcDoubleClick(hold->bar, wParam);
    return 0;
}

LRESULT OnMiniFrameFloatStatus(const Hold<CMiniFrameFx>& hold, UINT, WPARAM wParam, LPARAM) {
    hold->SetFloatStatus(wParam);
    return 0;
}

LRESULT MiniFrameMessage(const Hold<CMiniFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY: return OnMiniFrameEnd(hold, message, wParam, lParam);
    case WM_SIZE: return OnMiniFrameSize(hold, message, wParam, lParam);
    case WM_ACTIVATE: return OnMiniFrameActivate(hold, message, wParam, lParam);
    case WM_CLOSE: return OnMiniFrameClose(hold, message, wParam, lParam);
    case WM_ERASEBKGND: return OnMiniFrameEraseBackground(hold, message, wParam, lParam);
    case WM_SHOWWINDOW: return OnMiniFrameShowWindow(hold, message, wParam, lParam);
    case WM_MOUSEACTIVATE: return OnMiniFrameMouseActivate(hold, message, wParam, lParam);
    case WM_NCHITTEST: return OnMiniFrameNcHitTest(hold, message, wParam, lParam);
    case WM_NCACTIVATE: return OnMiniFrameNcActivate(hold, message, wParam, lParam);
    case WM_NCLBUTTONDOWN: return OnMiniFrameNcButtonDown(hold, message, wParam, lParam);
    case WM_NCLBUTTONUP: return OnMiniFrameNcButtonUp(hold, message, wParam, lParam);
    case WM_NCLBUTTONDBLCLK: return OnMiniFrameNcDoubleClick(hold, message, wParam, lParam);
    case kWmFloatStatus: return OnMiniFrameFloatStatus(hold, message, wParam, lParam);
    default: return DefWindowProcA(hold->hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MiniFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* mini = static_cast<CMiniFrameFx*>(FindWindowRecord(hwnd, kMiniFrameProp));
    // Being released: the window goes the plain way.
    if (!mini || mini->released) return DefWindowProcA(hwnd, message, wParam, lParam);
    Hold<CMiniFrameFx> hold(mini);
    return MiniFrameMessage(hold, message, wParam, lParam);
}

}  // namespace varnex
