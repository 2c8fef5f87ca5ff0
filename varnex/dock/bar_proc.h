// The bar procedure: installed on bar windows, and for a short time on host toolbars (id 0xE800)
// created inside a managed frame.
#pragma once

#include <windows.h>

namespace varnex {

LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// A host toolbar created inside a managed frame is hidden and redirected to the bar procedure
// until its tooltip first asks which format to speak, or until it becomes a bar; its own
// procedure waits in GWL_USERDATA meanwhile.
void BeginToolBarRedirection(HWND toolbar);
// Gives a redirected toolbar its own procedure back; nothing for any other window. Done before a
// bar is attached, so that no bar ever records the bar procedure as its own previous procedure.
void EndToolBarRedirection(HWND hwnd);

}  // namespace varnex
