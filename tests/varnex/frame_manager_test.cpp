#include <gtest/gtest.h>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "core/window_procs.h"
#include "dock/dock_site.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::ChildById;
using varnex_test::ClassOf;
using varnex_test::ProcOf;

namespace {

TEST(AttachFrame, FirstMatchingKindRuleDecides) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 400, 300);
    EXPECT_EQ(AttachFrame(sdi, AF_MDIFRAME), 0);                  // no "MDIClient" child
    EXPECT_EQ(AttachFrame(sdi, AF_MDIFRAME | AF_SDIFRAME), 0);    // the MDI rule matched first
    EXPECT_EQ(ManagerOf(sdi), nullptr);
    EXPECT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    EXPECT_EQ(DetachFrame(sdi), 1);

    HWND host = hostkit::CreateSdiFrame("host", 0, 0, 400, 300);
    HWND child = hostkit::CreateChildFrame(host, 0, 0, 100, 100);
    EXPECT_EQ(AttachFrame(child, AF_MDIFRAME), 0);  // a child falls through to the child rules
    EXPECT_EQ(AttachFrame(child, AF_MDICHILD), 0);  // no WS_EX_MDICHILD
    EXPECT_EQ(AttachFrame(child, AF_MDIFRAME | AF_CHILDFRAME), 1);
    EXPECT_EQ(ManagerOf(child)->isChild, static_cast<UINT>(WS_CHILD));
    EXPECT_EQ(DetachFrame(child), 1);

    EXPECT_EQ(AttachFrame(nullptr, AF_SDIFRAME), 0);
    EXPECT_EQ(AttachFrame(reinterpret_cast<HWND>(0x12345), AF_CHILDFRAME), 0);
}

TEST(AttachFrame, AgainChangesFlagsButNeverTheKind) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 500, 400, WS_OVERLAPPEDWINDOW & ~WS_SYSMENU);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    EXPECT_EQ(AttachFrame(mdi, AF_SDIFRAME), 0);
    EXPECT_EQ(ManagerOf(mdi)->flags, AF_MDIFRAME);
    EXPECT_EQ(GetWindowLongA(mdi, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(AttachFrame(mdi, AF_MDIFRAME | AF_SYSMENU), 1);
    EXPECT_EQ(ManagerOf(mdi)->flags, AF_MDIFRAME | AF_SYSMENU);
    EXPECT_NE(GetWindowLongA(mdi, GWL_STYLE) & WS_SYSMENU, 0);
    EXPECT_EQ(LiveWindowObjects(), 1);  // updated in place, not attached twice
    EXPECT_EQ(DetachFrame(mdi), 1);
}

TEST(AttachFrame, StylesFollowTheFlags) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 400, 300);  // has every box and a thick frame
    // (AF_TOPMOST changes the style word only, which the system does not let change the
    // z-order: nothing a host could see, so nothing to check here.)
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME | AF_TOOLWINDOW), 1);
    const LONG style = GetWindowLongA(sdi, GWL_STYLE);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME | WS_SYSMENU), 0);
    EXPECT_NE(GetWindowLongA(sdi, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);

    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME | AF_MINIMIZEBOX | AF_MAXIMIZEBOX | AF_THICKFRAME), 1);
    EXPECT_EQ(GetWindowLongA(sdi, GWL_STYLE) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME);
    EXPECT_EQ(GetWindowLongA(sdi, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    DetachFrame(sdi);
}

TEST(AttachFrame, SitesArePartsOfTheFrameAndGoneAfterDetach) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 500, 400);
    HWND hostLeft = hostkit::CreateDockBar(mdi, 0xE81C);
    const WNDPROC hostLeftProc = ProcOf(hostLeft);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    CCtrlFrameFx* manager = ManagerOf(mdi);
    ASSERT_EQ(manager->dockSites.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        CDockSiteFx* site = manager->dockSites[i];
        HWND window = ChildById(mdi, 0xE81B + i);
        ASSERT_EQ(site->hwnd, window) << i;
        EXPECT_EQ(ClassOf(window), "AfxControlBar40su");
        EXPECT_EQ(site->flags & SITE_SIDES, 0x10u << i);
        EXPECT_EQ(site->created, i != 1) << "only the left site is the host's";
        EXPECT_EQ(ProcOf(window), FrameWndProc);
    }
    HWND createdTop = manager->dockSites[0]->hwnd;
    EXPECT_EQ(DetachFrame(mdi), 1);
    EXPECT_FALSE(IsWindow(createdTop));
    EXPECT_TRUE(IsWindow(hostLeft));
    EXPECT_EQ(ProcOf(hostLeft), hostLeftProc);
    EXPECT_EQ(GetPropA(mdi, kFrameProp), nullptr);
    EXPECT_EQ(DetachFrame(mdi), 0);
    EXPECT_EQ(RecalcFrame(mdi), 0);
}

TEST(AttachFrame, ChildFrameWithoutPaneGetsOneAndGetsItsChildrenBack) {
    HWND host = hostkit::CreateSdiFrame("host", 0, 0, 400, 300);
    HWND frame = hostkit::CreateChildFrame(host, 0, 0, 300, 200);
    HWND a = hostkit::CreateView(frame, 10, 0, 0, 20, 20);
    HWND b = hostkit::CreateView(frame, 11, 20, 0, 20, 20);
    const WNDPROC frameProc = ProcOf(frame);
    ASSERT_EQ(AttachFrame(frame, AF_CHILDFRAME), 1);

    HWND pane = ChildById(frame, 0xE900);
    ASSERT_TRUE(pane);
    EXPECT_EQ(ClassOf(pane), "AfxFrameOrView40su");
    EXPECT_EQ(GetParent(a), pane);
    EXPECT_EQ(GetParent(b), pane);
    EXPECT_TRUE(ManagerOf(frame)->clientPane->created);

    ASSERT_EQ(DetachFrame(frame), 1);
    EXPECT_FALSE(IsWindow(pane));
    EXPECT_EQ(GetParent(a), frame);
    EXPECT_EQ(GetParent(b), frame);
    EXPECT_EQ(ProcOf(frame), frameProc);
}

TEST(DetachFrame, HostSeesTheAttachRectangleOnceAndNothingOnDestroy) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 30, 40, 400, 300);
    RECT attached;
    GetWindowRect(sdi, &attached);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    hostkit::Recorder recorder;
    recorder.Watch(sdi);
    ASSERT_EQ(DetachFrame(sdi), 1);
    std::vector<hostkit::Message> seen = recorder.For(sdi);
    int count = 0;
    for (const hostkit::Message& m : seen) {
        if (m.message != WM_WINDOWPOSCHANGED) continue;
        ++count;
        const WINDOWPOS* pos = &m.pos;
        EXPECT_EQ(pos->x, attached.left);
        EXPECT_EQ(pos->y, attached.top);
        EXPECT_EQ(pos->cx, attached.right - attached.left);
        EXPECT_EQ(pos->cy, attached.bottom - attached.top);
        EXPECT_EQ(pos->flags, 0x35u);
    }
    EXPECT_EQ(count, 1);

    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    recorder.Clear();
    DestroyWindow(sdi);
    EXPECT_EQ(recorder.Count(sdi, WM_WINDOWPOSCHANGED), 0u);
    EXPECT_EQ(recorder.Count(sdi, WM_DESTROY), 1u);
}

TEST(FrameManager, DestroyedPaneOrStatusBarReleasesEverything) {
    // The client pane goes: the frame is given back whole and can be attached again.
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 400, 300);
    hostkit::CreateStatusBar(sdi);
    const WNDPROC frameProc = ProcOf(sdi);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    DestroyWindow(ChildById(sdi, 0xE900));
    EXPECT_EQ(GetPropA(sdi, kFrameProp), nullptr);
    EXPECT_EQ(ProcOf(sdi), frameProc);
    EXPECT_EQ(LiveWindowObjects(), 0);
    EXPECT_EQ(DetachFrame(sdi), 0);
    EXPECT_EQ(RecalcFrame(sdi), 0);
    hostkit::CreateView(sdi, 0xE900, 0, 0, 10, 10);
    EXPECT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);

    // Then the status bar goes.
    HWND status = ChildById(sdi, 0xE801);
    const WNDPROC statusProcBefore = ProcOf(status);
    EXPECT_EQ(statusProcBefore, FrameWndProc);
    DestroyWindow(status);
    EXPECT_EQ(GetPropA(sdi, kFrameProp), nullptr);
    EXPECT_EQ(ProcOf(sdi), frameProc);
    EXPECT_EQ(LiveWindowObjects(), 0);

    // The frame itself going is the ordinary end.
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    DestroyWindow(sdi);
    EXPECT_EQ(LiveWindowObjects(), 0);
}

}  // namespace
