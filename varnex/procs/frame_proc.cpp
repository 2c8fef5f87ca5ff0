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

// Each handler gets the message a frame's procedure received; what it does not answer itself
// goes on to the host's procedure.
LRESULT PassOn(const CCtrlFrameFx* frame, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallPrevWindowProc(frame, message, wParam, lParam);
}

LRESULT OnFrameSize(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
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
            if (!hold.Alive()) return PassOn(frame, message, wParam, lParam);
        }
        UINT request = (wParam == SIZE_RESTORED ? LAYOUT_RESTORED : LAYOUT_MAXIMIZED) | LAYOUT_COMPUTE | LAYOUT_RECORD;
        if (frame->Kind() & (AF_MDICHILD | AF_CHILDFRAME)) request |= LAYOUT_APPLY;
        RECT rect{0, 0, LOWORD(lParam), HIWORD(lParam)};
        frame->RecalcLayout(request, &rect);
    }
    return PassOn(frame, message, wParam, lParam);
}

// An MDI frame whose owned window (a floating window) holds the activation stays as it is.
LRESULT OnFrameActivate(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    if (frame->Kind() & AF_MDIFRAME) {
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND other = reinterpret_cast<HWND>(lParam);
            frame->ownedActivation = other && GetWindow(other, GW_OWNER) == frame->hwnd;
        }
        if (frame->ownedActivation) return 1;
    }
    return PassOn(frame, message, wParam, lParam);
}

LRESULT OnFrameFocusOrMouseActivate(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    if ((frame->Kind() & AF_MDIFRAME) && frame->ownedActivation) return MA_NOACTIVATE;
    return PassOn(frame, message, wParam, lParam);
}

// The pane and the sites cover the whole client area.
LRESULT OnFrameEraseBackground(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    if (frame->Kind() & (AF_MDIFRAME | AF_CHILDFRAME)) return 1;
    return PassOn(frame, message, wParam, lParam);
}

// The system's own handling, past the host's: the library's track sizes and sizing loop.
LRESULT OnFrameSystemDefault(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(hold->hwnd, message, wParam, lParam);
}

// Caption and borders move or size the frame only when the attach flags allow it.
LRESULT OnFrameNcHitTest(const Hold<CCtrlFrameFx>& hold, UINT, WPARAM, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    LRESULT hit = DefWindowProcA(frame->hwnd, WM_NCHITTEST, 0, lParam);
    if (hit == HTCAPTION) return (frame->flags & AF_CAPTIONMOVE) ? hit : HTNOWHERE;
    if (hit >= HTLEFT && hit <= HTBOTTOMRIGHT) return (frame->flags & AF_BORDERSIZE) ? hit : HTNOWHERE;
    return hit;
}

// A child frame's floating windows follow its activation.
LRESULT OnFrameNcActivate(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    if (frame->isChild) frame->BroadcastFrameState(wParam ? FXS_ACTIVE : FXS_INACTIVE);
    return PassOn(frame, message, wParam, lParam);
}

LRESULT OnFrameRestore(const Hold<CCtrlFrameFx>& hold, WPARAM wParam, LPARAM lParam) {
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

// An MDI frame's close goes to its "Application Manager" window when it has one.
bool CloseThroughApplicationManager(const CCtrlFrameFx* frame) {
    if (!(frame->Kind() & AF_MDIFRAME)) return false;
    HWND manager = FindWindowExA(frame->clientPane->hwnd, nullptr, nullptr, "Application Manager");
    if (!manager) return false;
    PostMessageA(manager, WM_CLOSE, 0, 0);
    return true;
}

LRESULT OnFrameSysCommand(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    switch (wParam) {
    case SC_MINIMIZE:
        if (frame->isChild) frame->BroadcastFrameState(FXS_MINIMIZE);
        break;
    case SC_CLOSE:
        if (CloseThroughApplicationManager(frame)) return 0;
        break;
    case SC_RESTORE:
        return OnFrameRestore(hold, wParam, lParam);
    }
    return PassOn(frame, message, wParam, lParam);
}

// A main toolbar the host creates in the frame is redirected until it becomes a bar.
LRESULT OnFrameParentNotify(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LOWORD(wParam) == WM_CREATE && HIWORD(wParam) == kToolBarId)
        BeginToolBarRedirection(reinterpret_cast<HWND>(lParam));
    return PassOn(hold.get(), message, wParam, lParam);
}

// Hot-item changes and drop-downs of a main toolbar that reports to this frame go to the tool
// menu.
LRESULT OnFrameNotify(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
    if (header && (header->code == TBN_DROPDOWN || header->code == TBN_HOTITEMCHANGE)) {
        CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(header->hwndFrom, kBarProp);
        if (bar && bar->isMainToolBar) return OnToolNotify(bar, header);
    }
    return PassOn(hold.get(), message, wParam, lParam);
}

LRESULT OnFrameSizing(const Hold<CCtrlFrameFx>& hold, UINT, WPARAM wParam, LPARAM lParam) {
    hold->LimitSizingRect(static_cast<UINT>(wParam), reinterpret_cast<RECT*>(lParam));
    return 1;
}

LRESULT OnFrameRecalc(const Hold<CCtrlFrameFx>& hold, UINT, WPARAM, LPARAM) {
    hold->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 0;
}

LRESULT OnFrameState(const Hold<CCtrlFrameFx>& hold, UINT, WPARAM wParam, LPARAM) {
    hold->BroadcastFrameState(static_cast<int>(wParam));
    return 0;
}

LRESULT OnFrameEnd(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    return CCtrlFrameFx::OnDestroy(hold.get(), message, wParam, lParam);
}

LRESULT FrameMessage(const Hold<CCtrlFrameFx>& hold, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY: return OnFrameEnd(hold, message, wParam, lParam);
    case WM_SIZE: return OnFrameSize(hold, message, wParam, lParam);
    case WM_ACTIVATE: return OnFrameActivate(hold, message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_MOUSEACTIVATE: return OnFrameFocusOrMouseActivate(hold, message, wParam, lParam);
    case WM_ERASEBKGND: return OnFrameEraseBackground(hold, message, wParam, lParam);
    case WM_GETMINMAXINFO:
    case WM_ENTERSIZEMOVE:
    case WM_EXITSIZEMOVE: return OnFrameSystemDefault(hold, message, wParam, lParam);
    case WM_NCHITTEST: return OnFrameNcHitTest(hold, message, wParam, lParam);
    case WM_NCACTIVATE: return OnFrameNcActivate(hold, message, wParam, lParam);
    case WM_SYSCOMMAND: return OnFrameSysCommand(hold, message, wParam, lParam);
    case WM_PARENTNOTIFY: return OnFrameParentNotify(hold, message, wParam, lParam);
    case WM_NOTIFY: return OnFrameNotify(hold, message, wParam, lParam);
    case WM_SIZING: return OnFrameSizing(hold, message, wParam, lParam);
    case kWmFxRecalc: return OnFrameRecalc(hold, message, wParam, lParam);
    case kWmFxState: return OnFrameState(hold, message, wParam, lParam);
    default: return PassOn(hold.get(), message, wParam, lParam);
    }
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

// The pane's handlers: what they do not answer goes on to the pane's own procedure.
LRESULT PaneEnd(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam, LPARAM lParam) {
    pane->created = FALSE;  // the window is going already: its children go with it
    CallPrevWindowProc(pane, message, wParam, lParam);
    // As for the status bar: given back whole, sites the library made destroyed.
    if (hold.Alive()) CCtrlFrameFx::Release(hold.get(), FXS_DETACH, false);
    return 0;
}

// A pane with the library's scroll bars keeps its content where the scroll bars put it.
LRESULT PaneSize(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!(hold->Kind() & AF_MDIFRAME) && (pane->hScroll || pane->vScroll)) return 0;
    return CallPrevWindowProc(pane, message, wParam, lParam);
}

// A pane the library made is painted, and clicked, as the frame.
LRESULT PaneAsFrame(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam, LPARAM lParam) {
    if (pane->created) return CallPrevWindowProc(hold.get(), message, wParam, lParam);
    return CallPrevWindowProc(pane, message, wParam, lParam);
}

LRESULT PanePosChanging(const Hold<CCtrlFrameFx>& hold, CClientPaneFx*, UINT, WPARAM, LPARAM lParam) {
    hold->AdjustPanePos(reinterpret_cast<WINDOWPOS*>(lParam));
    return 0;
}

// An MDI client drops its edge while a child is maximized: merged borders change with it.
LRESULT PaneStyleChanged(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    CCtrlFrameFx* frame = hold.get();
    if ((frame->Kind() & AF_MDIFRAME) && (frame->flags & AF_MERGEBORDERS) && static_cast<int>(wParam) == GWL_EXSTYLE) {
        const STYLESTRUCT* change = reinterpret_cast<const STYLESTRUCT*>(lParam);
        frame->childMaximized = !(change->styleNew & WS_EX_CLIENTEDGE);
        frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    }
    return CallPrevWindowProc(pane, message, wParam, lParam);
}

// A child frame's pane has the plain non-client area, whatever its class draws.
LRESULT PaneNonClient(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam,
                      LPARAM lParam) {
    if (hold->Kind() & AF_CHILDFRAME) return DefWindowProcA(pane->hwnd, message, wParam, lParam);
    return CallPrevWindowProc(pane, message, wParam, lParam);
}

LRESULT PaneScroll(const Hold<CCtrlFrameFx>&, CClientPaneFx* pane, UINT message, WPARAM wParam, LPARAM lParam) {
    CScrollBarFx* bar = message == WM_HSCROLL ? pane->hScroll : pane->vScroll;
    if (!bar) return CallPrevWindowProc(pane, message, wParam, lParam);
    bar->Command(wParam);
    return 0;
}

// One line per wheel message, whatever the distance.
LRESULT PaneMouseWheel(const Hold<CCtrlFrameFx>&, CClientPaneFx* pane, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!pane->vScroll) return CallPrevWindowProc(pane, message, wParam, lParam);
    pane->vScroll->Command(GET_WHEEL_DELTA_WPARAM(wParam) <= 0 ? SB_LINEDOWN : SB_LINEUP);
    return 0;
}

LRESULT PaneMessage(const Hold<CCtrlFrameFx>& hold, CClientPaneFx* pane, UINT message, WPARAM wParam,
                    LPARAM lParam) {
    switch (message) {
    case WM_DESTROY:
    case WM_NCDESTROY: return PaneEnd(hold, pane, message, wParam, lParam);
    case WM_SIZE: return PaneSize(hold, pane, message, wParam, lParam);
    case WM_ERASEBKGND: return PaneAsFrame(hold, pane, message, wParam, lParam);
    case WM_WINDOWPOSCHANGING: return PanePosChanging(hold, pane, message, wParam, lParam);
    case WM_STYLECHANGED: return PaneStyleChanged(hold, pane, message, wParam, lParam);
    case WM_NCCALCSIZE:
    case WM_NCPAINT: return PaneNonClient(hold, pane, message, wParam, lParam);
    case WM_HSCROLL:
    case WM_VSCROLL: return PaneScroll(hold, pane, message, wParam, lParam);
    case WM_MOUSEWHEEL: return PaneMouseWheel(hold, pane, message, wParam, lParam);
    default:
        if (message >= WM_MOUSEMOVE && message <= WM_MBUTTONDBLCLK) return PaneAsFrame(hold, pane, message, wParam, lParam);
        return CallPrevWindowProc(pane, message, wParam, lParam);
    }
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
    if (message == WM_DESTROY) NoteWindowEnding(hwnd);
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
