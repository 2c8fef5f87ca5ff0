#include "frame/frame_manager.h"

#include "frame/client_pane.h"
#include "core/window_procs.h"
#include "core/host.h"
#include "core/memory.h"
#include "frame/status_bar.h"
#include "core/subclass.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "varnex.h"

namespace varnex {

namespace {

// The adopted "Standard" toolbar's flags besides its side: it may go anywhere and be sized, but
// is not movable until the host gives it flags. 0x20000000 has no name in varnex.h.
constexpr UINT kAdoptedBarFlags = 0x20000000u | BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM |
                                  BFX_SIZABLE | BFX_FLOATABLE | BFX_WRAPPABLE | BFX_SPACING | BFX_GRIPPER;
static_assert(kAdoptedBarFlags == (0x10613780u << 1));

void LayOutFrame(CDockFrameFx* frame, UINT request, const RECT* rect) {
    static_cast<CCtrlFrameFx*>(frame)->RecalcLayout(request, rect);
}

void DestroyFrame(CDockFrameFx* frame) { DeleteWindowObject(static_cast<CCtrlFrameFx*>(frame)); }

constexpr CDockFrameFx::Operations kFrameOperations{LayOutFrame, DestroyFrame};

}  // namespace

CCtrlFrameFx::CCtrlFrameFx(HWND frame, UINT attachFlags) : CDockFrameFx(&kFrameOperations) {
    hwnd = frame;
    flags = attachFlags;
    GetWindowRect(frame, &attachRect);
}

CCtrlFrameFx::~CCtrlFrameFx() {
    for (CDockSiteFx*& site : dockSites) {
        Delete(site);
        site = nullptr;
    }
    Delete(clientPane);
    Delete(statusBar);
}

CCtrlFrameFx* CCtrlFrameFx::Create(HWND frame, UINT attachFlags, UINT child) {
    if (IsWindowEnding(frame)) return nullptr;
    CCtrlFrameFx* manager = NewWindowObject<CCtrlFrameFx>(frame, attachFlags);
    if (!manager) return nullptr;
    manager->isChild = child;
    if (!AttachWindowObject(manager, kFrameProp)) {
        DeleteWindowObject(manager);
        return nullptr;
    }
    Hold<CCtrlFrameFx> hold(manager);
    if (manager->AttachParts()) {
        manager->ready = TRUE;
        return manager;
    }
    // Whatever was done is undone: parts given back, windows made destroyed, children home.
    // The host may have detached the frame from inside the attach (told of a part being made):
    // that release gave back what existed then, and what was made after it goes here.
    if (manager->released)
        manager->Detach(FXS_DETACH, false);
    else
        Release(manager, FXS_DETACH, false);
    return nullptr;
}

bool CCtrlFrameFx::AttachParts() {
    if (!InstallWindowProc(this, FrameWndProc)) return false;
    subclassed = TRUE;
    clientPane = New<CClientPaneFx>(this);
    if (!clientPane || !clientPane->Attach() || released) return false;
    for (int i = 0; i < kSiteCount; ++i) {
        dockSites[i] = New<CDockSiteFx>(this, kFirstSiteId + i);
        if (!dockSites[i] || !dockSites[i]->Attach() || released) return false;
        // The host's "Standard" toolbar in an MDI frame's dock bar becomes a bar of that side.
        if ((flags & AF_MDIFRAME) && !adoptedBar && !AdoptStandardToolBar(i)) return false;
        if (released) return false;
    }
    RaiseWindowObject(clientPane, HWND_TOP);
    if (GetDlgItem(hwnd, kStatusBarId)) {
        statusBar = New<CStatusBarFx>(this);
        if (!statusBar || !statusBar->Attach()) return false;
    }
    return !released;
}

bool CCtrlFrameFx::AdoptStandardToolBar(int siteIndex) {
    CDockSiteFx* site = dockSites[siteIndex];
    HWND standard = FindWindowExA(site->hwnd, nullptr, nullptr, "Standard");
    // Already another frame's bar, or one of the library's windows: nothing to adopt.
    if (!standard || FindWindowRecord(standard, kBarProp) || IsLibraryOwned(standard)) return true;
    CToolBarFx* bar = CToolBarFx::Create(this, standard, kAdoptedBarId);
    if (!bar) return false;
    // Merged borders give it the raised border: AF_MERGEBORDERS and BFX_RAISEDBORDER share a bit.
    static_assert(AF_MERGEBORDERS == BFX_RAISEDBORDER);
    bar->TakeFlags(kAdoptedBarFlags | (BFX_TOP << siteIndex) | (flags & AF_MERGEBORDERS));
    if (!DockBarInSite(bar, site)) {
        DiscardBar(bar, FXS_DETACH);
        return false;
    }
    adoptedBar = bar;
    return true;
}

namespace {

// A bar handed to a frame but docked in none of its sites is in no list the frame can walk; it
// is found through its window.
struct StraySearch {
    const CCtrlFrameFx* frame;
    CToolBarFx* found;
};

BOOL CALLBACK FindStrayBar(HWND hwnd, LPARAM context) {
    auto* search = reinterpret_cast<StraySearch*>(context);
    if (CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(hwnd, kBarProp); bar && bar->frame == search->frame) {
        search->found = bar;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindStrayBarIn(HWND hwnd, LPARAM context) {
    FindStrayBar(hwnd, context);
    auto* search = reinterpret_cast<StraySearch*>(context);
    if (!search->found) EnumChildWindows(hwnd, FindStrayBar, context);
    return search->found ? FALSE : TRUE;
}

}  // namespace

void CCtrlFrameFx::GiveBackStrayBars(int code) {
    // One at a time: giving a bar back changes the window tree being walked.
    for (;;) {
        StraySearch search{this, nullptr};
        EnumThreadWindows(GetCurrentThreadId(), FindStrayBarIn, reinterpret_cast<LPARAM>(&search));
        if (!search.found) return;
        // A bar whose window lives outside this frame outlives it: give it back whole, even when
        // the frame is being destroyed.
        DiscardBar(search.found, IsChild(hwnd, search.found->hwnd) ? code : FXS_DETACH);
    }
}

bool CCtrlFrameFx::HasVisibleStatusBar() const {
    return (flags & AF_MDIFRAME) && statusBar && statusBar->visible;
}

bool CCtrlFrameFx::IsPart(HWND window) const {
    if (!window) return false;
    if (clientPane && window == clientPane->hwnd) return true;
    if (statusBar && (window == statusBar->hwnd || (statusBar->progress && window == statusBar->progress->hwnd)))
        return true;
    for (const CDockSiteFx* site : dockSites)
        if (site && window == site->hwnd) return true;
    return false;
}

void CCtrlFrameFx::BroadcastFrameState(int code) {
    if (code < FXS_ACTIVE || code > FXS_MINIMIZE || !Usable()) return;
    Hold<CCtrlFrameFx> hold(this);
    for (CDockSiteFx* site : dockSites) {
        if (!hold.Alive()) return;
        if (site) site->NotifyBars(code);
    }
}

void CCtrlFrameFx::Detach(int code, bool tellHost) {
    // Each step may run host code; the frame is released already, so nothing the host calls
    // reaches it, and each part gives back only what it still has.
    for (CDockSiteFx* site : dockSites)
        if (site) site->DetachSite(code);
    GiveBackStrayBars(code);
    if (clientPane) clientPane->Detach();
    if (statusBar) statusBar->Detach();
    if (subclassed) {
        RemoveWindowProc(this, FrameWndProc);
        subclassed = FALSE;
    }
    if (tellHost && IsWindow(hwnd)) {
        // The host learns its attach-time rectangle again, straight from its own procedure.
        WINDOWPOS pos{hwnd, nullptr, attachRect.left, attachRect.top,
                      attachRect.right - attachRect.left, attachRect.bottom - attachRect.top,
                      SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE};
        CallPrevWindowProc(this, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
}

void CCtrlFrameFx::Release(CCtrlFrameFx* frame, int code, bool tellHost) {
    if (!BeginRelease(frame)) return;
    Hold<CCtrlFrameFx> hold(frame);
    frame->Detach(code, tellHost);
    EndRelease(frame, kFrameProp);
}

LRESULT CCtrlFrameFx::OnDestroy(CCtrlFrameFx* frame, UINT message, WPARAM wParam, LPARAM lParam) {
    Hold<CCtrlFrameFx> hold(frame);
    const bool mine = BeginRelease(frame);
    if (mine) frame->Detach(FXS_DESTROY, false);
    CallPrevWindowProc(frame, message, wParam, lParam);
    if (mine) EndRelease(frame, kFrameProp);
    return 0;
}

CCtrlFrameFx* FindFrame(HWND frame) {
    CCtrlFrameFx* manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    return manager && manager->ready ? manager : nullptr;
}

CCtrlFrameFx* FrameOfChild(HWND child) {
    HWND parent = GetParent(child);
    return parent ? FindFrame(parent) : nullptr;
}

CCtrlFrameFx* FrameOfPart(HWND part) {
    HWND parent = GetParent(part);
    return parent ? static_cast<CCtrlFrameFx*>(FindWindowRecord(parent, kFrameProp)) : nullptr;
}

WindowRecord* SubclassedPart(HWND hwnd, CCtrlFrameFx** owner) {
    CCtrlFrameFx* frame = FrameOfPart(hwnd);
    if (!frame) return nullptr;
    WindowRecord* part = nullptr;
    if (frame->clientPane && frame->clientPane->subclassed && frame->clientPane->hwnd == hwnd)
        part = frame->clientPane;
    else if (frame->statusBar && frame->statusBar->subclassed && frame->statusBar->hwnd == hwnd)
        part = frame->statusBar;
    for (CDockSiteFx* site : frame->dockSites)
        if (!part && site && site->subclassed && site->hwnd == hwnd) part = site;
    if (part && owner) *owner = frame;
    return part;
}

WindowRecord* FramePartRecord(HWND hwnd) { return SubclassedPart(hwnd, nullptr); }

bool IsLibraryOwned(HWND hwnd) {
    if (FindWindowRecord(hwnd, kMiniFrameProp) || IsWindowBeingMade(hwnd)) return true;
    // A part sits in its frame; the progress control one level further down, in the status bar.
    HWND up = GetParent(hwnd);
    for (int level = 0; up && level < 2; ++level, up = GetParent(up)) {
        const auto* frame = static_cast<const CCtrlFrameFx*>(FindWindowRecord(up, kFrameProp));
        if (frame && frame->IsPart(hwnd)) return true;
    }
    return false;
}

namespace {

// Which kind the window may be attached as: the first rule that matches decides.
bool AcceptsKind(HWND frame, UINT attachFlags, bool child) {
    if ((attachFlags & AF_MDIFRAME) && !child)
        return FindWindowExA(frame, nullptr, "MDIClient", nullptr) != nullptr;
    if ((attachFlags & AF_SDIFRAME) && !child) return GetDlgItem(frame, kPaneId) != nullptr;
    if ((attachFlags & AF_MDICHILD) && child)
        return (GetWindowLongA(frame, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
    return (attachFlags & AF_CHILDFRAME) && child;
}

DWORD WithBit(DWORD word, DWORD bit, bool on) { return on ? word | bit : word & ~bit; }

}  // namespace

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI AttachFrame(HWND frame, UINT attachFlags) {
    CCtrlFrameFx* manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    if (manager) {
        if (!manager->ready) return 0;  // still being attached, further up the stack
        if ((manager->flags & attachFlags & AF_KINDMASK) == 0) return 0;  // the kind may not change
        manager->flags = attachFlags;
    } else {
        if (!IsOwnWindow(frame) || IsLibraryOwned(frame)) return 0;
        const UINT child = GetWindowLongA(frame, GWL_STYLE) & WS_CHILD;
        if (!AcceptsKind(frame, attachFlags, child != 0)) return 0;
        manager = CCtrlFrameFx::Create(frame, attachFlags, child);
        if (!manager) return 0;
    }
    Hold<CCtrlFrameFx> hold(manager);

    DWORD style = GetWindowLongA(frame, GWL_STYLE);
    DWORD exStyle = GetWindowLongA(frame, GWL_EXSTYLE);
    style = WithBit(style, WS_MINIMIZEBOX, attachFlags & AF_MINIMIZEBOX);
    style = WithBit(style, WS_MAXIMIZEBOX, attachFlags & AF_MAXIMIZEBOX);
    style = WithBit(style, WS_THICKFRAME, attachFlags & AF_THICKFRAME);
    style = WithBit(style, WS_SYSMENU, attachFlags & AF_SYSMENU);
    exStyle = WithBit(exStyle, WS_EX_TOOLWINDOW, attachFlags & AF_TOOLWINDOW);
    if (!(style & WS_CHILD)) exStyle = WithBit(exStyle, WS_EX_TOPMOST, attachFlags & AF_TOPMOST);
    SetWindowLongA(frame, GWL_STYLE, style);
    SetWindowLongA(frame, GWL_EXSTYLE, exStyle);
    SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE);
    if (hold.Alive()) manager->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    // The host may have detached or destroyed the frame from inside any of these messages.
    return hold.Alive() ? 1 : 0;
}

extern "C" int WINAPI DetachFrame(HWND frame) {
    CCtrlFrameFx* manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    if (!manager) return 0;
    CCtrlFrameFx::Release(manager, FXS_DETACH, true);
    return 1;
}

extern "C" int WINAPI RecalcFrame(HWND frame) {
    CCtrlFrameFx* manager = FindFrame(frame);
    if (!manager) return 0;
    manager->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 1;
}
