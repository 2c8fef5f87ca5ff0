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

LRESULT MiniFrameMessage(const Hold<CMiniFrameFx>& hold, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CMiniFrameFx* mini = hold.get();
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        // Destroyed with its owner, or by the host: the bar no longer floats in it.
        if (BeginRelease(mini)) {
            if (mini->bar && mini->bar->miniFrame == mini) mini->bar->miniFrame = nullptr;
            EndRelease(mini, kMiniFrameProp);
        }
        return 0;
    case WM_SIZE:
        // A minimized floating window would also be painted for ever, having no icon.
        if (RestoreLaterIfMinMaxed(hwnd, wParam)) return 0;
        mini->FillWithBar();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            // Activation leaving for a window outside the owner's family: the owner must hear.
            HWND other = reinterpret_cast<HWND>(lParam);
            if (other != mini->owner && GetWindow(other, GW_OWNER) != mini->owner)
                PostMessageA(mini->owner, WM_ACTIVATE, wParam, lParam);
        }
        return 0;
    case WM_CLOSE:
        if (CToolBarFx* bar = mini->bar; bar && bar->miniFrame == mini) {
            // Closed by the user: the bar is given back as UnDock gives it, which also destroys
            // this window and frees this object.
            UnDock(bar->hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_ERASEBKGND: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        RECT r;
        GetClipBox(dc, &r);
        FillRect(dc, &r, reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1)));
        return 1;
    }
    case WM_SHOWWINDOW:
        mini->visible = static_cast<BOOL>(wParam);
        return DefWindowProcA(hwnd, message, wParam, lParam);
    case WM_MOUSEACTIVATE:
        // A click never activates the floating window: the owner stays (or becomes) active.
        RaiseWindowObject(mini, HWND_TOP);
        if (hold.Alive()) SetActiveWindow(mini->owner);
        if (hold.Alive() && mini->frame && (mini->frame->flags & AF_MDICHILD)) RaiseWindowObject(mini->frame, HWND_TOP);
        return MA_NOACTIVATE;
    case WM_NCHITTEST:
        return mini->MiniFrameHitTest(lParam);
    case WM_NCACTIVATE:
        return DefWindowProcA(hwnd, WM_NCACTIVATE, TRUE, lParam);
    case WM_NCLBUTTONDOWN:
        // The close button works as usual. Caption and border presses are the bar's move and
        // size drags; the system's own moving, sizing and system menu never run for a floating
        // window.
        if (wParam == HTCLOSE) return DefWindowProcA(hwnd, message, wParam, lParam);
        if (mini->bar) BarNcButtonDown(mini->bar, wParam);
        return 0;
    case WM_NCLBUTTONUP:
        return 0;
    case WM_NCLBUTTONDBLCLK:
        // A caption double click docks the bar back.
        if (mini->bar) BarNcDoubleClick(mini->bar, wParam);
        return 0;
    case kWmFloatStatus:
        mini->SetFloatStatus(wParam);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK MiniFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* mini = static_cast<CMiniFrameFx*>(FindWindowRecord(hwnd, kMiniFrameProp));
    // Being released: the window goes the plain way.
    if (!mini || mini->released) return DefWindowProcA(hwnd, message, wParam, lParam);
    Hold<CMiniFrameFx> hold(mini);
    return MiniFrameMessage(hold, hwnd, message, wParam, lParam);
}

}  // namespace varnex
