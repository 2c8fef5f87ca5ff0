#include "dock/bar_proc.h"

#include "core/registry.h"

namespace varnex {

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    // Without a bar object: a host toolbar redirected by the frame procedure at its creation.
    // Its own procedure waits in GWL_USERDATA until the first notify-format query, which ends
    // the redirection.
    if (message == WM_NOTIFYFORMAT && !GetPropA(hwnd, kBarProp)) {
        DestroyWindow(reinterpret_cast<HWND>(wParam));
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace varnex
