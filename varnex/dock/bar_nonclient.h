// The non-client area of a bar that belongs to a frame manager (borders, sunken edge, spacing,
// caption or gripper: size, painting, hit codes) and its visibility, kept in step with the
// frame layout and with the bar's floating window.
#pragma once

#include <windows.h>

namespace varnex {

struct CToolBarFx;

// Width of the border on each side: 1 for a floating bar; 1 to 4 for a docked one.
int BarBorderWidth(const CToolBarFx* bar);
// Shrinks the window rectangle to the client rectangle.
void BarNcCalcSize(CToolBarFx* bar, RECT* rect);
void BarNcPaint(CToolBarFx* bar);
// lParam: a screen point, each coordinate a signed 16-bit value.
LRESULT BarNcHitTest(CToolBarFx* bar, LPARAM lParam);
void BarShowWindow(CToolBarFx* bar, BOOL show);
// May rewrite the flags of `pos` in place.
void BarPosChanging(CToolBarFx* bar, WINDOWPOS* pos);

}  // namespace varnex
