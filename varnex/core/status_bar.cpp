#include "core/status_bar.h"

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
        DestroyWindow(progress->hwnd);
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

}  // namespace varnex
