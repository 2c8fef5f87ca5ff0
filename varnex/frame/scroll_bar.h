// The frame scroll bars of a client pane: the pane's content (its child windows) may reach
// beyond the pane, and scrolling moves the children.
#pragma once

#include <windows.h>

namespace varnex {

struct CClientPaneFx;

struct CScrollBarFx {
    BYTE kind;            // SB_HORZ or SB_VERT
    LONG lineStep = 10;   // one line step, in pixels
    SCROLLINFO info{};    // the library's copy of the bar's state; nPos in content pixels
    BOOL shown = TRUE;    // the bar is needed: its range exceeds the page
    CClientPaneFx* pane;

    CScrollBarFx(CClientPaneFx* owner, int barKind);

    // Range, position and line step from SetScrollBar; `content` is the rectangle of the pane's
    // content (visible children or the focus window) in pane client coordinates.
    void Configure(int start, int end, int position, int line, UINT flags, const RECT& content);
    // Fits the bar to a visible length; returns how far the content must move back.
    LONG Fit(LONG length, bool needed);
    // WM_HSCROLL / WM_VSCROLL command word.
    void Command(WPARAM command);
    // Scrolls the content back to its origin and hides the bar.
    void TakeDown();
    // The content reaches beyond `length` or before the origin.
    bool Exceeds(LONG length) const;

private:
    // Moves to `position` (already clamped): content, library copy and system bar.
    void ScrollTo(int position, UINT mask);
    int Clamp(int position) const;
};

// Moves the pane's content by (dx, dy).
void ScrollPaneContent(CClientPaneFx* pane, int dx, int dy);
// The layout step: fits the pane's bars into the remaining size; `remaining` is not changed.
void FitScrollBars(CClientPaneFx* pane, UINT request, SIZE remaining);

}  // namespace varnex
