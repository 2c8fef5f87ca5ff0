#include "core/status_bar.h"

#include <commctrl.h>

#include "core/frame_manager.h"
#include "core/frame_proc.h"
#include "core/host.h"
#include "varnex.h"

namespace varnex {

CStatusBarFx::CStatusBarFx(CCtrlFrameFx* owner) {
    hwnd = GetDlgItem(owner->hwnd, kStatusBarId);
    flags = 0;
    prevProc = nullptr;
    frame = owner;
    visible = IsWindowVisible(hwnd);
    minHeight = 0;  // counted once a change shows the bar
    progress = nullptr;
    GetClientRect(hwnd, &barRect);
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
    prevProc = SubclassWindow(hwnd, FrameWndProc);
}

CStatusBarFx::~CStatusBarFx() {
    if (progress) {
        // Gone already when the status bar itself is being destroyed.
        if (IsWindow(progress->hwnd)) DestroyWindow(progress->hwnd);
        delete progress;
    }
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
        delete progress;
        progress = nullptr;
    }
    if (progress) return progress;
    auto* control = new CProgressFx{};
    control->statusBar = this;
    CreateFrameChild(control, WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH, 0, hwnd, kProgressId);
    if (!control->hwnd) {
        delete control;
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
    CStatusBarFx* bar = frame->statusBar;
    // The host frame shows the text in its status bar.
    if ((flags & SSB_TEXT) && text)
        CallPrevWindowProc(frame, kWmSetMessageString, 0, reinterpret_cast<LPARAM>(text));
    if (!(flags & SSB_PROGRESS)) return 1;

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
