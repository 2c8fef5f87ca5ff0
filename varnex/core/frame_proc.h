// The frame procedure: one window procedure for a managed frame, its client pane, its status
// bar and its four dock sites.
#pragma once

#include <windows.h>

namespace varnex {

LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace varnex
