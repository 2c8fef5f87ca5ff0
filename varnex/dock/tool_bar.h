// A dockable bar: the object attached to a host child window (as a rule a toolbar) so that it can
// dock in rows along a frame's sides or float. It remembers everything the library changed on the
// window so that the window can be given back as it was found.
#pragma once

#include <windows.h>

#include "core/registry.h"
#include "varnex.h"

namespace varnex {

struct CCtrlFrameFx;
struct CDockSiteFx;
struct CMiniFrameFx;
struct CDragTrackerFx;

constexpr UINT kAdoptedBarId = 0xE799;  // marks the adopted "Standard" toolbar

struct CToolBarFx : WindowRecord {
    RECT dockRect;      // in the dock site's client coordinates
    POINT dockPos;      // requested docked position: row (y) and offset (x) in a horizontal site
    POINT floatPos;     // top-left of the floating window, screen coordinates
    SIZE naturalSize;
    SIZE horzSize;
    SIZE vertSize;      // a 0 component falls back to horzSize's
    SIZE floatSize;     // likewise
    BOOL isToolBar;
    BOOL isMainToolBar;
    LONG menuCommand;
    HWND toolTip;
    HWND notifyWnd;
    RECT origRect;      // window rectangle at attach, in the original parent's client coordinates
    DWORD origStyle;
    DWORD origExStyle;
    HWND origParent;
    WNDPROC classProc;
    DOCKSTATE* state;
    CCtrlFrameFx* frame;
    CDockSiteFx* dockSite;
    CMiniFrameFx* miniFrame;
    CDragTrackerFx* tracker;

    CToolBarFx(CCtrlFrameFx* owner, HWND window, UINT childId);

    // Removes the property and what the bar owns; neither restores the window nor frees the block.
    void ReleaseBar();
    // Puts the previous procedure back; with FXS_DETACH also parent, styles and rectangle.
    void RestoreBar(int code);
    void GetBarSize(UINT mode, SIZE* size) const;
    BOOL FitToolBar(UINT mode, SIZE* size);
    void MeasureToolBar();
    // Tells the host's state record where the bar is, and re-measures a toolbar.
    void RefreshBar();
    void SetConstrained(bool on) { flags = on ? flags | BFX_CONSTRAINED : flags & ~BFX_CONSTRAINED; }
    bool IsFloating() const { return flags & BFX_FLOATING; }
    bool IsBarVisible() const { return !(flags & BFX_HIDDEN); }
    LRESULT CallClassProc(UINT message, WPARAM wParam, LPARAM lParam) const {
        return CallWindowProcA(classProc, hwnd, message, wParam, lParam);
    }
};

// Gives a bar back completely and frees it: the way out of UnDock and of a frame's detach.
void DiscardBar(CToolBarFx* bar, int code);

}  // namespace varnex
