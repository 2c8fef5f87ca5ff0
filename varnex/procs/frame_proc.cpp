#include "core/window_procs.h"

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "core/host.h"
#include "frame/scroll_bar.h"
#include "frame/status_bar.h"
#include "core/subclass.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/toolbar_redirection.h"
#include "toolbar/tool_menu.h"
#include "varnex.h"

namespace varnex {

namespace {

LRESULT FrameHitTest(CCtrlFrameFx* frame, LPARAM lParam) {
    LRESULT hit = DefWindowProcA(frame->hwnd, WM_NCHITTEST, 0, lParam);
    if (hit == HTCAPTION) return (frame->flags & AF_CAPTIONMOVE) ? hit : HTNOWHERE;
    if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return (frame->flags & AF_BORDERSIZE) ? hit : HTNOWHERE;
    return hit;
}

// Hot-item changes and drop-downs of a main toolbar that reports to this frame go to the tool
// menu; true when they did, with its result.
bool ToolBarNotify(LPARAM lParam, LRESULT* result) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (!header || (header->code != TBN_DROPDOWN && header->code != TBN_HOTITEMCHANGE)) return false;
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(header->hwndFrom, kBarProp);
    if (!bar || !bar->isMainToolBar) return false;
    *result = OnToolNotify(bar, header);
    return true;
}

LRESULT OnRestore(const Hold<CCtrlFrameFx>& hold, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    // The host handles the restore itself and may close or detach the frame from there: the
    // library goes on only while the frame is still its own.
    if (frame->flags & AF_KEEPCLIENTSIZE) {
        frame->RecalcLayout(LAYOUT_RESTORED | LAYOUT_FITFRAME | LAYOUT_COMPUTE, nullptr);
        if (!hold.Alive()) return CallPrevWindowProc(frame, WM_SYSCOMMAND, wParam, lParam);
    }
    if (frame->isChild && IsIconic(frame->hwnd)) {
        CallPrevWindowProc(frame, WM_SYSCOMMAND, SC_RESTORE, lParam);
        if (hold.Alive()) frame->BroadcastFrameState(FXS_RESTORE);
        return 0;
    }
    if (frame->flags & AF_SYSMENU) return CallPrevWindowProc(frame, WM_SYSCOMMAND, wParam, lParam);
    // Without a system menu the host sees the restore twice: before and after the menu goes.
    CallPrevWindowProc(frame, WM_SYSCOMMAND, SC_RESTORE, lParam);
    if (!hold.Alive() || !IsWindow(frame->hwnd)) return 0;
    SetWindowLongA(frame->hwnd, GWL_STYLE, GetWindowLongA(frame->hwnd, GWL_STYLE) & ~WS_SYSMENU);
    return CallPrevWindowProc(frame, WM_SYSCOMMAND, wParam, lParam);
}

LRESULT FrameMessage(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    const UINT kind = frame->Kind();
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        return CCtrlFrameFx::OnDestroy(frame, message, wParam, lParam);
    case WM_SIZE:
        if (wParam == SIZE_MINIMIZED) {
            // The floating windows of a top-level frame go with it, as the system's owned windows
            // do (not every system hides them: Wine without a window manager does not).
            if (!frame->isChild && !frame->minimized) {
                frame->minimized = TRUE;
                frame->BroadcastFrameState(FXS_MINIMIZE);
            }
        } else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) {
            if (frame->minimized) {
                frame->minimized = FALSE;
                frame->BroadcastFrameState(FXS_RESTORE);
                if (!hold.Alive()) break;
            }
            UINT request = (wParam == SIZE_RESTORED ? LAYOUT_RESTORED : LAYOUT_MAXIMIZED) |
                           LAYOUT_COMPUTE | LAYOUT_RECORD;
            if (kind & (AF_MDICHILD | AF_CHILDFRAME)) request |= LAYOUT_APPLY;
            RECT rect{0, 0, LOWORD(lParam), HIWORD(lParam)};
            frame->RecalcLayout(request, &rect);
        }
        break;
    case WM_ACTIVATE:
        if (kind & AF_MDIFRAME) {
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND other = reinterpret_cast<HWND>(lParam);
                frame->ownedActivation = other && GetWindow(other, GW_OWNER) == frame->hwnd;
            }
            if (frame->ownedActivation) return 1;
        }
        break;
    case WM_SETFOCUS:
    case WM_MOUSEACTIVATE:
        if ((kind & AF_MDIFRAME) && frame->ownedActivation) return MA_NOACTIVATE;
        break;
    case WM_ERASEBKGND:
        if (kind & (AF_MDIFRAME | AF_CHILDFRAME)) return 1;
        break;
    case WM_GETMINMAXINFO:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE:
        return DefWindowProcA(frame->hwnd, message, wParam, lParam);
    case WM_NCHITTEST:
        return FrameHitTest(frame, lParam);
    case WM_NCACTIVATE:
        if (frame->isChild) frame->BroadcastFrameState(wParam ? FXS_ACTIVE : FXS_INACTIVE);
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE) {
            if (frame->isChild) frame->BroadcastFrameState(FXS_MINIMIZE);
        } else if (wParam == SC_CLOSE) {
            if (kind & AF_MDIFRAME) {
                HWND manager = FindWindowExA(frame->clientPane->hwnd, nullptr, nullptr, "Application Manager");
                if (manager) {
                    PostMessageA(manager, WM_CLOSE, 0, 0);
                    return 0;
                }
            }
        } else if (wParam == SC_RESTORE) {
            return OnRestore(hold, wParam, lParam);
        }
        break;
    case WM_PARENTNOTIFY:
        if (LOWORD(wParam) == WM_CREATE && HIWORD(wParam) == kToolBarId)
            BeginToolBarRedirection(reinterpret_cast<HWND>(lParam));
        break;
    case WM_NOTIFY:
        if (LRESULT result; ToolBarNotify(lParam, &result)) return result;
        break;
    case WM_SIZING:
        frame->LimitSizingRect(static_cast<UINT>(wParam), reinterpret_cast<RECT*>(lParam));
        return 1;
    case kWmFxRecalc:
        frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return 0;
    case kWmFxState:
        frame->BroadcastFrameState(static_cast<int>(wParam));
        return 0;
    }
    return CallPrevWindowProc(frame, message, wParam, lParam);
}

LRESULT StatusBarMessage(const Hold<CCtrlFrameFx>& hold, CStatusBarFx* bar, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    if (IsWindowEnd(message)) {
        CallPrevWindowProc(bar, message, wParam, lParam);
        // A frame without its status bar cannot be laid out as attached: everything is given
        // back as DetachFrame gives it, unless the host did so itself meanwhile.
        if (hold.Alive()) CCtrlFrameFx::Release(hold.get(), FXS_DETACH, false);
        return 0;
    }
    if (message == WM_WINDOWPOSCHANGING) bar->OnPosChanging(reinterpret_cast<const WINDOWPOS*>(lParam));
    return CallPrevWindowProc(bar, message, wParam, lParam);
}

LRESULT SiteMessage(CDockSiteFx* site, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETTEXT:
        return 0;
    case WM_NCCALCSIZE:
        site->CalcSiteEdges(reinterpret_cast<RECT*>(lParam));
        return 0;
    case WM_NCPAINT:
        site->PaintSiteEdges();
        return 0;
    case kWmSizeParent:
        site->SizeParentSite(reinterpret_cast<SizeParentParams*>(lParam));
        return 0;
    case WM_GETMINMAXINFO: {
        // A site is exactly as large as the layout makes it, whatever style the host gave its
        // dock bar (a sizing border would hold it within the screen's track sizes).
        auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
        info->ptMinTrackSize = {0, 0};
        info->ptMaxTrackSize = {kMaxCoordinate, kMaxCoordinate};
        return 0;
    }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT PaneMessage(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    const UINT kind = frame->Kind();
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY:
        pane->created = FALSE;  // the window is going already: its children go with it
        CallPrevWindowProc(pane, message, wParam, lParam);
        // As for the status bar: given back whole, sites the library made destroyed.
        if (hold.Alive()) CCtrlFrameFx::Release(frame, FXS_DETACH, false);
        return 0;
    case WM_SIZE:
        if (!(kind & AF_MDIFRAME) && (pane->hScroll || pane->vScroll)) return 0;
        break;
    case WM_ERASEBKGND:
        if (pane->created) return CallPrevWindowProc(frame, message, wParam, lParam);
        break;
    case WM_WINDOWPOSCHANGING:
        frame->AdjustPanePos(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_STYLECHANGED:
        if ((kind & AF_MDIFRAME) && (frame->flags & AF_MERGEBORDERS) &&
            static_cast<int>(wParam) == GWL_EXSTYLE) {
            const STYLESTRUCT* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
            pane->frame->childMaximized = !(change->styleNew & WS_EX_CLIENTEDGE);
            frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        }
        break;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
        if (kind & AF_CHILDFRAME) return DefWindowProcA(pane->hwnd, message, wParam, lParam);
        break;
    case WM_HSCROLL:
        if (!pane->hScroll) break;
        pane->hScroll->Command(wParam);
        return 0;
    case WM_VSCROLL:
        if (!pane->vScroll) break;
        pane->vScroll->Command(wParam);
        return 0;
    case WM_MOUSEWHEEL:
        if (!pane->vScroll) break;
        // One line per message, whatever the distance.
        pane->vScroll->Command(GET_WHEEL_DELTA_WPARAM(wParam) <= 0 ? SB_LINEDOWN : SB_LINEUP);
        return 0;
    default:
        if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK && pane->created)
            return CallPrevWindowProc(frame, message, wParam, lParam);
        break;
    }
    return CallPrevWindowProc(pane, message, wParam, lParam);
}

// What the frame procedure does for one of the frame's parts.
LRESULT PartMessage(const Hold<CCtrlFrameFx>& hold, WindowRecord* part, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    // A frame being given back or still being attached: its parts only pass messages on, but
    // for their end.
    if (frame->released || (!frame->ready && !IsWindowEnd(message)))
        return CallPrevWindowProc(part, message, wParam, lParam);
    if (part == frame->statusBar) return StatusBarMessage(hold, frame->statusBar, message, wParam, lParam);
    // The pane and the sites have the sizes the layout gives them: once restored, they get them again.
    if (message == WM_SIZE && RestoreLaterIfMinMaxed(part->hwnd, wParam)) PostMessageA(frame->hwnd, kWmFxRecalc, 0, 0);
    if (part == frame->clientPane) return PaneMessage(hold, frame->clientPane, message, wParam, lParam);
    return SiteMessage(static_cast<CDockSiteFx*>(part), part->hwnd, message, wParam, lParam);
}

}  // namespace

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* frame = static_cast<CCtrlFrameFx*>(FindWindowRecord(hwnd, kFrameProp))) {
        Hold<CCtrlFrameFx> hold(frame);
        // Being released, or still being attached: only the end is the library's business.
        if (frame->released || (!frame->ready && !IsWindowEnd(message)))
            return CallPrevWindowProc(frame, message, wParam, lParam);
        return FrameMessage(hold, message, wParam, lParam);
    }
    CCtrlFrameFx* owner = nullptr;
    if (WindowRecord* part = SubclassedPart(hwnd, &owner)) {
        Hold<CCtrlFrameFx> hold(owner);
        return PartMessage(hold, part, message, wParam, lParam);
    }
    if (LRESULT result; CallPassThrough(hwnd, FrameWndProc, message, wParam, lParam, &result))
        return result;
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace varnex
