#include "dock/toolbar_redirection.h"

#include <commctrl.h>

#include "core/host.h"
#include "core/registry.h"
#include "core/subclass.h"
#include "core/window_procs.h"

namespace varnex {

namespace {

// The redirected toolbar's own tooltip, which asks the toolbar which format to speak.
bool IsOwnToolTip(HWND toolbar, HWND asking) {
    if (!asking || !IsWindow(asking) || asking == toolbar) return false;
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(toolbar, GCLP_WNDPROC));
    return reinterpret_cast<HWND>(CallWindowProcA(classProc, toolbar, TB_GETTOOLTIPS, 0, 0)) == asking;
}

}  // namespace

void BeginToolBarRedirection(HWND toolbar) {
    SetWindowPos(toolbar, nullptr, 0, 0, 0, 0, kSwpHide);
    WindowRecord redirect{toolbar, 0, nullptr};
    if (IsWindow(toolbar) && InstallWindowProc(&redirect, BarWndProc))
        SetWindowLongPtrA(toolbar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(redirect.prevProc));
}

void EndToolBarRedirection(HWND hwnd) {
    // Redirected: the bar procedure in the chain, with no bar and no pass-through behind it.
    if (FindWindowRecord(hwnd, kBarProp) || PassThroughOf(hwnd, BarWndProc)) return;
    const WindowRecord redirect{hwnd, 0, reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))};
    if (WindowRuns(hwnd, BarWndProc)) RemoveWindowProc(&redirect, BarWndProc);
}

LRESULT RedirectedToolBarMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Its tooltip's first question ends the redirection, and the tooltip goes; nothing else of
    // the host's is ever destroyed.
    if (message == WM_NOTIFYFORMAT && lParam == NF_QUERY) {
        HWND asking = reinterpret_cast<HWND>(wParam);
        if (IsOwnToolTip(hwnd, asking)) DestroyWindow(asking);
        EndToolBarRedirection(hwnd);
        return 0;
    }
    // Meanwhile the toolbar control itself answers: buttons the host adds right away stay.
    const auto classProc = reinterpret_cast<WNDPROC>(GetClassLongPtrA(hwnd, GCLP_WNDPROC));
    return CallWindowProcA(classProc, hwnd, message, wParam, lParam);
}

}  // namespace varnex
