#include "core/frame_manager.h"

#include "core/client_pane.h"
#include "core/frame_proc.h"
#include "core/host.h"
#include "core/status_bar.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "varnex.h"

namespace varnex {

CCtrlFrameFx::CCtrlFrameFx(HWND frame, UINT attachFlags) {
    hwnd = frame;
    flags = attachFlags;
    prevProc = nullptr;
    isChild = 0;
    ownedActivation = FALSE;
    adoptedBar = nullptr;
    statusBar = nullptr;
    clientPane = nullptr;
    GetWindowRect(frame, &attachRect);

    AttachWindowObject(this, kFrameProp);
    prevProc = SubclassWindow(frame, FrameWndProc);

    clientPane = new CClientPaneFx(this);
    dockSites.assign(kSiteCount, nullptr);
    for (int i = 0; i < kSiteCount; ++i) {
        dockSites[i] = new CDockSiteFx(this, kFirstSiteId + i);
        if (!(flags & AF_MDIFRAME) || adoptedBar) continue;
        // The host's "Standard" toolbar in an MDI frame's dock bar becomes a bar of that side.
        HWND standard = FindWindowExA(dockSites[i]->hwnd, nullptr, nullptr, "Standard");
        if (!standard || GetPropA(standard, kBarProp)) continue;  // already another frame's bar
        adoptedBar = NewWindowObject<CToolBarFx>(this, standard, kAdoptedBarId);
        if (!adoptedBar) continue;
        adoptedBar->flags = (((8u << i) | 0x10613780u) << 1) | (flags & AF_MERGEBORDERS);
        DockBarInSite(adoptedBar, dockSites[i]);
    }
    RaiseWindowObject(clientPane, HWND_TOP);
    if (GetDlgItem(frame, kStatusBarId)) statusBar = new CStatusBarFx(this);
}

namespace {

// Bars handed to a frame but docked in none of its sites are in no list the frame can walk;
// they are found through their windows.
struct StrayBars {
    CCtrlFrameFx* frame;
    std::vector<CToolBarFx*> found;
};

BOOL CALLBACK FindStrayBar(HWND hwnd, LPARAM context) {
    auto* strays = reinterpret_cast<StrayBars*>(context);
    if (CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(hwnd, kBarProp); bar && bar->frame == strays->frame)
        strays->found.push_back(bar);
    return TRUE;
}

BOOL CALLBACK FindStrayBarsIn(HWND hwnd, LPARAM context) {
    FindStrayBar(hwnd, context);
    EnumChildWindows(hwnd, FindStrayBar, context);
    return TRUE;
}

}  // namespace

void CCtrlFrameFx::GiveBackStrayBars(int code) {
    StrayBars strays{this, {}};
    EnumThreadWindows(GetCurrentThreadId(), FindStrayBarsIn, reinterpret_cast<LPARAM>(&strays));
    // A bar whose window lives outside this frame outlives it: give it back whole, even when the
    // frame is being destroyed.
    for (CToolBarFx* bar : strays.found) DiscardBar(bar, IsChild(hwnd, bar->hwnd) ? code : FXS_DETACH);
}

CCtrlFrameFx::~CCtrlFrameFx() {
    RemovePropA(hwnd, kFrameProp);
    delete clientPane;
    delete statusBar;
}

bool CCtrlFrameFx::HasVisibleStatusBar() const {
    return (flags & AF_MDIFRAME) && statusBar && statusBar->visible;
}

void CCtrlFrameFx::BroadcastFrameState(int code) {
    for (CDockSiteFx*& site : dockSites) {
        if (!site) continue;
        if (code == FXS_DETACH || code == FXS_DESTROY) {
            site->DetachSite(code);
            delete site;
            site = nullptr;  // no pointer to a deleted site survives
        } else if (code >= FXS_ACTIVE && code <= FXS_MINIMIZE) {
            site->NotifyBars(code);
        }
    }
}

void CCtrlFrameFx::Detach(int code) {
    BroadcastFrameState(code);
    GiveBackStrayBars(code);
    clientPane->Detach();
    if (statusBar) RestoreWindowProc(statusBar);
    RestoreWindowProc(this);
    if (code & 3) {
        // The host learns its attach-time rectangle again, straight from its own procedure.
        WINDOWPOS pos{hwnd, nullptr, attachRect.left, attachRect.top,
                      attachRect.right - attachRect.left, attachRect.bottom - attachRect.top,
                      SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOSIZE};
        CallPrevWindowProc(this, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
    }
}

void CCtrlFrameFx::Release(CCtrlFrameFx* frame, int code) {
    frame->Detach(code);
    DeleteWindowObject(frame);
}

CCtrlFrameFx* FrameOfChild(HWND child) {
    HWND parent = GetParent(child);
    return parent ? GetWindowObjectAs<CCtrlFrameFx>(parent, kFrameProp) : nullptr;
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
        if ((manager->flags & attachFlags & AF_KINDMASK) == 0) return 0;  // the kind may not change
        manager->flags = attachFlags;
    } else {
        if (!IsOwnWindow(frame)) return 0;
        const UINT child = GetWindowLongA(frame, GWL_STYLE) & WS_CHILD;
        if (!AcceptsKind(frame, attachFlags, child != 0)) return 0;
        manager = NewWindowObject<CCtrlFrameFx>(frame, attachFlags);
        if (!manager) return 0;
        manager->isChild = child;
    }

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
    manager->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 1;
}

extern "C" int WINAPI DetachFrame(HWND frame) {
    CCtrlFrameFx* manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    if (!manager) return 0;
    CCtrlFrameFx::Release(manager, FXS_DETACH);
    return 1;
}

extern "C" int WINAPI RecalcFrame(HWND frame) {
    CCtrlFrameFx* manager = GetWindowObjectAs<CCtrlFrameFx>(frame, kFrameProp);
    if (!manager) return 0;
    manager->RecalcLayout(LAYOUT_DEFAULT, nullptr);
    return 1;
}
