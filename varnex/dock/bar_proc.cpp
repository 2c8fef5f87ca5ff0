#include "dock/bar_proc.h"

#include <commctrl.h>

#include "core/frame_manager.h"
#include "core/host.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/tool_menu.h"
#include "drag/bar_nonclient.h"
#include "drag/drag_tracker.h"
#include "drag/mini_frame.h"
#include "varnex.h"

namespace varnex {

namespace {

// What every bar shares: a plain window gets its own procedure; a toolbar is handled here or
// goes straight to the toolbar class, past every subclass.
LRESULT CommonMessage(CToolBarFx* bar, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!bar->isToolBar) return CallPrevWindowProc(bar, message, wParam, lParam);
    switch (message) {
    case WM_SETTEXT:
        return DefWindowProcA(bar->hwnd, message, wParam, lParam);
    case WM_NOTIFY:
        if (bar->isMainToolBar) return OnToolNotify(bar, reinterpret_cast<NMHDR*>(lParam));
        return CallPrevWindowProc(bar, message, wParam, lParam);
    case WM_COMMAND:
        OnToolCommand(bar, wParam, lParam);
        return 0;
    case WM_MENUSELECT:
        OnToolMenuSelect(bar, wParam, reinterpret_cast<HMENU>(lParam));
        return 0;
    case WM_TIMER:
        if (bar->isMainToolBar) return 0;
        return CallPrevWindowProc(bar, message, wParam, lParam);
    case WM_LBUTTONUP:
        bar->CallClassProc(WM_LBUTTONUP, wParam, lParam);
        bar->CallClassProc(WM_PAINT, 0, 0);
        return 0;
    case TB_SETBUTTONSIZE:
        if (bar->isMainToolBar) return bar->CallClassProc(message, wParam, lParam);
        [[fallthrough]];
    case TB_AUTOSIZE:
        bar->CallClassProc(message, wParam, lParam);
        bar->MeasureToolBar();
        if (bar->miniFrame)
            bar->miniFrame->SizeMiniFrame(0x0C06, nullptr);
        else if (bar->frame)
            bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return 1;
    }
    return bar->CallClassProc(message, wParam, lParam);
}

LRESULT FramedBarMessage(CToolBarFx* bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY: {
        bar->RestoreBar(FXS_DESTROY);
        CallPrevWindowProc(bar, message, wParam, lParam);
        CCtrlFrameFx* frame = bar->frame;
        const bool docked = bar->dockSite && !bar->IsFloating();
        if (bar->dockSite) bar->dockSite->RemoveBar(bar);
        bar->ReleaseBar();
        DeleteWindowObject(bar);
        // The space the bar took goes back to the frame at once.
        if (docked) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return 0;
    }
    case WM_ACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_NCACTIVATE:
    case WM_NCLBUTTONUP:
        return 0;
    case WM_SIZE:
        if (GetPropA(bar->hwnd, kFrameProp)) PostMessageA(bar->hwnd, kWmFxRecalc, 0, 0);
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
    return CommonMessage(bar, message, wParam, lParam);
}

LRESULT StandaloneBarMessage(CToolBarFx* bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
        CallPrevWindowProc(bar, message, wParam, lParam);
        bar->RestoreBar(FXS_DESTROY);
        bar->ReleaseBar();
        DeleteWindowObject(bar);
        return 0;
    case WM_ACTIVATE:
    case WM_CHILDACTIVATE:
    case WM_NCACTIVATE:
        return 0;
    case WM_WINDOWPOSCHANGING: {
        // Only the library's own moves (SWP_NOOWNERZORDER) may move, size or re-order the bar.
        WINDOWPOS* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & (SWP_NOMOVE | SWP_NOOWNERZORDER)))
            pos->flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
        return 0;
    }
    }
    return CommonMessage(bar, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    HANDLE block = GetPropA(hwnd, kBarProp);
    if (!block) {
        // A host toolbar redirected by the frame procedure at its creation: its own procedure
        // waits in GWL_USERDATA until the first notify-format query, which ends the redirection.
        if (message == WM_NOTIFYFORMAT) {
            DestroyWindow(reinterpret_cast<HWND>(wParam));
            EndToolBarRedirection(hwnd);
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
    CToolBarFx* bar = static_cast<CToolBarFx*>(GlobalLock(block));
    return bar->frame ? FramedBarMessage(bar, message, wParam, lParam)
                      : StandaloneBarMessage(bar, message, wParam, lParam);
}

void EndToolBarRedirection(HWND hwnd) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)) != BarWndProc || GetPropA(hwnd, kBarProp))
        return;
    SetWindowLongPtrA(hwnd, GWLP_WNDPROC, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

}  // namespace varnex
