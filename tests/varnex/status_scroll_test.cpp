// Frame scroll bars, the client range and the status bar's progress control, as a host sees
// them: return values, scroll information, child positions, window calls.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "frame/scroll_bar.h"
#include "frame/status_bar.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::ChildById;
using varnex_test::ClientOf;
using varnex_test::WindowRectIn;

namespace {

SCROLLINFO SystemInfo(HWND pane, int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_ALL;
    GetScrollInfo(pane, bar, &info);
    return info;
}

// A child frame of 500 x 400 (no borders: client = window) inside a shown host frame, attached
// with `extra` flags; its pane is made by the library. Scrolling moves children only while the
// windows are visible, as a host's frame is.
struct ScrollFrame {
    HWND host, frame, pane;
    explicit ScrollFrame(UINT extra = 0) {
        host = hostkit::CreateSdiFrame("host", 0, 0, 700, 600, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        frame = hostkit::CreateChildFrame(ChildById(host, 0xE900), 0, 0, 500, 400);
        AttachFrame(frame, AF_CHILDFRAME | extra);
        pane = ChildById(frame, 0xE900);
    }
    CClientPaneFx* Pane() const { return ManagerOf(frame)->clientPane; }
    CScrollBarFx* Horz() const { return Pane()->hScroll; }
    CScrollBarFx* Vert() const { return Pane()->vScroll; }
    HWND Child(UINT id, int x, int y, int cx, int cy) const { return hostkit::CreateView(pane, id, x, y, cx, cy); }
    RECT In(HWND child) const { return WindowRectIn(child, pane); }
    void H(WORD code, short value = 0) const { SendMessageA(pane, WM_HSCROLL, MAKEWPARAM(code, value), 0); }
    void V(WORD code, short value = 0) const { SendMessageA(pane, WM_VSCROLL, MAKEWPARAM(code, value), 0); }
};

TEST(ScrollBars, RangeFromArgumentsAtTheOriginAndWhenScrolled) {
    ScrollFrame f;
    ASSERT_TRUE(ClientOf(f.pane) == (RECT{0, 0, 500, 400}));
    HWND child = f.Child(1, 10, 10, 50, 30);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    ASSERT_TRUE(f.Horz());
    EXPECT_EQ(f.Vert(), nullptr);
    EXPECT_EQ(f.Horz()->info.nMin, 0);
    EXPECT_EQ(f.Horz()->info.nMax, 1999);
    EXPECT_EQ(f.Horz()->info.nPage, 500u);
    EXPECT_TRUE(f.Horz()->shown);
    // The system's bar says the same, and the pane gave room to it.
    SCROLLINFO system = SystemInfo(f.pane, SB_HORZ);
    EXPECT_EQ(system.nMax, 1999);
    EXPECT_EQ(system.nPage, 500u);
    EXPECT_TRUE(GetWindowLongA(f.pane, GWL_STYLE) & WS_HSCROLL);
    EXPECT_EQ(ClientOf(f.pane).bottom, 400 - GetSystemMetrics(SM_CYHSCROLL));

    f.H(SB_THUMBPOSITION, 300);
    EXPECT_EQ(f.Horz()->info.nPos, 300);
    EXPECT_EQ(GetScrollPos(f.pane, SB_HORZ), 300);
    EXPECT_EQ(f.In(child).left, 10 - 300);
    // Read in scrolled coordinates: the same call now reaches 300 further; the view stays.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_EQ(f.Horz()->info.nMax, 2299);
    EXPECT_EQ(f.Horz()->info.nPos, 300);
    EXPECT_EQ(f.In(child).left, 10 - 300);
    // With SSR_POS the fourth argument is the position.
    EXPECT_EQ(SetScrollBar(f.pane, -300, 2000 - 300, 100, 0, SSR_HORZ | SSR_START | SSR_END | SSR_POS), 1);
    EXPECT_EQ(f.Horz()->info.nMax, 1999);
    EXPECT_EQ(f.Horz()->info.nPos, 100);
    EXPECT_EQ(f.In(child).left, 10 - 100);

    // Commands: a thumb beyond the end stops at nMax - nPage + 1, before the start at nMin.
    f.H(SB_THUMBPOSITION, 5000);
    EXPECT_EQ(f.Horz()->info.nPos, 2000 - 500);
    EXPECT_EQ(f.In(child).left, 10 - 1500);
    f.H(SB_PAGEUP);
    EXPECT_EQ(f.Horz()->info.nPos, 1000);
    f.H(SB_LINEUP);
    EXPECT_EQ(f.Horz()->info.nPos, 990);
    f.H(SB_THUMBTRACK, -50);
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.In(child).left, 10);
    f.H(SB_LINEUP);  // at the start already: nothing moves
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.In(child).left, 10);
    f.H(SB_ENDSCROLL);  // not a movement
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    DetachFrame(f.frame);
}

TEST(ScrollBars, NegativeStartAndEmptyEnd) {
    ScrollFrame f;
    HWND child = f.Child(1, 10, 10, 50, 30);
    // Content from -100 to 300 in a pane 500 wide: positions run from -100 to 0 only.
    EXPECT_EQ(SetScrollBar(f.pane, -100, 300, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_EQ(f.Horz()->info.nMin, -100);
    EXPECT_EQ(f.Horz()->info.nMax, 299);
    EXPECT_EQ(f.Horz()->info.nPage, 300u);
    EXPECT_TRUE(f.Horz()->shown);
    f.H(SB_THUMBPOSITION, -100);
    EXPECT_EQ(f.Horz()->info.nPos, -100);
    EXPECT_EQ(f.In(child).left, 110);
    f.H(SB_THUMBPOSITION, 50);
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.In(child).left, 10);

    // An end of 0 is one page: nothing to scroll, and commands move nothing.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    const LONG page = ClientOf(f.pane).bottom;
    EXPECT_EQ(f.Vert()->info.nMax, page - 1);
    EXPECT_FALSE(f.Vert()->shown);
    f.V(SB_LINEDOWN);
    f.V(SB_PAGEDOWN);
    SendMessageA(f.pane, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(f.Vert()->info.nPos, 0);
    EXPECT_EQ(f.In(child).top, 10);
    // Content shorter than the page: it stays at the origin, never moves backwards.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 250, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    EXPECT_EQ(f.Vert()->info.nMax, 249);
    EXPECT_FALSE(f.Vert()->shown);
    SendMessageA(f.pane, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    f.V(SB_PAGEDOWN);
    f.V(SB_THUMBPOSITION, 100);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 30, 0, SSR_VERT | SSR_POS), 1);
    EXPECT_EQ(f.Vert()->info.nPos, 0);
    EXPECT_EQ(f.In(child).top, 10);
    DetachFrame(f.frame);
}

TEST(ScrollBars, LineStepOfBothBarsAndTheWheel) {
    ScrollFrame f;
    HWND child = f.Child(1, 10, 10, 50, 30);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_VERT | SSR_START | SSR_END), 1);
    f.H(SB_THUMBPOSITION, 100);
    f.V(SB_THUMBPOSITION, 200);
    ASSERT_EQ(f.In(child).left, 10 - 100);
    ASSERT_EQ(f.In(child).top, 10 - 200);
    // Without a range bit the position argument applies to both bars.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 20, SSR_HORZ | SSR_VERT | SSR_LINE), 1);
    EXPECT_EQ(f.Horz()->lineStep, 20);
    EXPECT_EQ(f.Vert()->lineStep, 20);
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.Vert()->info.nPos, 0);
    EXPECT_TRUE(f.In(child).left == 10 && f.In(child).top == 10);
    // A line below 1 keeps the step.
    SetScrollBar(f.pane, 0, 0, 0, 0, SSR_HORZ | SSR_LINE);
    EXPECT_EQ(f.Horz()->lineStep, 20);

    f.H(SB_LINEDOWN);
    EXPECT_EQ(f.Horz()->info.nPos, 20);
    EXPECT_EQ(f.In(child).left, -10);
    // The wheel: one line per message whatever the distance; towards the user scrolls down.
    SendMessageA(f.pane, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-3 * WHEEL_DELTA)), 0);
    EXPECT_EQ(f.Vert()->info.nPos, 20);
    SendMessageA(f.pane, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)), 0);
    EXPECT_EQ(f.Vert()->info.nPos, 40);
    SendMessageA(f.pane, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
    EXPECT_EQ(f.Vert()->info.nPos, 20);
    EXPECT_EQ(f.In(child).top, -10);
    EXPECT_EQ(GetScrollPos(f.pane, SB_VERT), 20);
    DetachFrame(f.frame);
}

TEST(ScrollBars, RemovalScrollsBackAndHidesTheBar) {
    ScrollFrame f;
    HWND child = f.Child(1, 10, 10, 50, 30);
    // Nothing to remove: nothing is made, and the call counts as done.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_REMOVE), 1);
    EXPECT_EQ(f.Vert(), nullptr);

    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    f.H(SB_THUMBPOSITION, 300);
    ASSERT_EQ(f.In(child).left, -290);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_HORZ | SSR_REMOVE), 1);
    EXPECT_EQ(f.Horz(), nullptr);
    EXPECT_EQ(f.In(child).left, 10);
    EXPECT_FALSE(GetWindowLongA(f.pane, GWL_STYLE) & WS_HSCROLL);
    EXPECT_TRUE(ClientOf(f.pane) == (RECT{0, 0, 500, 400}));

    // A new bar starts from the origin the content went back to.
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.Horz()->info.nMax, 1999);
    EXPECT_EQ(f.In(child).left, 10);

    // Detaching takes the bars down too; the children return to the frame where they began.
    f.H(SB_THUMBPOSITION, 300);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    f.V(SB_THUMBPOSITION, 70);
    ASSERT_TRUE(f.In(child).left == -290 && f.In(child).top == -60);
    ASSERT_EQ(DetachFrame(f.frame), 1);
    EXPECT_EQ(GetParent(child), f.frame);
    EXPECT_TRUE(WindowRectIn(child, f.frame) == (RECT{10, 10, 60, 40}));
}

TEST(ScrollBars, ContentFollowsThePositionWhileTheFrameIsHidden) {
    // A host sets its frame up before showing it.
    HWND host = hostkit::CreateSdiFrame("host", 0, 0, 700, 600);
    HWND frame = hostkit::CreateChildFrame(ChildById(host, 0xE900), 0, 0, 500, 400);
    ASSERT_EQ(AttachFrame(frame, AF_CHILDFRAME), 1);
    HWND pane = ChildById(frame, 0xE900);
    HWND child = hostkit::CreateView(pane, 1, 10, 10, 50, 30);
    ASSERT_EQ(SetScrollBar(pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    SendMessageA(pane, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 300), 0);
    EXPECT_EQ(WindowRectIn(child, pane).left, 10 - 300);
    ShowWindow(host, SW_SHOW);
    SendMessageA(pane, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 100), 0);
    EXPECT_EQ(WindowRectIn(child, pane).left, 10 - 100);
    ShowWindow(host, SW_HIDE);
    ASSERT_EQ(DetachFrame(frame), 1);
    EXPECT_TRUE(WindowRectIn(child, frame) == (RECT{10, 10, 60, 40}));
}

TEST(ScrollBars, OneBarNarrowsTheOther) {
    ScrollFrame f;
    const LONG cxv = GetSystemMetrics(SM_CXVSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    // Exactly the pane's width needs no bar; one pixel more does.
    ASSERT_EQ(SetScrollBar(f.pane, 0, 500, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_FALSE(f.Horz()->shown);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 501, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_TRUE(f.Horz()->shown);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 490, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    EXPECT_FALSE(f.Horz()->shown);
    EXPECT_EQ(f.Horz()->info.nPage, 500u);

    // A tall content needs the vertical bar, whose width the horizontal one then lacks.
    ASSERT_GT(cxv, 10);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 1000, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    EXPECT_TRUE(f.Vert()->shown);
    EXPECT_TRUE(f.Horz()->shown);
    EXPECT_EQ(f.Horz()->info.nPage, static_cast<UINT>(500 - cxv));
    EXPECT_EQ(f.Vert()->info.nPage, static_cast<UINT>(400 - cyh));
    EXPECT_TRUE(ClientOf(f.pane) == (RECT{0, 0, 500 - cxv, 400 - cyh}));
    DetachFrame(f.frame);
}

TEST(ScrollBars, AutomaticRangeFromTheVisibleChildren) {
    ScrollFrame f;
    f.Child(1, 10, 20, 50, 30);
    f.Child(2, 200, 300, 60, 400);
    HWND hidden = f.Child(3, 0, 0, 3000, 3000);
    ShowWindow(hidden, SW_HIDE);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_HORZ | SSR_VERT | SSR_START | SSR_END | SSR_AUTO), 1);
    // Covered: 10..260 across, 20..700 down.
    EXPECT_EQ(f.Horz()->info.nMax, 259);
    EXPECT_FALSE(f.Horz()->shown);
    EXPECT_EQ(f.Vert()->info.nMax, 699);
    EXPECT_TRUE(f.Vert()->shown);
    // Non-zero arguments with their bits win over the children.
    ASSERT_EQ(SetScrollBar(f.pane, 0, 900, 0, 0, SSR_VERT | SSR_END | SSR_AUTO), 1);
    EXPECT_EQ(f.Vert()->info.nMax, 899);
    EXPECT_EQ(f.Vert()->info.nMin, 0);

    // A maximized child fills the pane: nothing to scroll.
    HWND big = f.Child(4, 0, 0, 100, 100);
    SetWindowLongA(big, GWL_STYLE, GetWindowLongA(big, GWL_STYLE) | WS_MAXIMIZE);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_START | SSR_END | SSR_AUTO), 1);
    EXPECT_FALSE(f.Vert()->shown);
    EXPECT_EQ(f.Vert()->info.nMin, 0);

    // No visible child at all: one page from the origin, no negative start.
    for (HWND c = GetWindow(f.pane, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ShowWindow(c, SW_HIDE);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_HORZ | SSR_START | SSR_END | SSR_AUTO), 1);
    EXPECT_EQ(f.Horz()->info.nMin, 0);
    EXPECT_FALSE(f.Horz()->shown);
    DetachFrame(f.frame);
}

TEST(ScrollBars, FocusWindowIsBroughtIntoView) {
    ScrollFrame f;
    HWND below = f.Child(1, 10, 700, 100, 40);
    HWND above = f.Child(2, 10, 100, 100, 40);
    HWND tall = f.Child(3, 200, 900, 100, 500);
    HWND inner = hostkit::CreateView(above, 9, 0, 0, 10, 10);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    const LONG page = ClientOf(f.pane).bottom;
    ASSERT_EQ(static_cast<LONG>(f.Vert()->info.nPage), page);

    // Below the view: its far edge comes to the pane's bottom.
    SetFocus(below);
    ASSERT_EQ(GetFocus(), below);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 1);
    EXPECT_EQ(f.Vert()->info.nPos, 740 - page);
    EXPECT_EQ(f.In(below).bottom, page);
    // Visible already: nothing changes.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 1);
    EXPECT_EQ(f.Vert()->info.nPos, 740 - page);
    // Taller than the page: nothing changes either.
    SetFocus(tall);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 1);
    EXPECT_EQ(f.Vert()->info.nPos, 740 - page);
    // Above the view: its near edge comes to the pane's top.
    f.V(SB_THUMBPOSITION, 1000);
    SetFocus(above);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 1);
    EXPECT_EQ(f.Vert()->info.nPos, 100);
    EXPECT_EQ(f.In(above).top, 0);

    // The focus must be on a direct child of the pane.
    SetFocus(inner);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 0);
    SetFocus(f.pane);
    EXPECT_EQ(SetScrollBar(f.pane, 0, 0, 0, 0, SSR_VERT | SSR_POS | SSR_AUTO), 0);
    EXPECT_EQ(f.Vert()->info.nPos, 100);
    DetachFrame(f.frame);
}

TEST(ScrollBars, GrowingWhileScrolledToTheEndKeepsTheLastPixelAtTheEdge) {
    ScrollFrame f;
    HWND last = f.Child(1, 1990, 0, 10, 10);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    f.H(SB_THUMBPOSITION, 2000);
    ASSERT_EQ(f.Horz()->info.nPos, 1500);
    ASSERT_EQ(f.In(last).right, 500);
    SetWindowPos(f.frame, nullptr, 0, 0, 600, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(ClientOf(f.pane).right, 600);
    EXPECT_EQ(f.Horz()->info.nPos, 1400);
    EXPECT_EQ(GetScrollPos(f.pane, SB_HORZ), 1400);
    EXPECT_EQ(f.In(last).right, 600);
    // Grown beyond the content, the content returns to its origin and the bar is not needed.
    SetWindowPos(f.frame, nullptr, 0, 0, 2100, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_FALSE(f.Horz()->shown);
    EXPECT_EQ(f.Horz()->info.nPos, 0);
    EXPECT_EQ(f.In(last).right, 2000);
    DetachFrame(f.frame);
}

// The pane's region waiting to be painted after one line step of 10 pixels to the right.
RECT UpdateAfterLineStep(const ScrollFrame& f, HWND child, RECT* childUpdate) {
    SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END);
    UpdateWindow(f.host);
    ValidateRect(f.pane, nullptr);
    ValidateRect(child, nullptr);
    f.H(SB_LINEDOWN);
    RECT update{};
    GetUpdateRect(f.pane, &update, FALSE);
    GetUpdateRect(child, childUpdate, FALSE);
    return update;
}

TEST(ScrollBars, RedrawScrollMovesChildrenAndRedrawsEverything) {
    {
        ScrollFrame f;
        HWND child = f.Child(1, 100, 100, 50, 50);
        RECT childUpdate;
        const RECT update = UpdateAfterLineStep(f, child, &childUpdate);
        // Pixels scrolled: only the strip that came into view waits to be drawn.
        const RECT client = ClientOf(f.pane);
        EXPECT_TRUE(update == (RECT{client.right - 10, 0, client.right, client.bottom}));
        EXPECT_EQ(f.In(child).left, 90);
        DetachFrame(f.frame);
    }
    {
        ScrollFrame f(AF_REDRAWSCROLL);
        HWND child = f.Child(1, 100, 100, 50, 50);
        RECT childUpdate;
        const RECT update = UpdateAfterLineStep(f, child, &childUpdate);
        EXPECT_TRUE(update == ClientOf(f.pane));
        EXPECT_TRUE(childUpdate == ClientOf(child));
        EXPECT_EQ(f.In(child).left, 90);
        DetachFrame(f.frame);
    }
}

TEST(ScrollBars, RefusedCalls) {
    ScrollFrame f;
    HWND child = f.Child(1, 10, 10, 50, 30);
    // Neither direction: nothing made.
    EXPECT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_START | SSR_END), 0);
    EXPECT_TRUE(f.Horz() == nullptr && f.Vert() == nullptr);
    // Only the client pane has bars: not its children, not the frame.
    EXPECT_EQ(SetScrollBar(child, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 0);
    EXPECT_EQ(SetScrollBar(f.frame, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 0);
    EXPECT_EQ(SetClientRange(child, 1, 1, 0, 0, SSC_MIN), 0);
    EXPECT_EQ(SetClientRange(f.frame, 1, 1, 0, 0, SSC_MIN), 0);
    EXPECT_TRUE(f.Horz() == nullptr && f.Vert() == nullptr);
    EXPECT_EQ(f.Pane()->minSize.cx, 0);

    // An MDI frame's MDI client scrolls by itself.
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 600, 400);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    EXPECT_EQ(SetScrollBar(ChildById(mdi, 0xE900), 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 0);
    EXPECT_EQ(ManagerOf(mdi)->clientPane->hScroll, nullptr);

    HWND stale = hostkit::CreateSdiFrame("stale", 0, 0, 100, 100);
    DestroyWindow(stale);
    for (HWND bad : {HWND{}, stale, reinterpret_cast<HWND>(-1), GetDesktopWindow()}) {
        EXPECT_EQ(SetScrollBar(bad, 0, 2000, 0, 0, SSR_HORZ | SSR_VERT | SSR_START | SSR_END), 0);
        EXPECT_EQ(SetClientRange(bad, 1, 1, 1, 1, SSC_MIN | SSC_MAX), 0);
        EXPECT_EQ(SetStatusBar(bad, 0, 100, 5, "text", SSB_TEXT | SSB_PROGRESS | SSB_SHOW | SSB_RANGE), 0);
    }
    DetachFrame(mdi);
    DetachFrame(f.frame);
}

TEST(ScrollBars, ShownBarsNeedRoomInTheMinimumSize) {
    ScrollFrame f;
    CCtrlFrameFx* manager = ManagerOf(f.frame);
    const LONG cxh = GetSystemMetrics(SM_CXHSCROLL), cyh = GetSystemMetrics(SM_CYHSCROLL);
    const LONG cxv = GetSystemMetrics(SM_CXVSCROLL), cyv = GetSystemMetrics(SM_CYVSCROLL);
    SIZE minimum{};
    manager->GetTrackSize(0x400, &minimum);
    EXPECT_TRUE(minimum.cx == 0 && minimum.cy == 0);

    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_HORZ | SSR_START | SSR_END), 1);
    manager->GetTrackSize(0x400, &minimum);
    EXPECT_EQ(minimum.cx, 2 * cxh);
    EXPECT_EQ(minimum.cy, cyh);
    ASSERT_EQ(SetScrollBar(f.pane, 0, 2000, 0, 0, SSR_VERT | SSR_START | SSR_END), 1);
    manager->GetTrackSize(0x400, &minimum);
    EXPECT_EQ(minimum.cx, 2 * cxh + cxv);
    EXPECT_EQ(minimum.cy, cyh + 2 * cyv);
    // A larger client minimum stands; the maximum is not raised.
    ASSERT_EQ(SetClientRange(f.pane, 300, 200, 0, 0, SSC_MIN), 1);
    manager->GetTrackSize(0x400, &minimum);
    EXPECT_TRUE(minimum.cx == 300 && minimum.cy == 200);
    SIZE maximum{};
    manager->GetTrackSize(0x800, &maximum);
    EXPECT_TRUE(maximum.cx == 0xFFFF && maximum.cy == 0xFFFF);
    DetachFrame(f.frame);
}

TEST(ClientRange, LimitsFollowThePresentClientSizeAndClampSizing) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 100, 100, 500, 400);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME | AF_THICKFRAME | AF_BORDERSIZE), 1);
    HWND pane = ChildById(sdi, 0xE900);
    CClientPaneFx* clientPane = ManagerOf(sdi)->clientPane;
    const RECT client = ClientOf(sdi);

    EXPECT_EQ(SetClientRange(pane, 1000, 1000, 0, 0, SSC_MIN), 1);
    EXPECT_TRUE(clientPane->minSize.cx == client.right && clientPane->minSize.cy == client.bottom);
    EXPECT_EQ(SetClientRange(pane, 300, 200, 0, 0, SSC_MIN), 1);
    EXPECT_TRUE(clientPane->minSize.cx == 300 && clientPane->minSize.cy == 200);
    EXPECT_EQ(SetClientRange(pane, 0, 0, 0, 0, SSC_MAX), 1);
    EXPECT_TRUE(clientPane->maxSize.cx == 0xFFFF && clientPane->maxSize.cy == 0xFFFF);
    EXPECT_EQ(SetClientRange(pane, 0, 0, 100, client.bottom + 50, SSC_MAX), 1);
    EXPECT_TRUE(clientPane->maxSize.cx == client.right && clientPane->maxSize.cy == client.bottom + 50);
    // Without a flag nothing changes, and the minimum stays.
    EXPECT_EQ(SetClientRange(pane, 5, 5, 5, 5, 0), 1);
    EXPECT_TRUE(clientPane->minSize.cx == 300 && clientPane->maxSize.cx == client.right);

    // Sizing: a drag beyond the limits stops at them.
    EXPECT_EQ(SetClientRange(pane, 0, 0, client.right + 100, client.bottom + 50, SSC_MAX), 1);
    RECT window;
    GetWindowRect(sdi, &window);
    const LONG ncx = (window.right - window.left) - client.right;
    const LONG ncy = (window.bottom - window.top) - client.bottom;
    RECT dragged = window;
    dragged.right = dragged.left + 250 + ncx;
    dragged.bottom = dragged.top + 150 + ncy;
    SendMessageA(sdi, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_TRUE(dragged == (RECT{window.left, window.top, window.left + 300 + ncx, window.top + 200 + ncy}));
    dragged = window;
    dragged.left = dragged.right - client.right - 400 - ncx;
    dragged.top = dragged.bottom - client.bottom - 400 - ncy;
    SendMessageA(sdi, WM_SIZING, WMSZ_TOPLEFT, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_TRUE(dragged == (RECT{window.right - client.right - 100 - ncx, window.bottom - client.bottom - 50 - ncy,
                                 window.right, window.bottom}));
    DetachFrame(sdi);
}

// ---- status bar -----------------------------------------------------------------------------

// Sizes the frame so that its client area is cx x cy.
void SetClientSize(HWND frame, int cx, int cy) {
    RECT r{0, 0, cx, cy};
    AdjustWindowRectEx(&r, GetWindowLongA(frame, GWL_STYLE), GetMenu(frame) != nullptr, GetWindowLongA(frame, GWL_EXSTYLE));
    SetWindowPos(frame, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST(StatusBar, TextAloneMakesNoProgressControl) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
    HWND status = hostkit::CreateStatusBar(sdi, 20);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    HWND pane = ChildById(sdi, 0xE900);
    // Any child of the frame will do.
    EXPECT_EQ(SetStatusBar(pane, 0, 100, 50, "Ready", SSB_TEXT | SSB_RANGE | SSB_POS | SSB_SHOW), 1);
    EXPECT_STREQ(hostkit::StatusText(sdi), "Ready");
    EXPECT_EQ(ChildById(status, 0xE810), nullptr);
    EXPECT_EQ(ManagerOf(sdi)->statusBar->progress, nullptr);
    EXPECT_EQ(SetStatusBar(status, 0, 0, 0, "Busy", SSB_TEXT), 1);
    EXPECT_STREQ(hostkit::StatusText(sdi), "Busy");
    // A null text shows nothing; the rest of the call goes on.
    EXPECT_EQ(SetStatusBar(status, 0, 0, 0, nullptr, SSB_TEXT | SSB_PROGRESS), 1);
    EXPECT_STREQ(hostkit::StatusText(sdi), "Busy");
    EXPECT_NE(ChildById(status, 0xE810), nullptr);
    DetachFrame(sdi);

    // A frame without a status bar refuses the call, text included.
    HWND bare = hostkit::CreateSdiFrame("bare", 0, 0, 500, 400);
    ASSERT_EQ(AttachFrame(bare, AF_SDIFRAME), 1);
    EXPECT_EQ(SetStatusBar(ChildById(bare, 0xE900), 0, 0, 0, "Ready", SSB_TEXT), 0);
    EXPECT_STREQ(hostkit::StatusText(bare), "");
    DetachFrame(bare);
}

TEST(StatusBar, ProgressControlIsPlacedFromTheFrameWidth) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 900, 400);
    HWND status = hostkit::CreateStatusBar(mdi, 20);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    SetClientSize(mdi, 800, 300);
    ASSERT_EQ(ClientOf(mdi).right, 800);
    EXPECT_EQ(SetStatusBar(ChildById(mdi, 0xE900), 0, 100, 0, nullptr, SSB_PROGRESS), 1);
    HWND progress = ChildById(status, 0xE810);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(varnex_test::ClassOf(progress), "msctls_progress32");
    const LONG style = GetWindowLongA(progress, GWL_STYLE);
    EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH | WS_VISIBLE), WS_CHILD | WS_CLIPSIBLINGS | PBS_SMOOTH);
    // 800 - 561 = 239 across, 2 down, 170 wide, the bar's height less 2.
    EXPECT_TRUE(WindowRectIn(progress, status) == (RECT{239, 2, 239 + 170, 20}));
    // Each size change of an MDI frame places it again: 600 - 561 = 39.
    SetClientSize(mdi, 600, 300);
    ASSERT_EQ(ClientOf(mdi).right, 600);
    EXPECT_TRUE(WindowRectIn(progress, status) == (RECT{39, 2, 39 + 170, 20}));
    EXPECT_FALSE(IsWindowVisible(progress));
    DetachFrame(mdi);
    EXPECT_FALSE(IsWindow(progress));
}

TEST(StatusBar, RangeIsCutTo16BitsAndThePositionPassed) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 700, 400);
    HWND status = hostkit::CreateStatusBar(sdi, 20);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    EXPECT_EQ(SetStatusBar(status, 0, 70000, 0, nullptr, SSB_PROGRESS | 0x2), 1);
    HWND progress = ChildById(status, 0xE810);
    ASSERT_NE(progress, nullptr);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 70000 - 65536);
    EXPECT_EQ(SetStatusBar(status, 0x10005, 300, 0, nullptr, SSB_PROGRESS | 0x1), 1);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, TRUE, 0), 5);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 300);
    EXPECT_EQ(SetStatusBar(status, 0, 0, 120, nullptr, SSB_PROGRESS | SSB_POS), 1);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 120);
    // Without SSB_PROGRESS the control is left alone.
    EXPECT_EQ(SetStatusBar(status, 0, 0, 7, nullptr, SSB_POS | SSB_RANGE), 1);
    EXPECT_EQ(SendMessageA(progress, PBM_GETPOS, 0, 0), 120);
    EXPECT_EQ(SendMessageA(progress, PBM_GETRANGE, FALSE, 0), 300);
    DetachFrame(sdi);
}

WNDPROC g_progressProc = nullptr;
int g_posChanges = 0;

LRESULT CALLBACK CountPosChanges(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WINDOWPOSCHANGING) ++g_posChanges;
    return CallWindowProcA(g_progressProc, hwnd, message, wParam, lParam);
}

TEST(StatusBar, ShowAndHideMakeNoRedundantWindowCalls) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 700, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND status = hostkit::CreateStatusBar(sdi, 20);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    ASSERT_EQ(SetStatusBar(status, 0, 0, 0, nullptr, SSB_PROGRESS), 1);
    HWND progress = ChildById(status, 0xE810);
    ASSERT_NE(progress, nullptr);
    g_progressProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(progress, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountPosChanges)));
    struct Step {
        UINT flags;
        int calls;
        bool visible;
    };
    const Step steps[] = {
        {SSB_PROGRESS | SSB_HIDE, 0, false},            // hidden from the start
        {SSB_PROGRESS | SSB_SHOW, 1, true},
        {SSB_PROGRESS | SSB_SHOW, 0, true},             // shown already
        {SSB_PROGRESS | SSB_SHOW | SSB_HIDE, 0, true},  // show wins
        {SSB_PROGRESS | SSB_HIDE, 1, false},
        {SSB_PROGRESS | SSB_HIDE, 0, false},
        {SSB_PROGRESS | SSB_SHOW | SSB_HIDE, 1, true},
        {SSB_SHOW | SSB_HIDE, 0, true},                 // no SSB_PROGRESS: untouched
    };
    for (const Step& s : steps) {
        g_posChanges = 0;
        EXPECT_EQ(SetStatusBar(status, 0, 0, 0, nullptr, s.flags), 1);
        EXPECT_EQ(g_posChanges, s.calls) << std::hex << s.flags;
        EXPECT_EQ(IsWindowVisible(progress) != FALSE, s.visible) << std::hex << s.flags;
        EXPECT_EQ(ManagerOf(sdi)->statusBar->progress->visible != FALSE, s.visible);
    }
    DetachFrame(sdi);
    EXPECT_FALSE(IsWindow(progress));
}

TEST(StatusBar, ProgressControlOutlivesNothing) {
    // The status bar destroyed under a shown progress control: everything is given back.
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 700, 400);
    HWND status = hostkit::CreateStatusBar(sdi, 20);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    ASSERT_EQ(SetStatusBar(status, 0, 10, 5, nullptr, SSB_PROGRESS | SSB_RANGE | SSB_POS | SSB_SHOW), 1);
    HWND progress = ChildById(status, 0xE810);
    DestroyWindow(status);
    EXPECT_FALSE(IsWindow(progress));
    EXPECT_EQ(ManagerOf(sdi), nullptr);

    // A control destroyed by someone else is made again on the next use.
    HWND other = hostkit::CreateSdiFrame("other", 0, 0, 700, 400);
    HWND otherStatus = hostkit::CreateStatusBar(other, 20);
    ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
    ASSERT_EQ(SetStatusBar(otherStatus, 0, 10, 0, nullptr, SSB_PROGRESS | SSB_RANGE), 1);
    DestroyWindow(ChildById(otherStatus, 0xE810));
    EXPECT_EQ(SetStatusBar(otherStatus, 0, 0, 3, nullptr, SSB_PROGRESS | SSB_POS), 1);
    HWND again = ChildById(otherStatus, 0xE810);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(SendMessageA(again, PBM_GETPOS, 0, 0), 3);
    // The frame's destruction takes it along.
    DestroyWindow(other);
    EXPECT_FALSE(IsWindow(again));
}

}  // namespace
