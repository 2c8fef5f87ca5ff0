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
// The dock sites, top, left, right, bottom, one id each from the first.
constexpr int kSiteCount = 4;
constexpr UINT kFirstSiteId = 0xE81B;
constexpr UINT kLastSiteId = kFirstSiteId + kSiteCount - 1;
// The floating window's creation id; the window itself keeps none.
constexpr UINT kMiniFrameId = 0xE700;

// The framework's window classes the library makes its own windows of.
inline constexpr char kControlBarClass[] = "AfxControlBar40su";
inline constexpr char kFrameOrViewClass[] = "AfxFrameOrView40su";

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
