// Docking and undocking by the host: SetDock and UnDock.
#include "core/host.h"
#include "dock/dock_site.h"
#include "dock/mini_frame.h"
#include "dock/tool_bar.h"
#include "frame/frame_manager.h"
#include "varnex.h"

using namespace varnex;

namespace {

// The frame itself, a window that contains it, or one of the library's windows or any frame's
// parts cannot become a bar: docking it would put a window inside itself or take a window from
// under the layout that owns it.
bool CannotBeBar(const CDockFrameFx* frame, HWND window) {
    return window == frame->hwnd || IsChild(window, frame->hwnd) || IsLibraryOwned(window);
}

// Flags a host may give a bar: at least one side, one of them allowed, floating only if floatable.
bool AcceptableBarFlags(UINT flags) {
    const UINT sides = flags & 0xF0;
    if (!sides || !(flags & (sides << 4))) return false;
    return !(flags & BFX_FLOATING) || (flags & BFX_FLOATABLE);
}

}  // namespace

extern "C" int WINAPI SetDock(HWND window, HWND frameWindow, int x, int y, int cx, int cy, UINT barFlags,
                              DOCKSTATE* state, UINT operation) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    CDockFrameFx* frame = FindFrame(frameWindow);
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
    Hold<CDockFrameFx> frameHold(frame);

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

    CDockFrameFx* former = bar->frame != frame ? bar->HandOver(frame) : nullptr;
    Hold<CDockFrameFx> formerHold(former);
    if (operation & SD_FLAGS) bar->flags = barFlags;
    bar->StoreRequestedPlace(x, y, cx, cy, operation);

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
