#include "core/window_procs.h"

#include <commctrl.h>

#include "dock/dock_frame.h"
#include "core/host.h"
#include "core/subclass.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/toolbar_redirection.h"
#include "toolbar/tool_menu.h"
#include "dock/bar_nonclient.h"
#include "drag/drag_tracker.h"
#include "dock/mini_frame.h"
#include "varnex.h"

namespace varnex {

namespace {

// The release clicks a button: the host hears of the command and may take the bar away.
LRESULT OnToolBarButtonUp(const Hold<CToolBarFx>& hold, WPARAM wParam, LPARAM lParam) {
    hold->CallClassProc(WM_LBUTTONUP, wParam, lParam);
    if (hold.Alive()) hold->CallClassProc(WM_PAINT, 0, 0);
    return 0;
}

// The toolbar measured again, and the bar placed at its new size.
LRESULT OnToolBarAutoSize(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CToolBarFx* bar = hold.get();
    bar->CallClassProc(message, wParam, lParam);
    if (!hold.Alive()) return 1;
    bar->MeasureToolBar();
    if (bar->miniFrame)
        bar->miniFrame->SizeMiniFrame(kSizeAndMove, nullptr);
    else if (bar->frame)
        bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 1;
}

// A toolbar's messages are handled here or go straight to the toolbar class, past every
// subclass; a main toolbar's buttons, menus and tooltips are the tool menu's.
LRESULT ToolBarMessage(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CToolBarFx* bar = hold.get();
    switch (message) {
    case WM_SETTEXT: return DefWindowProcA(bar->hwnd, message, wParam, lParam);
    case WM_NOTIFY:
        if (bar->isMainToolBar) return OnToolNotify(bar, reinterpret_cast<NMHDR*>(lParam));
        return CallPrevWindowProc(bar, message, wParam, lParam);
    case WM_COMMAND: OnToolCommand(bar, wParam, lParam); return 0;
    case WM_MENUSELECT: OnToolMenuSelect(bar, wParam, reinterpret_cast<HMENU>(lParam)); return 0;
    case WM_TIMER:
        if (bar->isMainToolBar) return 0;
        return CallPrevWindowProc(bar, message, wParam, lParam);
    case WM_LBUTTONUP: return OnToolBarButtonUp(hold, wParam, lParam);
    case TB_SETBUTTONSIZE:
        if (bar->isMainToolBar) return bar->CallClassProc(message, wParam, lParam);
        return OnToolBarAutoSize(hold, message, wParam, lParam);
    case TB_AUTOSIZE: return OnToolBarAutoSize(hold, message, wParam, lParam);
    default: return bar->CallClassProc(message, wParam, lParam);
    }
}

// What every bar shares: a plain window gets its own procedure, a toolbar its class's.
LRESULT CommonMessage(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CToolBarFx* bar = hold.get();
    if (message == WM_STYLECHANGING && static_cast<int>(wParam) == GWL_STYLE)
        reinterpret_cast<STYLESTRUCT*>(lParam)->styleNew &= ~kBarStripStyles;  // the borders stay the library's
    if (!bar->isToolBar) return CallPrevWindowProc(bar, message, wParam, lParam);
    return ToolBarMessage(hold, message, wParam, lParam);
}

// A bar's window being destroyed: the bar is given back (its procedure only: the window is going)
// before the host hears of the end, and no export finds it from then on: a host that undocks in
// its own WM_DESTROY finds nothing to undock.
LRESULT OnBarDestroy(CToolBarFx* bar, UINT message, WPARAM wParam, LPARAM lParam) {
    CDockFrameFx* frame = bar->frame;
    const bool docked = bar->dockSite && !bar->IsFloating();
    Hold<CDockFrameFx> frameHold(frame);
    const bool mine = bar->BeginDiscard(FXS_DESTROY);
    CallPrevWindowProc(bar, message, wParam, lParam);
    if (!mine) return 0;
    bar->EndDiscard();
    // The space the bar took goes back to the frame at once.
    if (docked && frameHold.Alive()) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 0;
}

// A bar that is also a frame lays itself out at its new size. Restored after the host minimized
// or maximized it, the system put it back where it was, or would have (only the library moves a
// bar): the library places it again.
void OnFramedBarSize(CToolBarFx* bar, WPARAM sizeKind) {
    if (FindWindowRecord(bar->hwnd, kFrameProp)) PostMessageA(bar->hwnd, kWmFxRecalc, 0, 0);
    if (sizeKind == SIZE_MINIMIZED || sizeKind == SIZE_MAXIMIZED) {
        bar->heldBySystem = TRUE;
    } else if (bar->heldBySystem) {
        bar->heldBySystem = FALSE;
        if (bar->miniFrame)
            bar->miniFrame->FillWithBar();
        else if (bar->frame)
            PostMessageA(bar->frame->hwnd, kWmFxRecalc, 0, 0);
    }
}

LRESULT FramedBarMessage(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CToolBarFx* bar = hold.get();
    switch (message) {
    case WM_NCLBUTTONUP:
        return 0;
    case WM_SIZE:
        OnFramedBarSize(bar, wParam);
        break;
    case WM_SHOWWINDOW:
        BarShowWindow(bar, static_cast<BOOL>(wParam));
        return 0;
    case WM_WINDOWPOSCHANGING:
        BarPosChanging(bar, reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_NCCALCSIZE:
        BarNcCalcSize(bar, reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCHITTEST:
        return BarNcHitTest(bar, lParam);
    case WM_NCPAINT:
        BarNcPaint(bar);
        return 0;
    case WM_NCLBUTTONDOWN:
        BarNcButtonDown(bar, wParam);
        return 0;
    case WM_NCLBUTTONDBLCLK:
        BarNcDoubleClick(bar, wParam);
        return 0;
    }
    return CommonMessage(hold, message, wParam, lParam);
}

LRESULT StandaloneBarMessage(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_WINDOWPOSCHANGING: {
        // Only the library's own moves (SWP_NOOWNERZORDER) may move, size or re-order the bar.
        WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & (SWP_NOMOVE | SWP_NOOWNERZORDER)))
            pos->flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        return 0;
    }
    }
    return CommonMessage(hold, message, wParam, lParam);
}

// What every bar does alike: its end, and no activation of its own; the rest by its kind.
LRESULT BarMessage(const Hold<CToolBarFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        return OnBarDestroy(hold.get(), message, wParam, lParam);
    case WM_ACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_NCACTIVATE:
        return 0;
    default:
        return hold->frame ? FramedBarMessage(hold, message, wParam, lParam)
                           : StandaloneBarMessage(hold, message, wParam, lParam);
    }
}

}  // namespace

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) NoteWindowEnding(hwnd);
    if (auto* bar = static_cast<CToolBarFx*>(FindWindowRecord(hwnd, kBarProp))) {
        Hold<CToolBarFx> hold(bar);
        if (bar->released) return CallPrevWindowProc(bar, message, wParam, lParam);
        return BarMessage(hold, message, wParam, lParam);
    }
    if (LRESULT result; CallPassThrough(hwnd, BarWndProc, message, wParam, lParam, &result))
        return result;
    return RedirectedToolBarMessage(hwnd, message, wParam, lParam);
}

}  // namespace varnex
