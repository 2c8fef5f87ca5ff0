// The bar procedure: installed on bar windows, and for a short time on host toolbars (id 0xE800)
// created inside a managed frame.
#pragma once

#include <windows.h>

namespace varnex {

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace varnex
