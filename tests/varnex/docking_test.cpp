#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include "frame/frame_manager.h"
#include "core/window_procs.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::BarOf;
using varnex_test::kAllSides;
using varnex_test::ChildById;
using varnex_test::ProcOf;
using varnex_test::WindowRectIn;

namespace {

// An MDI frame, shown, attached; and a plain child window to dock.
struct Docking : testing::Test {
    void SetUp() override {
        frame = hostkit::CreateMdiFrame("frame", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_EQ(AttachFrame(frame, AF_MDIFRAME), 1);
        panel = hostkit::CreateView(frame, 0x300, 5, 6, 100, 26);
    }
    void TearDown() override {
        if (IsWindow(frame)) DestroyWindow(frame);
    }
    HWND frame{}, panel{};
};

TEST_F(Docking, SetDockCreatesADockedBar) {
    const WNDPROC panelProc = ProcOf(panel);
    ASSERT_EQ(SetDock(panel, frame, 10, 0, 0, 0, 0x4F10, nullptr, 0x101B), 1);
    CToolBarFx* bar = BarOf(panel);
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->flags & 0xFFFF, 0x4F10u);
    EXPECT_EQ(bar->dockRect.left, 10);
    EXPECT_EQ(bar->dockPos.x, 10);
    EXPECT_EQ(bar->dockPos.y, 0);
    EXPECT_EQ(bar->prevProc, panelProc);
    EXPECT_EQ(ProcOf(panel), BarWndProc);
    CDockSiteFx* top = ManagerOf(frame)->dockSites[0];
    EXPECT_EQ(bar->dockSite, top);
    ASSERT_EQ(top->bars.size(), 1u);
    EXPECT_EQ(GetParent(panel), top->hwnd);
    EXPECT_FALSE(top->Empty());
    EXPECT_EQ(bar->horzSize.cx, 100);  // the client size at attach
    EXPECT_EQ(bar->horzSize.cy, 26);
}

TEST_F(Docking, FlagsAreCheckedBeforeAnythingChanges) {
    EXPECT_EQ(SetDock(panel, frame, 0, 0, 0, 0, 0x14 | BFX_ALLOW_TOP, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(SetDock(panel, frame, 0, 0, 0, 0, 0x10, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(SetDock(panel, frame, 0, 0, 0, 0, 0x0100, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(BarOf(panel), nullptr);
    // Without SD_ATTACH | SD_FLAGS no bar is made; nor without a frame.
    EXPECT_EQ(SetDock(panel, frame, 0, 0, 0, 0, 0x110, nullptr, SD_FLAGS), 0);
    EXPECT_EQ(SetDock(panel, nullptr, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(SetDock(frame, frame, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS), 0);  // not a child
    // The frame's own parts never become its bars.
    for (HWND part : {ChildById(frame, 0xE900), ChildById(frame, 0xE81B), ChildById(frame, 0xE81E)})
        EXPECT_EQ(SetDock(part, frame, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(SetDock(reinterpret_cast<HWND>(-1), frame, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(SetDock(nullptr, frame, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS), 0);
    EXPECT_EQ(LiveWindowObjects(), 1);  // the frame manager alone

    // Top and left asked, only left allowed: accepted, and the bar goes left.
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, 0x30 | BFX_ALLOW_LEFT, nullptr, SD_ATTACH | SD_FLAGS), 1);
    EXPECT_EQ(BarOf(panel)->flags & 0xF0, 0x20u);
    EXPECT_EQ(BarOf(panel)->dockSite, ManagerOf(frame)->dockSites[1]);
}

TEST_F(Docking, PositionAndSizeOperations) {
    DOCKSTATE state{};
    state.reserved = 0xBEEF;
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, &state, SD_ATTACH | SD_FLAGS), 1);
    CToolBarFx* bar = BarOf(panel);
    EXPECT_EQ(bar->state, &state);
    EXPECT_EQ(state.docked, 1);
    EXPECT_EQ(state.side, 0);
    EXPECT_EQ(state.reserved, 0xBEEF);  // never written

    ASSERT_EQ(SetDock(panel, nullptr, -5, 7, 0, 0, 0, nullptr, SD_POSITION | SD_TOP), 1);
    EXPECT_EQ(bar->dockRect.left, -5);
    EXPECT_EQ(bar->dockRect.top, 7);
    EXPECT_EQ(bar->dockPos.x, 0);
    EXPECT_EQ(bar->dockPos.y, 7);
    ASSERT_EQ(SetDock(panel, nullptr, 30, 40, 0, 0, 0, nullptr, SD_POSITION | SD_FLOAT), 1);
    EXPECT_EQ(bar->floatPos.x, 30);
    EXPECT_EQ(bar->floatPos.y, 40);

    const SIZE horz = bar->horzSize;
    ASSERT_EQ(SetDock(panel, nullptr, 0, 0, 0, 120, 0, nullptr, SD_SIZE | SD_LEFT), 1);
    EXPECT_EQ(bar->vertSize.cx, 0);
    EXPECT_EQ(bar->vertSize.cy, 120);
    EXPECT_EQ(bar->horzSize.cy, horz.cy);
    bar->flags |= BFX_ROTATE;
    ASSERT_EQ(SetDock(panel, nullptr, 0, 0, -1, 130, 0, nullptr, SD_SIZE | SD_LEFT), 1);
    EXPECT_EQ(bar->horzSize.cx, horz.cx);
    EXPECT_EQ(bar->horzSize.cy, 130);
    EXPECT_EQ(bar->vertSize.cy, 120);
    ASSERT_EQ(SetDock(panel, nullptr, 0, 0, 90, 50, 0, nullptr, SD_SIZE | SD_FLOAT), 1);
    EXPECT_EQ(bar->floatSize.cx, 90);
    EXPECT_EQ(bar->floatSize.cy, 50);

    // A state record given for a window that has a bar already is ignored.
    DOCKSTATE other{};
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, &other, SD_ATTACH | SD_FLAGS), 1);
    EXPECT_EQ(bar->state, &state);

    // Re-placing on a side the bar is not on changes nothing.
    const RECT before = bar->dockRect;
    EXPECT_EQ(SetDock(panel, nullptr, 0, 0, 0, 0, 0, nullptr, SD_RECALC | SD_BOTTOM), 1);
    EXPECT_TRUE(bar->dockRect == before);
    EXPECT_EQ(SetDock(panel, nullptr, 0, 0, 0, 0, 0, nullptr, SD_ATTACH), 0);  // attach needs a frame
}

TEST_F(Docking, UnDockGivesTheWindowBackAsItWas) {
    const RECT rect = WindowRectIn(panel, frame);
    const LONG style = GetWindowLongA(panel, GWL_STYLE);
    const LONG exStyle = GetWindowLongA(panel, GWL_EXSTYLE) | WS_EX_CLIENTEDGE;
    SetWindowLongA(panel, GWL_EXSTYLE, exStyle);
    const WNDPROC proc = ProcOf(panel);
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_BOTTOM | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    EXPECT_EQ(GetWindowLongA(panel, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    EXPECT_EQ(UnDock(panel), 1);
    EXPECT_EQ(UnDock(panel), 0);
    EXPECT_EQ(GetParent(panel), frame);
    EXPECT_EQ(ProcOf(panel), proc);
    EXPECT_EQ(GetWindowLongA(panel, GWL_STYLE), style);
    EXPECT_EQ(GetWindowLongA(panel, GWL_EXSTYLE), exStyle);
    EXPECT_TRUE(WindowRectIn(panel, frame) == rect);
    EXPECT_TRUE(ManagerOf(frame)->dockSites[3]->Empty());
    EXPECT_TRUE(ManagerOf(frame)->dockSites[3]->bars.empty());
}

TEST_F(Docking, EveryWayOutLeavesTheFrameUsable) {
    HWND second = hostkit::CreateView(frame, 0x301, 0, 0, 80, 20);
    HWND third = hostkit::CreateView(frame, 0x302, 0, 0, 60, 20);
    for (HWND w : {panel, second, third})
        ASSERT_EQ(SetDock(w, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    CDockSiteFx* top = ManagerOf(frame)->dockSites[0];
    ASSERT_EQ(top->bars.size(), 3u);

    // The window destroyed: out of the list at once, its object freed.
    DestroyWindow(second);
    EXPECT_EQ(top->bars.size(), 2u);
    EXPECT_EQ(LiveWindowObjects(), 3);

    // Moved to another frame: out of this one's list, into the other's.
    HWND other = hostkit::CreateSdiFrame("other", 0, 0, 400, 300, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
    ASSERT_EQ(SetDock(third, other, 0, 0, 0, 0, BFX_LEFT | kAllSides, nullptr, SD_FLAGS | SD_RECALC), 1);
    EXPECT_EQ(top->bars.size(), 1u);
    EXPECT_EQ(BarOf(third)->frame, ManagerOf(other));
    EXPECT_EQ(ManagerOf(other)->dockSites[1]->bars.size(), 1u);
    EXPECT_EQ(GetParent(third), ManagerOf(other)->dockSites[1]->hwnd);

    // Handed over without docking, then that frame detached: given back all the same.
    HWND fourth = hostkit::CreateView(frame, 0x303, 0, 0, 50, 20);
    ASSERT_EQ(SetDock(fourth, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    ASSERT_EQ(SetDock(fourth, other, 0, 0, 0, 0, 0, nullptr, SD_POSITION | SD_TOP), 1);
    EXPECT_EQ(BarOf(fourth)->dockSite, nullptr);
    ASSERT_EQ(DetachFrame(other), 1);
    EXPECT_EQ(BarOf(third), nullptr);
    EXPECT_EQ(BarOf(fourth), nullptr);
    EXPECT_EQ(GetParent(third), frame);  // back where it was found

    // The frame goes on: another bar docks, and detaching gives everything back.
    HWND fifth = hostkit::CreateView(frame, 0x304, 0, 0, 50, 20);
    ASSERT_EQ(SetDock(fifth, frame, 0, 0, 0, 0, BFX_RIGHT | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 1);
    ASSERT_EQ(DetachFrame(frame), 1);
    for (HWND w : {panel, fifth}) {
        EXPECT_EQ(BarOf(w), nullptr);
        EXPECT_EQ(GetParent(w), frame);
    }
    EXPECT_EQ(LiveWindowObjects(), 0);

    // And a frame destroyed with its bars docked frees them too.
    ASSERT_EQ(AttachFrame(frame, AF_MDIFRAME), 1);
    ASSERT_EQ(SetDock(panel, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    DestroyWindow(frame);
    EXPECT_EQ(LiveWindowObjects(), 0);
}

TEST(Adoption, FirstStandardToolbarInSiteOrderBecomesABar) {
    for (UINT merge : {0u, AF_MERGEBORDERS}) {
        HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 640, 480, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        HWND bottom = hostkit::CreateDockBar(mdi, 0xE81E);
        HWND left = hostkit::CreateDockBar(mdi, 0xE81C);
        HWND inBottom = hostkit::CreateToolBar(bottom, 0xE800, "Standard", 3);
        HWND inLeft = hostkit::CreateToolBar(left, 0xE800, "Standard", 3);
        ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME | merge), 1);
        CCtrlFrameFx* manager = ManagerOf(mdi);
        ASSERT_TRUE(manager->adoptedBar);
        EXPECT_EQ(manager->adoptedBar->hwnd, inLeft);
        EXPECT_EQ(manager->adoptedBar->flags & ~BFX_HIDDEN, 0x20C26F20u | merge);
        EXPECT_TRUE(manager->adoptedBar->isToolBar);
        EXPECT_FALSE(manager->adoptedBar->isMainToolBar);
        EXPECT_NE(GetWindowLongA(inLeft, GWL_STYLE) & TBSTYLE_WRAPABLE, 0);
        EXPECT_EQ(BarOf(inBottom), nullptr);
        EXPECT_EQ(manager->dockSites[1]->bars.size(), 1u);

        // (HWND)-1 names it in SetDock.
        EXPECT_EQ(SetDock(reinterpret_cast<HWND>(-1), mdi, 0, 0, 0, 0, 0, nullptr, SD_POSITION | SD_LEFT), 1);
        // Undocked, it is no longer the frame's adopted bar.
        EXPECT_EQ(UnDock(inLeft), 1);
        EXPECT_EQ(manager->adoptedBar, nullptr);
        EXPECT_EQ(SetDock(reinterpret_cast<HWND>(-1), mdi, 0, 0, 0, 0, 0, nullptr, SD_POSITION | SD_LEFT), 0);
        DestroyWindow(mdi);
    }
}

TEST(BarSize, FramesAndOrientations) {
    HWND frame = hostkit::CreateSdiFrame("f", 0, 0, 300, 300);
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    HWND w = hostkit::CreateView(frame, 0x310, 0, 0, 10, 10);
    ASSERT_EQ(SetDock(w, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    CToolBarFx* bar = BarOf(w);
    bar->flags |= BFX_GRIPPER | BFX_RAISEDBORDER;
    bar->horzSize = {100, 24};
    bar->vertSize = {0, 0};
    SIZE size{};
    bar->GetBarSize(0x931, &size);
    EXPECT_EQ(size.cx, 110);
    EXPECT_EQ(size.cy, 28);
    bar->GetBarSize(0xA31, &size);
    EXPECT_EQ(size.cx, 104);
    EXPECT_EQ(size.cy, 34);
    bar->flags |= BFX_ROTATE;
    bar->GetBarSize(0xA31, &size);
    EXPECT_EQ(size.cx, 28);
    EXPECT_EQ(size.cy, 110);
    bar->flags |= BFX_CAPTION;  // the caption replaces the gripper
    bar->GetBarSize(0x931, &size);
    EXPECT_EQ(size.cx, 100 + 2 + 2);
    EXPECT_EQ(size.cy, 24 + 2 + GetSystemMetrics(SM_CYSMCAPTION) + 2);
    SIZE untouched{7, 9};
    bar->GetBarSize(0x930, &untouched);  // neither docked nor floating: nothing
    EXPECT_EQ(untouched.cx, 7);
    DetachFrame(frame);
}

TEST(BarSize, ToolbarMeasuredFromItsButtons) {
    for (bool flat : {true, false}) {
        HWND frame = hostkit::CreateMdiFrame("f", 0, 0, 500, 300);
        HWND dock = hostkit::CreateDockBar(frame, 0xE81B);
        HWND toolbar = hostkit::CreateToolBar(dock, 0xE800, "Standard", 3);
        if (!flat) SetWindowLongA(toolbar, GWL_STYLE, GetWindowLongA(toolbar, GWL_STYLE) & ~TBSTYLE_FLAT);
        TBBUTTON separator{};
        separator.iBitmap = 8;
        separator.fsStyle = TBSTYLE_SEP;
        SendMessageA(toolbar, TB_INSERTBUTTONA, 1, reinterpret_cast<LPARAM>(&separator));
        SendMessageA(toolbar, TB_SETBUTTONSIZE, 0, MAKELPARAM(23, 22));
        ASSERT_EQ(LOWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0)), 23);
        ASSERT_EQ(AttachFrame(frame, AF_MDIFRAME), 1);
        CToolBarFx* bar = ManagerOf(frame)->adoptedBar;
        ASSERT_TRUE(bar);
        const LONG height = flat ? 22 : 26;
        EXPECT_EQ(bar->naturalSize.cx, 23);
        EXPECT_EQ(bar->naturalSize.cy, height);
        EXPECT_EQ(bar->horzSize.cx, 77);
        EXPECT_EQ(bar->horzSize.cy, height);
        EXPECT_EQ(bar->vertSize.cx, 23);
        EXPECT_EQ(bar->vertSize.cy, 74);
        DestroyWindow(frame);
    }
}

TEST(PlaceBar, RowsFromTheDropPosition) {
    HWND frame = hostkit::CreateSdiFrame("f", 0, 0, 600, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    CDockSiteFx* top = ManagerOf(frame)->dockSites[0];
    HWND a = hostkit::CreateView(frame, 0x320, 0, 0, 100, 24);
    HWND b = hostkit::CreateView(frame, 0x321, 0, 0, 100, 24);
    HWND c = hostkit::CreateView(frame, 0x322, 0, 0, 100, 24);
    // 100 x 24 clients plus the plain two-pixel frame: 26 high.
    ASSERT_EQ(SetDock(a, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_POSITION | SD_TOP), 1);
    ASSERT_EQ(SetDock(b, frame, 0, 26, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_POSITION | SD_TOP), 1);
    CToolBarFx *first = BarOf(a), *second = BarOf(b);
    first->dockRect = {0, 0, 100, 26};
    first->dockPos = {0, 0};
    second->dockRect = {0, 26, 100, 52};
    second->dockPos = {0, 26};

    // Dropped at 30: below the first row, within half a bar of the second: joins the second.
    ASSERT_EQ(SetDock(c, frame, 0, 30, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS | SD_POSITION | SD_TOP), 1);
    CToolBarFx* third = BarOf(c);
    EXPECT_EQ(third->dockRect.top, 26);
    EXPECT_EQ(third->dockRect.bottom, 52);
    EXPECT_EQ(third->dockPos.y, 26);

    // Dropped at -20 (above the first row): a new first row; the others move down one bar.
    third->dockRect.top = -20;
    top->PlaceBar(third);
    EXPECT_EQ(third->dockRect.top, 0);
    EXPECT_EQ(first->dockRect.top, 26);
    EXPECT_EQ(first->dockPos.y, 26);
    EXPECT_EQ(second->dockRect.top, 52);
    EXPECT_EQ(second->dockPos.y, 52);
    ASSERT_EQ(top->bars.size(), 3u);
    EXPECT_EQ(top->bars[0], third);  // sorted by row
    DetachFrame(frame);
}

TEST(BarProc, MessagesOfADockedToolbar) {
    HWND frame = hostkit::CreateMdiFrame("f", 0, 0, 500, 300, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND dock = hostkit::CreateDockBar(frame, 0xE81B);
    HWND adopted = hostkit::CreateToolBar(dock, 0xE800, "Standard", 4);
    ASSERT_EQ(AttachFrame(frame, AF_MDIFRAME), 1);
    hostkit::Recorder recorder;
    recorder.Watch(adopted);
    EXPECT_EQ(SendMessageA(adopted, WM_NCACTIVATE, TRUE, 0), 0);
    EXPECT_EQ(recorder.Count(adopted, WM_NCACTIVATE), 0u);
    SendMessageA(adopted, WM_TIMER, 1, 0);  // not the main toolbar: its own procedure sees it
    EXPECT_EQ(recorder.Count(adopted, WM_TIMER), 1u);

    // A button added and the toolbar auto-sized: re-measured, 1 whatever the class answered.
    CToolBarFx* bar = BarOf(adopted);
    const LONG before = bar->horzSize.cx;
    TBBUTTON extra{};
    extra.iBitmap = 0;
    extra.idCommand = 200;
    extra.fsState = TBSTATE_ENABLED;
    SendMessageA(adopted, TB_ADDBUTTONSA, 1, reinterpret_cast<LPARAM>(&extra));
    EXPECT_EQ(SendMessageA(adopted, TB_AUTOSIZE, 0, 0), 1);
    EXPECT_GT(bar->horzSize.cx, before);

    // Destroyed, it leaves its site and its property behind.
    CDockSiteFx* top = ManagerOf(frame)->dockSites[0];
    DestroyWindow(adopted);
    EXPECT_TRUE(top->bars.empty());
    EXPECT_EQ(GetPropA(adopted, kBarProp), nullptr);
    EXPECT_EQ(ManagerOf(frame)->adoptedBar, nullptr);
    DetachFrame(frame);
}

TEST(BarProc, RedirectedToolbarGetsItsProcedureBackBeforeBecomingABar) {
    HWND frame = hostkit::CreateSdiFrame("f", 0, 0, 500, 300, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, "main", WS_CHILD, 0, 0, 200, 28, frame,
                                   reinterpret_cast<HMENU>(0xE800), GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(ProcOf(toolbar), BarWndProc);  // redirected, no notify-format query yet
    const WNDPROC own = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(toolbar, GWLP_USERDATA));
    ASSERT_EQ(SetDock(toolbar, frame, 0, 0, 0, 0, BFX_TOP | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    EXPECT_EQ(BarOf(toolbar)->prevProc, own);
    EXPECT_TRUE(BarOf(toolbar)->isMainToolBar);
    // The main toolbar swallows its timers.
    EXPECT_EQ(SendMessageA(toolbar, WM_TIMER, 1, 0), 0);
    EXPECT_EQ(UnDock(toolbar), 1);
    EXPECT_EQ(ProcOf(toolbar), own);
    DetachFrame(frame);
}

}  // namespace
