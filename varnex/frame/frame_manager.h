// The frame manager: attached to a host frame by AttachFrame, it owns the client pane, the four
// dock sites and the status bar object, subclasses them with the frame procedure, and lays the
// frame's client area out itself.
#pragma once

#include <windows.h>

#include "core/registry.h"
#include "dock/dock_frame.h"
#include "varnex.h"

namespace varnex {

struct CClientPaneFx;
struct CStatusBarFx;
struct CDockSiteFx;
struct CToolBarFx;

// What GetTrackSize measures.
constexpr UINT kTrackMinimum = 0x400;
constexpr UINT kTrackMaximum = 0x800;

struct CCtrlFrameFx : CDockFrameFx {
    BOOL ownedActivation = FALSE;      // an owned window of an MDI frame holds the activation
    BOOL minimized = FALSE;            // a top-level frame is minimized: its floating windows hid
    BOOL subclassed = FALSE;           // the frame procedure is on the frame
    RECT attachRect{};                 // window rectangle at attach, given back on detach
    CStatusBarFx* statusBar = nullptr;
    CClientPaneFx* clientPane = nullptr;

    CCtrlFrameFx(HWND frame, UINT attachFlags);
    ~CCtrlFrameFx();  // deletes the parts (given back by Detach)

    // Attaches a frame manager to the frame: every part found or made and subclassed, the
    // "Standard" toolbar adopted. Null, with everything given back, when a window cannot be made,
    // memory is short, or the host released the frame meanwhile.
    static CCtrlFrameFx* Create(HWND frame, UINT attachFlags, UINT child);
    // Ends the frame manager: marked released, parts given back with `code` (FXS_DETACH: bars,
    // sites and windows as they were found; FXS_DESTROY: the frame is going, procedures only),
    // the attach-time rectangle handed to the host when `tellHost`, then unregistered and freed
    // once nothing holds it.
    static void Release(CCtrlFrameFx* frame, int code, bool tellHost);
    // The frame's own WM_DESTROY: everything given back before the host hears of the end, and
    // no export finds the frame manager from then on (a host detaching in its own WM_DESTROY
    // gets 0); the property goes after the host's handling, the block when nothing holds it.
    static LRESULT OnDestroy(CCtrlFrameFx* frame, UINT message, WPARAM wParam, LPARAM lParam);

    UINT Kind() const { return flags & AF_KINDMASK; }
    bool Usable() const { return ready && !released; }
    bool HasVisibleStatusBar() const;
    // Is `hwnd` one of the frame's parts (pane, status bar, a dock site) or the progress control?
    bool IsPart(HWND hwnd) const;

    // FXS_ACTIVE to FXS_MINIMIZE for the dock sites' bars; other codes do nothing.
    void BroadcastFrameState(int code);

    // Layout (frame_layout.cpp). The frame's own code calls it directly; bars and sites reach it
    // through CDockFrameFx::RecalcLayout.
    void RecalcLayout(UINT request, const RECT* rect);
    void ApplyLayout(const RECT* rect);
    void GetTrackSize(UINT selector, SIZE* out);
    // The client pane's part of GetTrackSize: its own minimum or maximum size.
    void GetPaneTrackSize(UINT selector, SIZE* out);
    void LimitSizingRect(UINT edge, RECT* dragged);
    void AdjustPanePos(WINDOWPOS* pos);

private:
    bool AttachParts();
    // False when a toolbar to adopt could not be made a bar.
    bool AdoptStandardToolBar(int siteIndex);
    // The steps of RecalcLayout; false when there is nothing more to do (or the host released
    // the frame meanwhile).
    bool ChooseWorkRect(UINT* request, const RECT* rect, RECT* work);
    bool ComputeLayout(UINT request, RECT* work);
    void RecordRestoredClient(SIZE remaining);
    bool FitFrameAround(UINT request, const RECT& client);
    // Gives every part back; FXS_DETACH also gives bars and created windows back whole.
    void Detach(int code, bool tellHost);
    // Gives back the bars handed to this frame that sit in none of its sites.
    void GiveBackStrayBars(int code);
};

// Every frame a bar or site knows is a frame manager.
inline CCtrlFrameFx* FrameManagerOf(CDockFrameFx* frame) { return static_cast<CCtrlFrameFx*>(frame); }

// The frame manager of a frame, attached and usable, or null.
CCtrlFrameFx* FindFrame(HWND frame);
// Frame manager of the frame that owns `child` (its parent), or null.
CCtrlFrameFx* FrameOfChild(HWND child);
// The same while it is being released, for the frame procedure on the frame's parts.
CCtrlFrameFx* FrameOfPart(HWND part);
// The record of the part `hwnd` is while the frame procedure is on it (pane, status bar, dock
// site), with its frame in `owner`; null for any other window.
WindowRecord* SubclassedPart(HWND hwnd, CCtrlFrameFx** owner);
// A window that belongs to the library or to a frame's layout: parts, progress controls and
// floating windows. Such a window is never made a frame or a bar.
bool IsLibraryOwned(HWND hwnd);

}  // namespace varnex
