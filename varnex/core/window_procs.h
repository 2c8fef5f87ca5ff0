// The library's window procedures, one for each kind of window it takes over. Every layer
// installs them on the windows it takes over, as a window class names its procedure; procs/
// defines them, and each hands a message to the handler of the layer that owns the window.
#pragma once

#include <windows.h>

namespace varnex {

// Frames, and their parts: client pane, dock sites, status bar.
LRESULT CALLBACK FrameWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Bars, and main toolbars redirected at their creation.
LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Floating windows.
LRESULT CALLBACK MiniFrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace varnex
