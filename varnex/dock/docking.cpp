// Docking: a bar put into its frame's site or floated, handed to another frame, placed where the
// host asks.
#include <algorithm>

#include "dock/dock_frame.h"
#include "core/host.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/mini_frame.h"
#include "varnex.h"

namespace varnex {

bool CDockFrameFx::DockBarInSite(CToolBarFx* bar, CDockSiteFx* site) {
    if (!site) site = dockSites[SideIndex(bar->flags)];
    return site && site->AddBar(bar);
}

bool CDockFrameFx::FloatBar(CToolBarFx* bar) {
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

namespace {

// Coordinates and sizes a host may hand over: anything further out than a window can be would
// overflow the layout's sums.
int ClampCoordinate(int value) { return std::clamp<int>(value, -kMaxCoordinate - 1, kMaxCoordinate); }

}  // namespace

void CToolBarFx::StoreRequestedPlace(int x, int y, int cx, int cy, UINT operation) {
    const UINT sides = operation & (SD_TOP | SD_LEFT | SD_RIGHT | SD_BOTTOM);
    x = ClampCoordinate(x);
    y = ClampCoordinate(y);
    cx = std::min<int>(cx, kMaxCoordinate);
    cy = std::min<int>(cy, kMaxCoordinate);
    if (operation & SD_POSITION) {
        if (sides) {
            dockRect.left = x;
            dockRect.top = y;
            dockPos = {x > 0 ? x : 0, y > 0 ? y : 0};
        } else if (operation & SD_FLOAT) {
            floatPos = {x, y};
        }
    }
    if (operation & SD_SIZE) {
        SIZE* stored = nullptr;
        if (operation & SD_FLOAT)
            stored = &floatSize;
        else if ((operation & (SD_TOP | SD_BOTTOM)) || (flags & BFX_ROTATE))
            stored = &horzSize;
        else if (operation & (SD_LEFT | SD_RIGHT))
            stored = &vertSize;
        if (stored) {
            if (cx > 0) stored->cx = cx;
            if (cy > 0) stored->cy = cy;
        }
    }
}

CDockFrameFx* CToolBarFx::HandOver(CDockFrameFx* to) {
    CDockFrameFx* former = frame;
    if (former && former->adoptedBar == this) former->adoptedBar = nullptr;
    if (dockSite) dockSite->RemoveBar(this);
    dockSite = nullptr;
    frame = to;
    // A floating window belongs to its bar's frame: it must never keep the former one, which
    // may be detached and freed while the bar lives on.
    if (miniFrame) miniFrame->SetMiniFrameOwner(to);
    return former;
}

void CToolBarFx::PutBackDockedPlace(const DockedPlace& place) {
    dockRect = place.dockRect;
    dockPos = place.dockPos;
    horzSize = place.horzSize;
    vertSize = place.vertSize;
}

void CToolBarFx::SetDockedRect(const RECT& rect) {
    dockRect = rect;
    dockPos = {std::max(rect.left, 0L), std::max(rect.top, 0L)};
}

void CToolBarFx::SetFloatingPlace(POINT position, const SIZE* clientSize) {
    floatPos = position;
    if (clientSize) floatSize = *clientSize;
}

}  // namespace varnex
