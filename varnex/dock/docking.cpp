// Docking and undocking by the host: SetDock and UnDock, and the frame manager's side of it.
#include <algorithm>

#include "core/client_pane.h"
#include "core/frame_manager.h"
#include "core/host.h"
#include "core/status_bar.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "drag/mini_frame.h"
#include "varnex.h"

namespace varnex {

bool CCtrlFrameFx::DockBarInSite(CToolBarFx* bar, CDockSiteFx* site) {
    if (!site) site = dockSites[SideIndex(bar->flags)];
    return site && site->AddBar(bar);
}

bool CCtrlFrameFx::FloatBar(CToolBarFx* bar) {
    CDockSiteFx* site = dockSites[SideIndex(bar->flags)];
    if (!site) return false;
    // What can fail comes first: the floating window, and room in the side's list.
    CMiniFrameFx* made = nullptr;
    if (!bar->miniFrame && !(made = CMiniFrameFx::Create(this))) return false;
    if (!bar->dockSite && !site->ReserveBar()) {
        CMiniFrameFx::Release(made);
        return false;
    }
    if (made) {
        made->frame = this;
        bar->miniFrame = made;
    }
    if (!bar->dockSite) {
        bar->dockSite = site;
        site->AppendBar(bar);
        site->PlaceBar(bar);
    }
    Hold<CToolBarFx> held(bar);
    bar->miniFrame->AttachMiniFrame(bar);
    if (held.Alive() && bar->miniFrame && bar->IsBarVisible()) bar->miniFrame->ShowMiniFrame();
    return true;
}

}  // namespace varnex

using namespace varnex;

namespace {

// Coordinates and sizes a host may hand over: anything further out than a window can be would
// overflow the layout's sums.
int ClampCoordinate(int value) { return std::clamp<int>(value, -kMaxCoordinate - 1, kMaxCoordinate); }

// The frame itself, a window that contains it, or one of the library's windows or any frame's
// parts cannot become a bar: docking it would put a window inside itself or take a window from
// under the layout that owns it.
bool CannotBeBar(const CCtrlFrameFx* frame, HWND window) {
    return window == frame->hwnd || IsChild(window, frame->hwnd) || IsLibraryOwned(window);
}

// Flags a host may give a bar: at least one side, one of them allowed, floating only if floatable.
bool AcceptableBarFlags(UINT flags) {
    const UINT sides = flags & 0xF0;
    if (!sides || !(flags & (sides << 4))) return false;
    return !(flags & BFX_FLOATING) || (flags & BFX_FLOATABLE);
}

// What SetDock may change of a bar that already was one, put back when it cannot finish.
struct SavedPlace {
    UINT flags;
    RECT dockRect;
    POINT dockPos, floatPos;
    SIZE horzSize, vertSize, floatSize;

    static SavedPlace Of(const CToolBarFx* bar) {
        return {bar->flags, bar->dockRect, bar->dockPos, bar->floatPos, bar->horzSize, bar->vertSize, bar->floatSize};
    }
    void PutBack(CToolBarFx* bar) const {
        bar->flags = flags;
        bar->dockRect = dockRect;
        bar->dockPos = dockPos;
        bar->floatPos = floatPos;
        bar->horzSize = horzSize;
        bar->vertSize = vertSize;
        bar->floatSize = floatSize;
    }
};

void StorePlace(CToolBarFx* bar, int x, int y, int cx, int cy, UINT operation) {
    const UINT sides = operation & (SD_TOP | SD_LEFT | SD_RIGHT | SD_BOTTOM);
    x = ClampCoordinate(x);
    y = ClampCoordinate(y);
    cx = std::min<int>(cx, kMaxCoordinate);
    cy = std::min<int>(cy, kMaxCoordinate);
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
}

// Hands a bar to another frame: out of its former frame's site, its floating window re-owned.
// Returns the former frame, to be laid out once the bar has its new place.
CCtrlFrameFx* HandOver(CToolBarFx* bar, CCtrlFrameFx* frame) {
    CCtrlFrameFx* former = bar->frame;
    if (former && former->adoptedBar == bar) former->adoptedBar = nullptr;
    if (bar->dockSite) bar->dockSite->RemoveBar(bar);
    bar->dockSite = nullptr;
    bar->frame = frame;
    // A floating window belongs to its bar's frame: it must never keep the former one, which
    // may be detached and freed while the bar lives on.
    if (bar->miniFrame) bar->miniFrame->SetMiniFrameOwner(frame);
    return former;
}

}  // namespace

extern "C" int WINAPI SetDock(HWND window, HWND frameWindow, int x, int y, int cx, int cy, UINT barFlags,
                              DOCKSTATE* state, UINT operation) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    CCtrlFrameFx* frame = FindFrame(frameWindow);
    if ((operation & SD_FLAGS) && !AcceptableBarFlags(barFlags)) return 0;
    const bool docking = operation & (SD_ATTACH | SD_FLAGS);
    if (frame) {
        if (!bar && window == reinterpret_cast<HWND>(-1)) bar = frame->adoptedBar;
        if (!bar && ((operation & (SD_ATTACH | SD_FLAGS)) != (SD_ATTACH | SD_FLAGS) || !IsOwnWindow(window) ||
                     !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD) || CannotBeBar(frame, window)))
            return 0;
        if (bar && (bar->hwnd == frame->hwnd || IsChild(bar->hwnd, frame->hwnd))) return 0;
    } else {
        if ((operation & SD_ATTACH) || !bar) return 0;
        frame = bar->frame;
        if (docking && !frame) return 0;  // a stand-alone toolbar has no frame to dock in
    }
    Hold<CCtrlFrameFx> frameHold(frame);

    bool made = false;
    if (!bar) {
        bar = CToolBarFx::Create(frame, window, static_cast<UINT>(GetDlgCtrlID(window)));
        if (!bar) return 0;
        bar->state = state;
        made = true;
    }
    Hold<CToolBarFx> barHold(bar);
    const UINT newFlags = (operation & SD_FLAGS) ? barFlags : bar->flags;

    // What can fail comes first, so that a refusal leaves the bar where it was: a floating
    // window for a bar about to float, and room in the list of the site it goes to.
    CMiniFrameFx* spare = nullptr;
    if (docking) {
        CDockSiteFx* site = frame->dockSites[SideIndex(newFlags)];
        bool ready = site != nullptr;
        if (ready && (newFlags & BFX_FLOATING) && !bar->miniFrame) ready = (spare = CMiniFrameFx::Create(frame));
        const bool joinsSite = bar->frame != frame || bar->dockSite != site;
        if (ready && joinsSite && !((newFlags & BFX_FLOATING) && bar->frame == frame && bar->dockSite))
            ready = site->ReserveBar();
        if (!ready || !barHold.Alive() || !frameHold.Alive()) {
            CMiniFrameFx::Release(spare);
            if (made) DiscardBar(bar, FXS_DETACH);
            return 0;
        }
    }

    CCtrlFrameFx* former = bar->frame != frame ? HandOver(bar, frame) : nullptr;
    Hold<CCtrlFrameFx> formerHold(former);
    if (operation & SD_FLAGS) bar->flags = barFlags;
    StorePlace(bar, x, y, cx, cy, operation);

    int result = 1;
    if (docking) {
        if (spare) {
            spare->frame = frame;
            bar->miniFrame = spare;
        }
        const bool placed = (bar->flags & BFX_FLOATING) ? frame->FloatBar(bar) : frame->DockBarInSite(bar, nullptr);
        if (!placed) result = 0;  // room was reserved: only a host that released the bar meanwhile
        if (frameHold.Alive() && (operation & SD_RECALC)) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    } else if (operation & SD_RECALC) {
        const UINT sides = operation & (SD_TOP | SD_LEFT | SD_RIGHT | SD_BOTTOM);
        if (sides) {
            if ((bar->flags & sides) && bar->dockSite) {
                bar->dockSite->PlaceBar(bar);
                if (frame) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
            }
        } else if ((operation & SD_FLOAT) && bar->miniFrame) {
            bar->miniFrame->SizeMiniFrame(0x0C06, nullptr);
        }
    }
    if (formerHold.Alive()) former->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return barHold.Alive() ? result : 0;
}

extern "C" int WINAPI UnDock(HWND window) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    if (!bar) return 0;
    DiscardBar(bar, FXS_DETACH, bar->frame);
    return 1;
}
