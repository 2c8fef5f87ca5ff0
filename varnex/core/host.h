// What the library relies on from its host framework: messages, records and class names.
#pragma once

#include <windows.h>

namespace varnex {

constexpr UINT kWmSizeParent = 0x0361;
constexpr UINT kWmSetMessageString = 0x0362;
constexpr UINT kWmFloatStatus = 0x036D;
constexpr UINT kWmFxRecalc = 0x054D;
constexpr UINT kWmFxState = 0x054E;

constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr UINT kProgressId = 0xE810;
constexpr UINT kPaneId = 0xE900;

// The framework's AFX_SIZEPARENTPARAMS.
struct SizeParentParams {
    HDWP hdwp;
    RECT rect;       // still free
    SIZE sizeTotal;  // not used here
    BOOL stretch;
};

// The largest window coordinate or size the system keeps; anything further out is cut, so the
// layout never places a window beyond it.
constexpr LONG kMaxCoordinate = 0x7FFF;

// Window-position flag words the library uses throughout.
constexpr UINT kSwpHide = 0x297;
constexpr UINT kSwpShow = 0x257;
constexpr UINT kSwpZOrderOnly = 0x13;

}  // namespace varnex
