// Docking and undocking by the host: SetDock and UnDock, and the frame manager's side of it.
#include "core/client_pane.h"
#include "core/frame_manager.h"
#include "core/status_bar.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "drag/mini_frame.h"
#include "varnex.h"

namespace varnex {

void DiscardBar(CToolBarFx* bar, int code) {
    bar->RestoreBar(code);
    bar->ReleaseBar();
    DeleteWindowObject(bar);
}

void CCtrlFrameFx::DockBarInSite(CToolBarFx* bar, CDockSiteFx* site) {
    if (!site) site = dockSites[SideIndex(bar->flags)];
    if (site) site->AddBar(bar);
}

void CCtrlFrameFx::FloatBar(CToolBarFx* bar) {
    if (!bar->dockSite) {
        CDockSiteFx* site = dockSites[SideIndex(bar->flags)];
        if (!site) return;
        bar->dockSite = site;
        site->AppendBar(bar);
        site->PlaceBar(bar);
    }
    if (!bar->miniFrame) {
        CMiniFrameFx* mini = NewWindowObject<CMiniFrameFx>();
        if (!mini) return;
        if (!mini->CreateMiniFrame(this)) {
            // No floating window (the host's class missing): no object that holds none.
            DeleteWindowObject(mini);
            return;
        }
        bar->miniFrame = mini;
    }
    bar->miniFrame->AttachMiniFrame(bar);
    if (bar->IsBarVisible()) bar->miniFrame->ShowMiniFrame();
}

}  // namespace varnex

using namespace varnex;

namespace {

// Flags a host may give a bar: at least one side, one of them allowed, floating only if floatable.
// The frame itself, a window that contains it, or one of its parts (pane, sites, status bar)
// cannot become one of its bars: docking it would put a window inside itself.
bool IsFrameOwnWindow(const CCtrlFrameFx* frame, HWND window) {
    if (window == frame->hwnd || IsChild(window, frame->hwnd)) return true;
    if (window == frame->clientPane->hwnd) return true;
    if (frame->statusBar && window == frame->statusBar->hwnd) return true;
    for (const CDockSiteFx* site : frame->dockSites)
        if (site && window == site->hwnd) return true;
    return false;
}

bool AcceptableBarFlags(UINT flags) {
    const UINT sides = flags & 0xF0;
    if (!sides || !(flags & (sides << 4))) return false;
    return !(flags & BFX_FLOATING) || (flags & BFX_FLOATABLE);
}

}  // namespace

extern "C" int WINAPI SetDock(HWND window, HWND frameWindow, int x, int y, int cx, int cy, UINT barFlags,
                              DOCKSTATE* state, UINT operation) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    CCtrlFrameFx* frame = GetWindowObjectAs<CCtrlFrameFx>(frameWindow, kFrameProp);
    if ((operation & SD_FLAGS) && !AcceptableBarFlags(barFlags)) return 0;
    const UINT sides = operation & (SD_TOP | SD_LEFT | SD_RIGHT | SD_BOTTOM);

    if (frame) {
        if (!bar && window == reinterpret_cast<HWND>(-1)) bar = frame->adoptedBar;
        if (!bar) {
            if ((operation & (SD_ATTACH | SD_FLAGS)) != (SD_ATTACH | SD_FLAGS) || !IsOwnWindow(window) ||
                !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD))
                return 0;
            if (IsFrameOwnWindow(frame, window)) return 0;
            bar = NewWindowObject<CToolBarFx>(frame, window, static_cast<UINT>(GetDlgCtrlID(window)));
            if (!bar) return 0;
            bar->state = state;
        }
        if (bar->frame != frame) {
            if (bar->frame && bar->frame->adoptedBar == bar) bar->frame->adoptedBar = nullptr;
            if (bar->dockSite) bar->dockSite->RemoveBar(bar);
            bar->dockSite = nullptr;
            if (bar->frame) bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
            bar->frame = frame;
            // A floating window belongs to its bar's frame: it must never keep the former one,
            // which may be detached and freed while the bar lives on.
            if (bar->miniFrame) bar->miniFrame->SetMiniFrameOwner(frame);
        }
    } else {
        if ((operation & SD_ATTACH) || !bar) return 0;
        frame = bar->frame;
    }

    if (operation & SD_FLAGS) bar->flags = barFlags;
    if (operation & SD_POSITION) {
        if (sides) {
            bar->dockRect.left = x;
            bar->dockRect.top = y;
            bar->dockPos = {x > 0 ? x : 0, y > 0 ? y : 0};
        } else if (operation & SD_FLOAT) {
            bar->floatPos = {x, y};
        }
    }
    if (operation & SD_SIZE) {
        SIZE* stored = nullptr;
        if (operation & SD_FLOAT)
            stored = &bar->floatSize;
        else if ((operation & (SD_TOP | SD_BOTTOM)) || (bar->flags & BFX_ROTATE))
            stored = &bar->horzSize;
        else if (operation & (SD_LEFT | SD_RIGHT))
            stored = &bar->vertSize;
        if (stored) {
            if (cx > 0) stored->cx = cx;
            if (cy > 0) stored->cy = cy;
        }
    }

    if (operation & (SD_ATTACH | SD_FLAGS)) {
        if (!frame) return 0;  // a stand-alone toolbar has no frame to dock in
        if (bar->flags & BFX_FLOATING)
            frame->FloatBar(bar);
        else
            frame->DockBarInSite(bar, nullptr);
        if (operation & SD_RECALC) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        return 1;
    }
    if (operation & SD_RECALC) {
        if (sides) {
            if ((bar->flags & sides) && bar->dockSite) {
                bar->dockSite->PlaceBar(bar);
                if (bar->frame) bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
            }
        } else if ((operation & SD_FLOAT) && bar->miniFrame) {
            bar->miniFrame->SizeMiniFrame(0x0C06, nullptr);
        }
    }
    return 1;
}

extern "C" int WINAPI UnDock(HWND window) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    if (!bar) return 0;
    if (bar->dockSite) bar->dockSite->RemoveBar(bar);
    bar->RestoreBar(FXS_DETACH);
    if (bar->frame) bar->frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    bar->ReleaseBar();
    DeleteWindowObject(bar);
    return 1;
}
