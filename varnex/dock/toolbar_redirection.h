// A main toolbar the host creates in an attached frame is kept hidden until it becomes a bar
// (SetToolBar) or its tooltip first asks it anything: meanwhile the bar procedure sits on it and
// lets the toolbar control itself answer, past the host's subclass.
#pragma once

#include <windows.h>

namespace varnex {

void BeginToolBarRedirection(HWND toolbar);
// Ends it, if the toolbar is still redirected: the bar procedure leaves the chain.
void EndToolBarRedirection(HWND hwnd);
// What the bar procedure does with a message to a redirected toolbar.
LRESULT RedirectedToolBarMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace varnex
