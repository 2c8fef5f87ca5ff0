// Subclassing that survives any order of giving windows back. One window may run several of the
// library's procedures (a frame that is also a bar, an extended control that is a bar) and the
// host's own subclasses in between. A library procedure runs at most once on a window; one taken
// away from under another subclass leaves the chain where it is, never by writing an older
// procedure over the newer ones: a library object above it gets its previous procedure, and
// under anyone else's subclass it stays in the chain as a pass-through to what it had.
#pragma once

#include <windows.h>

#include "core/registry.h"

namespace varnex {

// Installs `proc` on the record's window and keeps the procedure it replaces in prevProc (a
// pass-through of `proc` left on the window is taken up again instead). False, with nothing
// changed, when the window runs `proc` already.
bool InstallWindowProc(WindowRecord* record, WNDPROC proc);
// Takes the record's `proc` out of the window's chain.
void RemoveWindowProc(const WindowRecord* record, WNDPROC proc);
// The window runs `proc`: on top, or under one of the library's own procedures.
bool WindowRuns(HWND hwnd, WNDPROC proc);
// Where a pass-through of `proc` left on the window sends messages, or null.
WNDPROC PassThroughOf(HWND hwnd, WNDPROC proc);
// For a procedure that finds no object of its own on a window: hands the message on through the
// pass-through of `proc` left there, if there is one, and stores the result. A pass-through found
// on top of the chain again (the subclass above it went) leaves the chain first; the window's
// last message ends it too.
bool CallPassThrough(HWND hwnd, WNDPROC proc, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

// The record of the frame part (client pane, status bar or dock site) that `hwnd` is, or null.
// Defined with the frame manager, which owns the parts.
WindowRecord* FramePartRecord(HWND hwnd);

}  // namespace varnex
