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
    const UINT sides = flags & kBarSides;
    if (!sides || !(flags & (sides << 4))) return false;
    return !(flags & BFX_FLOATING) || (flags & BFX_FLOATABLE);
}

}  // namespace

namespace {

// The bar SetDock acts on and the frame it goes to, or false when the call is refused.
bool FindBarAndFrame(HWND window, HWND frameWindow, UINT operation, CToolBarFx** bar, CDockFrameFx** frame) {
    *bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    CCtrlFrameFx* manager = FindFrame(frameWindow);
    const bool docking = operation & (SD_ATTACH | SD_FLAGS);
    if (!manager) {
        if ((operation & SD_ATTACH) || !*bar) return false;
        *frame = (*bar)->frame;
        return !docking || *frame;  // a stand-alone toolbar has no frame to dock in
    }
    *frame = manager;
    if (!*bar && window == reinterpret_cast<HWND>(-1)) *bar = manager->adoptedBar;
    if (!*bar && ((operation & (SD_ATTACH | SD_FLAGS)) != (SD_ATTACH | SD_FLAGS) || !IsOwnWindow(window) ||
                  !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD) || CannotBeBar(manager, window)))
        return false;
    return !*bar || !((*bar)->hwnd == manager->hwnd || IsChild((*bar)->hwnd, manager->hwnd));
}

// What can fail comes first, so that a refusal leaves the bar where it was: a floating window
// for a bar about to float (in `spare`), and room in the list of the site it goes to.
bool ReserveRoom(CToolBarFx* bar, CDockFrameFx* frame, UINT newFlags, CMiniFrameFx** spare) {
    CDockSiteFx* site = frame->dockSites[SideIndex(newFlags)];
    if (!site) return false;
    if ((newFlags & BFX_FLOATING) && !bar->miniFrame && !(*spare = CMiniFrameFx::Create(frame))) return false;
    const bool joinsSite = bar->frame != frame || bar->dockSite != site;
    const bool floatsInPlace = (newFlags & BFX_FLOATING) && bar->frame == frame && bar->dockSite;
    return !joinsSite || floatsInPlace || site->ReserveBar();
}

// Docks or floats the bar where its flags say; 0 when it could not be placed.
int PlaceBar(CToolBarFx* bar, CDockFrameFx* frame, CMiniFrameFx* spare, UINT operation) {
    Hold<CDockFrameFx> frameHold(frame);
    if (spare) {
        spare->frame = frame;
        bar->miniFrame = spare;
    }
    const bool placed = (bar->flags & BFX_FLOATING) ? frame->FloatBar(bar) : frame->DockBarInSite(bar, nullptr);
    if (frameHold.Alive() && (operation & SD_RECALC)) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return placed ? 1 : 0;  // room was reserved: only a host that released the bar meanwhile
}

// SD_RECALC without docking: the bar placed again where it is, if the side asked is its own.
void PlaceAgain(CToolBarFx* bar, CDockFrameFx* frame, UINT operation) {
    const UINT sides = operation & (SD_TOP | SD_LEFT | SD_RIGHT | SD_BOTTOM);
    if (sides) {
        if ((bar->flags & sides) && bar->dockSite) {
            bar->dockSite->PlaceBar(bar);
            if (frame) frame->RecalcLayout(LAYOUT_DEFAULT, nullptr);
        }
    } else if ((operation & SD_FLOAT) && bar->miniFrame) {
        bar->miniFrame->SizeMiniFrame(kSizeAndMove, nullptr);
    }
}

}  // namespace

extern "C" int WINAPI SetDock(HWND window, HWND frameWindow, int x, int y, int cx, int cy, UINT barFlags,
                              DOCKSTATE* state, UINT operation) {
    if ((operation & SD_FLAGS) && !AcceptableBarFlags(barFlags)) return 0;
    CToolBarFx* bar = nullptr;
    CDockFrameFx* frame = nullptr;
    if (!FindBarAndFrame(window, frameWindow, operation, &bar, &frame)) return 0;
    Hold<CDockFrameFx> frameHold(frame);
    const bool made = !bar;
    if (made) {
        bar = CToolBarFx::Create(frame, window, static_cast<UINT>(GetDlgCtrlID(window)));
        if (!bar) return 0;
        bar->state = state;
    }
    Hold<CToolBarFx> barHold(bar);
    const bool docking = operation & (SD_ATTACH | SD_FLAGS);
    CMiniFrameFx* spare = nullptr;
    if (docking) {
        const UINT newFlags = (operation & SD_FLAGS) ? barFlags : bar->flags;
        const bool ready = ReserveRoom(bar, frame, newFlags, &spare);
        if (!ready || !barHold.Alive() || !frameHold.Alive()) {
            CMiniFrameFx::Release(spare);
            if (made) DiscardBar(bar, FXS_DETACH);
            return 0;
        }
    }
    CDockFrameFx* former = bar->frame != frame ? bar->HandOver(frame) : nullptr;
    Hold<CDockFrameFx> formerHold(former);
    if (operation & SD_FLAGS) bar->TakeFlags(barFlags);
    bar->StoreRequestedPlace(x, y, cx, cy, operation);
    int result = 1;
    if (docking)
        result = PlaceBar(bar, frame, spare, operation);
    else if (operation & SD_RECALC)
        PlaceAgain(bar, frame, operation);
    if (formerHold.Alive()) former->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return barHold.Alive() ? result : 0;
}

extern "C" int WINAPI UnDock(HWND window) {
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    if (!bar) return 0;
    DiscardBar(bar, FXS_DETACH, bar->frame);
    return 1;
}
