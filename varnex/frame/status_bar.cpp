#include "frame/status_bar.h"

#include <commctrl.h>

#include "frame/frame_manager.h"
#include "core/window_procs.h"
#include "core/host.h"
#include "core/memory.h"
#include "core/subclass.h"
#include "varnex.h"

namespace varnex {

bool CStatusBarFx::Attach() {
    hwnd = GetDlgItem(frame->hwnd, kStatusBarId);
    visible = IsWindowVisible(hwnd);
    GetClientRect(hwnd, &barRect);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    if (!InstallWindowProc(this, FrameWndProc)) return false;
    subclassed = TRUE;
    return true;
}

void CStatusBarFx::Detach() {
    DestroyProgress();
    if (subclassed) {
        RemoveWindowProc(this, FrameWndProc);
        subclassed = FALSE;
    }
}

CStatusBarFx::~CStatusBarFx() { DestroyProgress(); }

void CStatusBarFx::DestroyProgress() {
    if (!progress) return;
    CProgressFx* control = progress;
    progress = nullptr;
    // Gone already when the status bar itself is being destroyed.
    if (IsWindow(control->hwnd)) DestroyWindow(control->hwnd);
    Delete(control);
}

void CStatusBarFx::OnPosChanging(const WINDOWPOS* pos) {
    if (pos->flags & SWP_SHOWWINDOW) {
        visible = TRUE;
        minHeight = Height();
        frame->RecalcLayout(LAYOUT_QUERYZOOM | LAYOUT_COMPUTE, nullptr);
    } else if (pos->flags & SWP_HIDEWINDOW) {
        visible = FALSE;
        minHeight = 0;
        frame->RecalcLayout(LAYOUT_QUERYZOOM | LAYOUT_COMPUTE, nullptr);
    } else if (!(pos->flags & SWP_NOSIZE)) {
        barRect.right = pos->cx;
        barRect.bottom = pos->cy;
    }
}

void CStatusBarFx::PlaceProgress(LONG clientWidth) {
    if (!progress) return;
    SetWindowPos(progress->hwnd, nullptr, clientWidth - 561, 2, 170, Height() - 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

CProgressFx* CStatusBarFx::Progress() {
    // A control that someone else destroyed is made again rather than called with a dead handle.
    if (progress && !(IsWindow(progress->hwnd) && GetParent(progress->hwnd) == hwnd)) {
        Delete(progress);
        progress = nullptr;
    }
    if (progress) return progress;
    auto* control = New<CProgressFx>();
    if (!control) return nullptr;
    control->statusBar = this;
    if (!CreateFrameChild(control, WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH, 0, hwnd, kProgressId)) {
        Delete(control);
        return nullptr;
    }
    // Not subclassed: its own procedure is called directly.
    control->prevProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(control->hwnd, GWLP_WNDPROC));
    control->visible = FALSE;
    progress = control;
    RECT client;
    GetClientRect(frame->hwnd, &client);
    PlaceProgress(client.right);
    return progress;
}

void CStatusBarFx::ShowProgress(bool show) {
    if (!progress || progress->visible == static_cast<BOOL>(show)) return;
    progress->visible = show;
    SetWindowPos(progress->hwnd, nullptr, 0, 0, 0, 0, show ? kSwpShow : kSwpHide);
}

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI SetStatusBar(HWND window, int rangeLow, int rangeHigh, int position, LPCSTR text,
                                   UINT flags) {
    CCtrlFrameFx* frame = FrameOfChild(window);
    if (!frame || !frame->statusBar) return 0;
    Hold<CCtrlFrameFx> hold(frame);
    // The host frame shows the text in its status bar.
    if ((flags & SSB_TEXT) && text) {
        CallPrevWindowProc(frame, kWmSetMessageString, 0, reinterpret_cast<LPARAM>(text));
        if (!hold.Alive()) return 0;
    }
    if (!(flags & SSB_PROGRESS)) return 1;
    CStatusBarFx* bar = frame->statusBar;

    CProgressFx* progress = bar->Progress();
    if (!progress) return 0;
    // Each bound is cut to 16 bits, as the message carries them.
    if (flags & SSB_RANGE)
        CallPrevWindowProc(progress, PBM_SETRANGE, 0, MAKELPARAM(LOWORD(rangeLow), LOWORD(rangeHigh)));
    if (flags & SSB_POS) CallPrevWindowProc(progress, PBM_SETPOS, static_cast<WPARAM>(position), 0);
    if (flags & SSB_SHOW)
        bar->ShowProgress(true);
    else if (flags & SSB_HIDE)
        bar->ShowProgress(false);
    return 1;
}
