// The bar procedure: installed on bar windows, and for a short time on host toolbars (id 0xE800)
// created inside a managed frame.
#pragma once

#include <windows.h>

namespace varnex {

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Gives a host toolbar redirected at its creation its own procedure back (kept in GWL_USERDATA);
// nothing for any other window. Done before a bar is attached, so that no bar ever records the
// bar procedure as its own previous procedure.
void EndToolBarRedirection(HWND hwnd);

}  // namespace varnex
