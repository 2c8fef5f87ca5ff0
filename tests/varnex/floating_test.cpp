// Floating bars and the bars' non-client area: the floating window made by SetDock, its styles,
// owner, size and hit codes, WM_FLOATSTATUS, frame activation, the user closing it, and the
// borders, caption, gripper, hit codes and visibility of docked bars.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "frame/frame_manager.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/bar_nonclient.h"
#include "core/window_procs.h"
#include "dock/mini_frame.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::BarOf;
using varnex_test::kAllSides;
using varnex_test::ClassOf;
using varnex_test::ClientOf;
using varnex_test::ProcOf;
using varnex_test::WindowRectIn;

namespace {

constexpr UINT kFloatFlags = BFX_TOP | BFX_FLOATING | BFX_FLOATABLE | kAllSides;
constexpr UINT kFloatNow = SD_ATTACH | SD_FLAGS | SD_POSITION | SD_FLOAT;
constexpr int kFloatX = 100, kFloatY = 120;
// Wide and tall enough that the system's smallest tracking size never enlarges the window.
constexpr int kBarCx = 200, kBarCy = 30;

RECT ScreenRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}
LRESULT Hit(HWND hwnd, LONG x, LONG y) { return SendMessageA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y)); }

// A shown single-document frame and a 200 x 30 panel to dock or float.
struct Floating : testing::Test {
    void SetUp() override { Make(AF_SDIFRAME); }
    void Make(UINT attachFlags) {
        frame = hostkit::CreateSdiFrame("frame", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_EQ(AttachFrame(frame, attachFlags), 1);
        panel = hostkit::CreateView(frame, 0x300, 5, 6, kBarCx, kBarCy);
    }
    HWND Float(HWND w, UINT extra = 0, DOCKSTATE* state = nullptr) {
        EXPECT_EQ(SetDock(w, frame, kFloatX, kFloatY, 0, 0, kFloatFlags | extra, state, kFloatNow), 1);
        CToolBarFx* bar = BarOf(w);
        return bar && bar->miniFrame ? bar->miniFrame->hwnd : nullptr;
    }
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
    }
    HWND frame{}, panel{};
};

TEST_F(Floating, SetDockPutsTheBarIntoAFloatingWindow) {
    std::string title(100, 'T');
    title[78] = 'a';
    title[79] = 'b';
    SetWindowTextA(panel, title.c_str());
    DOCKSTATE state{};
    HWND fw = Float(panel, 0, &state);
    ASSERT_TRUE(fw);
    CToolBarFx* bar = BarOf(panel);
    CMiniFrameFx* mini = bar->miniFrame;
    EXPECT_EQ(mini->bar, bar);
    EXPECT_EQ(mini->frame, ManagerOf(frame));
    EXPECT_EQ(mini->flags, static_cast<UINT>(AF_SDIFRAME));

    // The window: a popup tool window of the host's class, owned by the frame, registered,
    // with the library's procedure and without the framework's record of another.
    EXPECT_EQ(ClassOf(fw), "AfxFrameOrView40su");
    const DWORD style = GetWindowLongA(fw, GWL_STYLE);
    EXPECT_EQ(style & 0x80CC0000u, 0x80CC0000u);
    EXPECT_EQ(style & WS_CHILD, 0u);
    EXPECT_EQ(GetWindowLongA(fw, GWL_EXSTYLE) & 0x180, 0x180);
    EXPECT_EQ(GetDlgCtrlID(fw), 0);
    EXPECT_EQ(GetWindow(fw, GW_OWNER), frame);
    EXPECT_EQ(ProcOf(fw), MiniFrameProc);
    EXPECT_TRUE(GetPropA(fw, kMiniFrameProp));
    EXPECT_FALSE(GetPropA(fw, "AfxOldWndProc"));
    EXPECT_TRUE(IsWindowVisible(fw));
    EXPECT_TRUE(mini->visible);
    char caption[128] = {};
    GetWindowTextA(fw, caption, sizeof caption);
    EXPECT_EQ(std::string(caption), title.substr(0, 79));

    // The bar fills it: the floating size (here the client size at attach) plus one pixel
    // around, at floatPos.
    EXPECT_EQ(GetParent(panel), fw);
    EXPECT_EQ(bar->flags & 0xFF, 0x94u);
    EXPECT_TRUE(bar->flags & BFX_FLOATING);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_TRUE(ClientOf(fw) == (RECT{0, 0, kBarCx + 2, kBarCy + 2}));
    EXPECT_EQ(ScreenRect(fw).left, kFloatX);
    EXPECT_EQ(ScreenRect(fw).top, kFloatY);
    EXPECT_TRUE(WindowRectIn(panel, fw) == (RECT{0, 0, kBarCx + 2, kBarCy + 2}));
    EXPECT_TRUE(ClientOf(panel) == (RECT{0, 0, kBarCx, kBarCy}));
    EXPECT_EQ(bar->dockSite, ManagerOf(frame)->dockSites[0]);  // still in its side's list

    EXPECT_EQ(state.docked, 0);
    EXPECT_EQ(state.side, 3);
    EXPECT_EQ(state.x, kFloatX);
    EXPECT_EQ(state.y, kFloatY);

    // A stored floating size and position take effect with SD_FLOAT | SD_RECALC.
    ASSERT_EQ(SetDock(panel, nullptr, 50, 60, 260, 44, 0, nullptr, SD_POSITION | SD_SIZE | SD_FLOAT | SD_RECALC), 1);
    EXPECT_TRUE(ClientOf(fw) == (RECT{0, 0, 262, 46}));
    EXPECT_EQ(ScreenRect(fw).left, 50);
    EXPECT_EQ(ScreenRect(fw).top, 60);
    EXPECT_TRUE(ClientOf(panel) == (RECT{0, 0, 260, 44}));
    EXPECT_EQ(state.x, 50);
    EXPECT_EQ(state.y, 60);
    EXPECT_EQ(state.cx, 260);  // the stored size, not the window's
    EXPECT_EQ(state.cy, 44);
}

// A floating position no monitor shows (a layout saved on a monitor that is gone) opens in the
// nearest monitor's work area, and the host's state record learns where the window really is, so
// that the next saved layout is one the user can reach. A position on the screen stays as given.
TEST_F(Floating, PositionOffEveryMonitorOpensOnTheWorkAreaAndIsRecorded) {
    RECT work{};
    ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
    const POINT positions[] = {{5000, 120}, {-5000, 120}, {100, 5000}, {100, -5000}, {40000, 40000}, {kFloatX, kFloatY}};
    for (const POINT& p : positions) {
        SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
        HWND w = hostkit::CreateView(frame, 0x301, 0, 0, kBarCx, kBarCy);
        DOCKSTATE state{};
        ASSERT_EQ(SetDock(w, frame, p.x, p.y, 0, 0, kFloatFlags, &state, kFloatNow), 1);
        CToolBarFx* bar = BarOf(w);
        ASSERT_TRUE(bar && bar->miniFrame);
        const RECT r = ScreenRect(bar->miniFrame->hwnd);
        RECT inside;
        EXPECT_TRUE(IntersectRect(&inside, &r, &work) && EqualRect(&inside, &r)) << r.left << "," << r.top;
        EXPECT_EQ(state.docked, 0);
        EXPECT_EQ(state.x, r.left);
        EXPECT_EQ(state.y, r.top);
        if (p.x == kFloatX && p.y == kFloatY) {
            EXPECT_EQ(r.left, kFloatX);
            EXPECT_EQ(r.top, kFloatY);
        }
        DestroyWindow(w);
    }
}

TEST_F(Floating, DockingAgainOrUnDockEndsTheFloatingWindow) {
    DOCKSTATE state{};
    HWND fw = Float(panel, 0, &state);
    ASSERT_TRUE(fw);
    EXPECT_EQ(LiveWindowObjects(), 3);  // frame manager, bar, floating window
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_LEFT | BFX_FLOATABLE | kAllSides, nullptr, SD_FLAGS | SD_RECALC), 1);
    EXPECT_FALSE(IsWindow(fw));
    CToolBarFx* bar = BarOf(panel);
    EXPECT_EQ(bar->miniFrame, nullptr);
    EXPECT_FALSE(bar->flags & BFX_FLOATING);
    EXPECT_EQ(GetParent(panel), ManagerOf(frame)->dockSites[1]->hwnd);
    EXPECT_TRUE(ManagerOf(frame)->dockSites[0]->bars.empty());
    EXPECT_EQ(state.docked, 1);
    EXPECT_EQ(state.side, 1);
    EXPECT_EQ(LiveWindowObjects(), 2);

    // Floated again from the left side: a new floating window; UnDock takes it away too.
    fw = Float(panel);
    ASSERT_TRUE(fw);
    EXPECT_EQ(GetParent(panel), fw);
    ASSERT_EQ(UnDock(panel), 1);
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(GetParent(panel), frame);
    EXPECT_EQ(LiveWindowObjects(), 1);
}

TEST_F(Floating, ClosedByTheUserGivesTheBarBackAndTheFrameGoesOn) {
    const RECT where = WindowRectIn(panel, frame);
    const WNDPROC proc = ProcOf(panel);
    HWND fw = Float(panel);
    ASSERT_TRUE(fw);
    SendMessageA(fw, WM_SYSCOMMAND, SC_CLOSE, 0);  // the close button
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(BarOf(panel), nullptr);
    EXPECT_EQ(GetParent(panel), frame);
    EXPECT_TRUE(WindowRectIn(panel, frame) == where);
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_EQ(ProcOf(panel), proc);
    EXPECT_TRUE(ManagerOf(frame)->dockSites[0]->bars.empty());
    EXPECT_EQ(LiveWindowObjects(), 1);

    // Another bar docks and floats in the same frame, then is closed by WM_CLOSE; the frame
    // is detached with nothing left behind.
    HWND other = hostkit::CreateView(frame, 0x301, 0, 0, kBarCx, kBarCy);
    ASSERT_EQ(SetDock(other, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    EXPECT_EQ(GetParent(other), ManagerOf(frame)->dockSites[0]->hwnd);
    HWND third = hostkit::CreateView(frame, 0x302, 0, 0, kBarCx, kBarCy);
    HWND fw3 = Float(third);
    ASSERT_TRUE(fw3);
    SendMessageA(fw3, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(fw3));
    EXPECT_EQ(GetParent(third), frame);
    EXPECT_EQ(LiveWindowObjects(), 2);
    ASSERT_EQ(DetachFrame(frame), 1);
    EXPECT_EQ(GetParent(other), frame);
    EXPECT_EQ(LiveWindowObjects(), 0);
}

TEST_F(Floating, FrameDetachedOrDestroyedWhileBarsFloat) {
    HWND second = hostkit::CreateView(frame, 0x301, 0, 0, kBarCx, kBarCy);
    HWND docked = hostkit::CreateView(frame, 0x302, 0, 0, kBarCx, kBarCy);
    HWND fw1 = Float(panel);
    HWND fw2 = Float(second, BFX_HIDDEN);  // hidden: its floating window is not shown
    ASSERT_TRUE(fw1 && fw2);
    EXPECT_FALSE(IsWindowVisible(fw2));
    SendMessageA(fw2, WM_FLOATSTATUS, FS_SHOW, 0);
    EXPECT_FALSE(IsWindowVisible(fw2));
    ASSERT_EQ(SetDock(docked, frame, 0, 0, 0, 0, BFX_BOTTOM | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    ASSERT_EQ(DetachFrame(frame), 1);
    EXPECT_FALSE(IsWindow(fw1));
    EXPECT_FALSE(IsWindow(fw2));
    for (HWND w : {panel, second, docked}) {
        EXPECT_EQ(BarOf(w), nullptr);
        EXPECT_EQ(GetParent(w), frame);
    }
    EXPECT_EQ(LiveWindowObjects(), 0);

    // Attached again and destroyed with a bar floating: everything goes.
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    HWND fw = Float(panel);
    ASSERT_TRUE(fw);
    DestroyWindow(frame);
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(LiveWindowObjects(), 0);
}

TEST(FloatingChildFrame, OwnedByTheTopLevelWindowAndGoneWithTheChild) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND child = hostkit::CreateMdiChild(mdi, "child");
    ASSERT_EQ(AttachFrame(child, AF_MDICHILD), 1);
    HWND panel = hostkit::CreateView(child, 0x300, 0, 0, kBarCx, kBarCy);
    ASSERT_EQ(SetDock(panel, child, 10, 10, 0, 0, kFloatFlags, nullptr, kFloatNow), 1);
    CMiniFrameFx* mini = BarOf(panel)->miniFrame;
    ASSERT_TRUE(mini);
    HWND fw = mini->hwnd;
    EXPECT_EQ(mini->owner, mdi);
    EXPECT_EQ(GetWindow(fw, GW_OWNER), mdi);
    EXPECT_EQ(mini->flags & AF_MDICHILD, AF_MDICHILD);

    // The child frame goes while its floating window, owned by the main frame, stays up: the
    // window goes with the frame's bars, and the host's bar window is not destroyed by the
    // library but goes back into the child, with which it goes.
    DestroyWindow(child);
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_FALSE(IsWindow(panel));
    EXPECT_EQ(LiveWindowObjects(), 0);
    DestroyWindow(mdi);
}

TEST_F(Floating, FloatStatusTakesExactCodesOnly) {
    HWND fw = Float(panel);
    ASSERT_TRUE(fw);
    auto status = [&](WPARAM code) { EXPECT_EQ(SendMessageA(fw, WM_FLOATSTATUS, code, 0), 0); };
    status(FS_HIDE);
    EXPECT_FALSE(IsWindowVisible(fw));
    status(FS_SHOW | FS_ACTIVATE);  // a combination: nothing
    EXPECT_FALSE(IsWindowVisible(fw));
    status(FS_SHOW);
    EXPECT_TRUE(IsWindowVisible(fw));
    status(FS_HIDE | FS_DEACTIVATE);
    EXPECT_TRUE(IsWindowVisible(fw));
    status(FS_DEACTIVATE);  // without AF_FLOATAUTOHIDE only the caption changes
    EXPECT_TRUE(IsWindowVisible(fw));
    status(FS_ACTIVATE);
    EXPECT_TRUE(IsWindowVisible(fw));
    status(FS_DISABLE);
    EXPECT_FALSE(IsWindowEnabled(fw));
    status(FS_ENABLE | FS_SHOW);
    EXPECT_FALSE(IsWindowEnabled(fw));
    status(FS_ENABLE);
    EXPECT_TRUE(IsWindowEnabled(fw));
    status(0x40);
    EXPECT_TRUE(IsWindowVisible(fw));

    // A bar hidden by the host takes its floating window along (WM_SHOWWINDOW), and the window
    // stays hidden whatever the frame says.
    ShowWindow(panel, SW_HIDE);
    EXPECT_FALSE(IsWindowVisible(fw));
    status(FS_SHOW);
    EXPECT_FALSE(IsWindowVisible(fw));
    ShowWindow(panel, SW_SHOW);
    EXPECT_TRUE(IsWindowVisible(fw));
    EXPECT_TRUE(IsWindowVisible(panel));
    EXPECT_FALSE(BarOf(panel)->flags & BFX_HIDDEN);
}

struct AutoHide : Floating {
    void SetUp() override { Make(AF_SDIFRAME | AF_FLOATAUTOHIDE); }
};

TEST_F(AutoHide, FloatingWindowsFollowTheFrameActivation) {
    HWND fw = Float(panel);
    ASSERT_TRUE(fw);
    SetActiveWindow(frame);
    ASSERT_EQ(GetActiveWindow(), frame);
    EXPECT_TRUE(IsWindowVisible(fw));
    HWND other = hostkit::CreateSdiFrame("other", 300, 40, 300, 200, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    SetActiveWindow(other);
    ASSERT_EQ(GetActiveWindow(), other);
    EXPECT_FALSE(IsWindowVisible(fw));  // the host's FS_DEACTIVATE
    SetActiveWindow(frame);
    EXPECT_TRUE(IsWindowVisible(fw));  // FS_ACTIVATE

    // A click on the floating window leaves the activation with its frame.
    SetActiveWindow(other);
    SetActiveWindow(frame);
    EXPECT_EQ(SendMessageA(fw, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(fw), MAKELPARAM(HTCAPTION, WM_LBUTTONDOWN)),
              MA_NOACTIVATE);
    EXPECT_EQ(GetActiveWindow(), frame);
    DestroyWindow(other);
}

TEST_F(AutoHide, FrameStateCodesReachTheFloatingWindows) {
    HWND fw = Float(panel);
    HWND docked = hostkit::CreateView(frame, 0x301, 0, 0, kBarCx, kBarCy);
    ASSERT_EQ(SetDock(docked, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    ASSERT_TRUE(fw);
    CCtrlFrameFx* manager = ManagerOf(frame);
    const struct {
        int code;
        bool visible;
    } steps[] = {{FXS_INACTIVE, false}, {FXS_ACTIVE, true}, {FXS_MINIMIZE, false}, {FXS_RESTORE, true}};
    for (const auto& step : steps) {
        manager->BroadcastFrameState(step.code);
        EXPECT_EQ(IsWindowVisible(fw) != 0, step.visible) << "code " << step.code;
        EXPECT_TRUE(IsWindowVisible(docked)) << "code " << step.code;  // docked bars stay
    }
    // Without AF_FLOATAUTOHIDE, activation changes only the caption.
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_FLAGS), 1);
    fw = Float(panel);
    ASSERT_TRUE(fw);
    manager->BroadcastFrameState(FXS_INACTIVE);
    EXPECT_TRUE(IsWindowVisible(fw));
    manager->BroadcastFrameState(FXS_MINIMIZE);
    EXPECT_FALSE(IsWindowVisible(fw));
    manager->BroadcastFrameState(FXS_RESTORE);
    EXPECT_TRUE(IsWindowVisible(fw));
}

TEST_F(Floating, FloatingWindowHitCodesNarrowTheCorners) {
    HWND fw = Float(panel);
    ASSERT_TRUE(fw);
    const RECT w = ScreenRect(fw);
    // On the outermost pixel row or column of the sizing border. The window rectangle deflated
    // by 6 bounds the corners, with strict comparisons: w.left + 6 is still a corner, and so is
    // w.right - 6 (w.right lies outside the window).
    EXPECT_EQ(Hit(fw, w.left + 6, w.top), HTTOPLEFT);
    EXPECT_EQ(Hit(fw, w.left + 7, w.top), HTTOP);
    EXPECT_EQ(Hit(fw, w.left, w.top + 6), HTTOPLEFT);
    EXPECT_EQ(Hit(fw, w.left, w.top + 7), HTLEFT);
    EXPECT_EQ(Hit(fw, w.right - 6, w.top), HTTOPRIGHT);
    EXPECT_EQ(Hit(fw, w.right - 7, w.top), HTTOP);
    EXPECT_EQ(Hit(fw, w.right - 1, w.top + 7), HTRIGHT);
    EXPECT_EQ(Hit(fw, w.left + 6, w.bottom - 1), HTBOTTOMLEFT);
    EXPECT_EQ(Hit(fw, w.left + 7, w.bottom - 1), HTBOTTOM);
    EXPECT_EQ(Hit(fw, w.left, w.bottom - 8), HTLEFT);
    EXPECT_EQ(Hit(fw, w.right - 1, w.bottom - 1), HTBOTTOMRIGHT);
    EXPECT_EQ(Hit(fw, w.right - 8, w.bottom - 1), HTBOTTOM);
    EXPECT_EQ(Hit(fw, w.right - 1, w.bottom - 8), HTRIGHT);
    EXPECT_EQ(Hit(fw, (w.left + w.right) / 2, (w.top + w.bottom) / 2), HTCLIENT);
}

// Non-client size for each decoration: the rule, and the extras that GetBarSize adds.
TEST_F(Floating, NonClientSizeForEachDecoration) {
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    CToolBarFx* bar = BarOf(panel);
    const int cap = GetSystemMetrics(SM_CYSMCAPTION);
    const struct {
        UINT flags;
        int left, top, right, bottom;  // insets
    } cases[] = {
        {BFX_TOP, 1, 1, 1, 1},
        {BFX_TOP | BFX_RAISEDBORDER, 2, 2, 2, 2},
        {BFX_TOP | BFX_SUNKENBORDER, 2, 2, 2, 2},
        {BFX_TOP | BFX_SPACING, 2, 2, 2, 2},
        {BFX_TOP | BFX_RAISEDBORDER | BFX_SUNKENBORDER | BFX_SPACING, 4, 4, 4, 4},
        {BFX_TOP | BFX_GRIPPER, 7, 1, 1, 1},
        {BFX_LEFT | BFX_GRIPPER | BFX_SPACING, 2, 8, 2, 2},
        {BFX_BOTTOM | BFX_CAPTION, 1, 1 + cap, 1, 1},
        {BFX_RIGHT | BFX_CAPTION | BFX_GRIPPER | BFX_RAISEDBORDER, 2, 2 + cap, 2, 2},
        {0x94 | BFX_CAPTION | BFX_GRIPPER | BFX_RAISEDBORDER | BFX_SUNKENBORDER, 1, 1, 1, 1},  // floating
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "flags 0x" << std::hex << c.flags);
        bar->flags = c.flags;
        RECT r{10, 20, 310, 120};
        BarNcCalcSize(bar, &r);
        EXPECT_TRUE(r == (RECT{10 + c.left, 20 + c.top, 310 - c.right, 120 - c.bottom}));
        SIZE extras{0, 0};
        const UINT mode = (c.flags & BFX_FLOATING) ? BSZ_FLOATING | BSZ_FRAME
                          : (c.flags & BFX_HORZ)   ? BSZ_DOCKED | BSZ_FRAME | BSZ_HORZ
                                                   : BSZ_DOCKED | BSZ_FRAME | BSZ_VERT;
        bar->GetBarSize(mode, &extras);
        EXPECT_EQ(c.left + c.right, extras.cx);
        EXPECT_EQ(c.top + c.bottom, extras.cy);
    }
    // Laid out, a docked bar's client area is its stored size again.
    bar->flags = BFX_TOP | kAllSides | BFX_RAISEDBORDER | BFX_GRIPPER;
    ASSERT_EQ(RecalcFrame(frame), 1);
    EXPECT_TRUE(ClientOf(panel) == (RECT{0, 0, kBarCx, kBarCy}));
    EXPECT_EQ(ScreenRect(panel).right - ScreenRect(panel).left, kBarCx + 2 + 2 + 6);
}

TEST_F(Floating, BarHitCodes) {
    HWND left = hostkit::CreateView(frame, 0x301, 0, 0, kBarCy, 120);
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides | BFX_SIZABLE | BFX_GRIPPER, nullptr,
                      SD_ATTACH | SD_FLAGS), 1);
    ASSERT_EQ(SetDock(left, frame, 0, 0, 0, 0, BFX_LEFT | kAllSides | BFX_SIZABLE | BFX_GRIPPER | BFX_MOVABLE,
                      nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    CToolBarFx* bar = BarOf(panel);
    RECT r = ScreenRect(panel);
    LONG midY = (r.top + r.bottom) / 2;
    // The gripper keeps the client area 7 pixels in from the left; the sizing zone is 3 wide.
    EXPECT_EQ(Hit(panel, r.left + 2, midY), HTLEFT);
    EXPECT_EQ(Hit(panel, r.left + 3, midY), HTNOWHERE);  // not movable
    EXPECT_EQ(Hit(panel, r.right - 1, midY), HTRIGHT);
    EXPECT_EQ(Hit(panel, r.left + 20, midY), HTCLIENT);
    bar->flags |= BFX_MOVABLE;
    EXPECT_EQ(Hit(panel, r.left + 3, midY), HTBORDER);
    EXPECT_EQ(Hit(panel, r.left + 20, r.top), HTBORDER);  // a horizontal bar sizes at its ends only
    bar->flags |= BFX_CONSTRAINED;
    EXPECT_EQ(Hit(panel, r.left + 2, midY), HTBORDER);
    bar->flags &= ~(BFX_CONSTRAINED | BFX_SIZABLE);
    EXPECT_EQ(Hit(panel, r.right - 1, midY), HTBORDER);

    RECT v = ScreenRect(left);
    LONG midX = (v.left + v.right) / 2;
    EXPECT_EQ(Hit(left, midX, v.top + 2), HTTOP);
    EXPECT_EQ(Hit(left, midX, v.top + 3), HTBORDER);
    EXPECT_EQ(Hit(left, midX, v.bottom - 1), HTBOTTOM);
    EXPECT_EQ(Hit(left, v.left, (v.top + v.bottom) / 2), HTBORDER);
}

// A stretch bar is sized across, on the edge that faces the client pane only.
TEST_F(Floating, StretchBarsOfferTheEdgeFacingThePane) {
    const UINT sides[] = {BFX_TOP, BFX_LEFT, BFX_RIGHT, BFX_BOTTOM};
    HWND windows[4];
    for (int i = 0; i < 4; ++i) {
        windows[i] = hostkit::CreateView(frame, 0x310 + i, 0, 0, 60, 40);
        ASSERT_EQ(SetDock(windows[i], frame, 0, 0, 0, 0, sides[i] | kAllSides | BFX_SIZABLE | BFX_STRETCH | BFX_MOVABLE,
                          nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    }
    // Per side: the code at the near and the far edge across the bar, without and with
    // AF_KEEPCLIENTSIZE.
    const struct {
        LRESULT nearEdge, farEdge, keepNear, keepFar;
    } expected[] = {
        {HTBORDER, HTBOTTOM, HTBORDER, HTBOTTOM},  // top: top edge, bottom edge
        {HTBORDER, HTRIGHT, HTBORDER, HTRIGHT},    // left: left edge, right edge
        {HTLEFT, HTBORDER, HTBORDER, HTRIGHT},     // right
        {HTTOP, HTBORDER, HTBORDER, HTBOTTOM},     // bottom
    };
    for (UINT keep : {0u, AF_KEEPCLIENTSIZE}) {
        ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME | keep), 1);
        for (int i = 0; i < 4; ++i) {
            SCOPED_TRACE(testing::Message() << "side " << i << " keep " << keep);
            const RECT r = ScreenRect(windows[i]);
            const bool horz = sides[i] & BFX_HORZ;
            const LONG midX = (r.left + r.right) / 2, midY = (r.top + r.bottom) / 2;
            const LRESULT nearHit = horz ? Hit(windows[i], midX, r.top) : Hit(windows[i], r.left, midY);
            const LRESULT farHit = horz ? Hit(windows[i], midX, r.bottom - 1) : Hit(windows[i], r.right - 1, midY);
            EXPECT_EQ(nearHit, keep ? expected[i].keepNear : expected[i].nearEdge);
            EXPECT_EQ(farHit, keep ? expected[i].keepFar : expected[i].farEdge);
            // Along its length a stretch bar never sizes.
            EXPECT_EQ(horz ? Hit(windows[i], r.left, midY) : Hit(windows[i], midX, r.top), HTBORDER);
        }
    }
}

TEST_F(Floating, HostVisibilityChangesOfBars) {
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    CDockSiteFx* top = ManagerOf(frame)->dockSites[0];
    ASSERT_EQ(top->Height(), kBarCy + 2);
    constexpr UINT kQuiet = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(panel, nullptr, 0, 0, 0, 0, kQuiet | SWP_HIDEWINDOW);
    EXPECT_TRUE(BarOf(panel)->flags & BFX_HIDDEN);
    EXPECT_EQ(top->Height(), 0);  // laid out without it
    SetWindowPos(panel, nullptr, 0, 0, 0, 0, kQuiet | SWP_SHOWWINDOW);
    EXPECT_FALSE(BarOf(panel)->flags & BFX_HIDDEN);
    EXPECT_EQ(top->Height(), kBarCy + 2);
    EXPECT_TRUE(IsWindowVisible(panel));

    // A floating toolbar: hidden and shown with its floating window, never moved by the host,
    // and sized again when it sizes itself.
    // Made in another, unattached frame: the attached one would redirect a new 0xE800 toolbar.
    HWND holder = hostkit::CreateSdiFrame("holder", 0, 0, 300, 200);
    HWND tb = hostkit::CreateToolBar(holder, 0xE800, "tools", 8);
    ASSERT_EQ(SetDock(tb, frame, kFloatX, kFloatY, 0, 0, kFloatFlags, nullptr, kFloatNow), 1);
    CToolBarFx* bar = BarOf(tb);
    ASSERT_TRUE(bar->isToolBar && bar->miniFrame);
    HWND fw = bar->miniFrame->hwnd;
    EXPECT_TRUE(ClientOf(fw) == (RECT{0, 0, bar->horzSize.cx + 2, bar->horzSize.cy + 2}));
    SetWindowPos(tb, nullptr, 0, 0, 0, 0, kQuiet | SWP_HIDEWINDOW);
    EXPECT_FALSE(IsWindowVisible(fw));
    SetWindowPos(tb, nullptr, 0, 0, 0, 0, kQuiet | SWP_SHOWWINDOW);
    EXPECT_TRUE(IsWindowVisible(fw));
    const RECT before = ScreenRect(tb);
    SetWindowPos(tb, nullptr, 3, 4, 50, 50, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ScreenRect(tb) == before);

    TBBUTTON extra{};
    extra.idCommand = 300;
    extra.fsState = TBSTATE_ENABLED;
    SendMessageA(tb, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&extra));
    const LONG width = bar->horzSize.cx;
    EXPECT_EQ(SendMessageA(tb, TB_AUTOSIZE, 0, 0), 1);
    EXPECT_GT(bar->horzSize.cx, width);
    EXPECT_TRUE(ClientOf(fw) == (RECT{0, 0, bar->horzSize.cx + 2, bar->horzSize.cy + 2}));
    ASSERT_EQ(UnDock(tb), 1);
    EXPECT_FALSE(IsWindow(fw));
    EXPECT_EQ(GetParent(tb), holder);
}

// A docked bar without decoration: a one-pixel border in the button face colour.
TEST_F(Floating, PlainBorderIsPaintedInTheButtonFace) {
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides | BFX_SUNKENBORDER, nullptr,
                      SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    UpdateWindow(frame);
    SendMessageA(panel, WM_NCPAINT, 1, 0);
    HDC dc = GetWindowDC(panel);
    const RECT w = ScreenRect(panel);
    // Outer pixel: the fill; one further in: the sunken edge (shadow at top-left, highlight at
    // bottom-right).
    EXPECT_EQ(GetPixel(dc, 0, 0), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(GetPixel(dc, 1, 1), GetSysColor(COLOR_BTNSHADOW));
    EXPECT_EQ(GetPixel(dc, w.right - w.left - 2, w.bottom - w.top - 2), GetSysColor(COLOR_BTNHIGHLIGHT));
    ReleaseDC(panel, dc);
}

}  // namespace

namespace {

// Paints the docked bar's non-client area now and reads it back through its window DC.
struct PaintedBar {
    explicit PaintedBar(HWND bar) : hwnd(bar), dc(GetWindowDC(bar)) {
        SendMessageA(bar, WM_NCPAINT, 1, 0);
        RECT w;
        GetWindowRect(bar, &w);
        width = w.right - w.left;
        height = w.bottom - w.top;
    }
    ~PaintedBar() { ReleaseDC(hwnd, dc); }
    COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
    HWND hwnd;
    HDC dc;
    int width = 0, height = 0;
};

TEST_F(Floating, GripperAndCaptionArePaintedWhereTheyBelong) {
    const COLORREF face = GetSysColor(COLOR_BTNFACE), light = GetSysColor(COLOR_BTNHIGHLIGHT),
                   shadow = GetSysColor(COLOR_BTNSHADOW);

    // Top side, raised border and gripper: the border's outer pixels, then one pixel of face,
    // then the gripper's raised band three pixels wide running down the bar's left end.
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides | BFX_RAISEDBORDER | BFX_GRIPPER, nullptr,
                      SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    UpdateWindow(frame);
    {
        PaintedBar bar(panel);
        EXPECT_EQ(bar.At(0, 0), light);
        EXPECT_EQ(bar.At(bar.width - 1, bar.height - 1), shadow);
        EXPECT_EQ(bar.At(2, 2), face);
        EXPECT_EQ(bar.At(3, 3), light);                   // gripper top-left
        EXPECT_EQ(bar.At(5, bar.height - 4), shadow);     // gripper bottom-right
        EXPECT_EQ(bar.At(6, bar.height / 2), face);       // just right of it
        EXPECT_EQ(bar.At(3, bar.height - 3), face);       // just below it
    }

    // Left side: the gripper runs across the bar's top instead.
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_LEFT | kAllSides | BFX_RAISEDBORDER | BFX_GRIPPER, nullptr,
                      SD_FLAGS | SD_RECALC), 1);
    UpdateWindow(frame);
    {
        PaintedBar bar(panel);
        EXPECT_EQ(bar.At(3, 3), light);
        EXPECT_EQ(bar.At(bar.width - 4, 5), shadow);
        EXPECT_EQ(bar.At(bar.width / 2, 6), face);
    }

    // A caption replaces the gripper: the window's text is drawn in a band of the small caption's
    // height from one pixel in, and the client area starts right under it. (The caption's
    // background is the system's business: drawn "in a button" it may be the button face.)
    SetWindowTextA(panel, "WWWWWWWW");
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides | BFX_CAPTION | BFX_GRIPPER, nullptr,
                      SD_FLAGS | SD_RECALC), 1);
    UpdateWindow(frame);
    {
        PaintedBar bar(panel);
        const int caption = GetSystemMetrics(SM_CYSMCAPTION);
        auto inkRows = [&](int top, int bottom) {  // rows holding a pixel of neither face nor client
            int rows = 0;
            for (int y = top; y < bottom; ++y)
                for (int x = 1; x < bar.width - 1; ++x)
                    if (bar.At(x, y) != face && bar.At(x, y) != bar.At(bar.width / 2, caption + 2)) {
                        ++rows;
                        break;
                    }
            return rows;
        };
        EXPECT_EQ(bar.At(0, 0), face);
        EXPECT_GT(inkRows(1, 1 + caption), 0);  // the text
        EXPECT_EQ(inkRows(0, 1), 0);
        EXPECT_NE(bar.At(bar.width / 2, caption + 1), face);  // client area right under the band
        EXPECT_NE(bar.At(3, 3), light);  // no gripper edge where a gripper would start
    }
    UnDock(panel);
}

}  // namespace
