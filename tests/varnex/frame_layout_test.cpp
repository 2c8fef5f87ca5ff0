#include <gtest/gtest.h>

#include "frame/client_pane.h"
#include "frame/frame_manager.h"
#include "frame/status_bar.h"
#include "dock/dock_site.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::ManagerOf;
using varnex_test::ChildById;
using varnex_test::ClientOf;
using varnex_test::WindowRectIn;

namespace {

TEST(FrameLayout, PaneTakesWhatTheStatusBarLeaves) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 600, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND status = hostkit::CreateStatusBar(mdi, 22);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    const RECT client = ClientOf(mdi);
    EXPECT_TRUE(WindowRectIn(ChildById(mdi, 0xE900), mdi) ==
                (RECT{0, 0, client.right, client.bottom - 22}));
    EXPECT_TRUE(WindowRectIn(status, mdi) == (RECT{0, client.bottom - 22, client.right, client.bottom}));

    // Hidden, the status bar gives its room back at the next layout.
    ShowWindow(status, SW_HIDE);
    EXPECT_FALSE(ManagerOf(mdi)->statusBar->visible);
    RecalcFrame(mdi);
    EXPECT_TRUE(WindowRectIn(ChildById(mdi, 0xE900), mdi) == (RECT{0, 0, client.right, client.bottom}));
    // Shown again, it counts in the minimum height from then on.
    EXPECT_EQ(ManagerOf(mdi)->statusBar->minHeight, 0);
    ShowWindow(status, SW_SHOW);
    EXPECT_EQ(ManagerOf(mdi)->statusBar->minHeight, 22);
    DetachFrame(mdi);
}

TEST(FrameLayout, MergedBordersAroundAMaximizedChild) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 600, 400);
    HWND child = hostkit::CreateMdiChild(mdi, "child");
    ShowWindow(child, SW_MAXIMIZE);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME | AF_MERGEBORDERS), 1);
    CCtrlFrameFx* manager = ManagerOf(mdi);
    ASSERT_TRUE(manager->childMaximized);
    // Empty sites keep only their outer edge, one pixel deep, and the MDI client stays inside.
    const RECT client = ClientOf(mdi);
    EXPECT_EQ(manager->dockSites[0]->flags & SITE_EDGES, SITE_EDGE_TOP);
    EXPECT_EQ(manager->dockSites[1]->flags & SITE_EDGES, SITE_EDGE_LEFT);
    EXPECT_EQ(manager->dockSites[2]->flags & SITE_EDGES, SITE_EDGE_RIGHT);
    EXPECT_EQ(manager->dockSites[3]->flags & SITE_EDGES, SITE_EDGE_BOTTOM);
    EXPECT_TRUE(WindowRectIn(ChildById(mdi, 0xE900), mdi) ==
                (RECT{1, 1, client.right - 1, client.bottom - 1}));
    EXPECT_TRUE(WindowRectIn(manager->dockSites[0]->hwnd, mdi) == (RECT{0, 0, client.right, 1}));
    EXPECT_TRUE(WindowRectIn(manager->dockSites[3]->hwnd, mdi) ==
                (RECT{0, client.bottom - 1, client.right, client.bottom}));
    DetachFrame(mdi);
}

TEST(FrameLayout, SizeMessageComputesOnTopLevelFramesAndPlacesOnChildFrames) {
    HWND host = hostkit::CreateSdiFrame("host", 0, 0, 500, 400);
    HWND frame = hostkit::CreateChildFrame(host, 0, 0, 300, 200);
    ASSERT_EQ(AttachFrame(frame, AF_CHILDFRAME), 1);
    HWND pane = ChildById(frame, 0xE900);
    SetWindowPos(frame, nullptr, 0, 0, 260, 180, SWP_NOZORDER | SWP_NOMOVE);
    const RECT client = ClientOf(frame);
    EXPECT_TRUE(WindowRectIn(pane, frame) == (RECT{0, 0, client.right, client.bottom}));
    DetachFrame(frame);

    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 600, 400);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    HWND mdiClient = ChildById(mdi, 0xE900);
    const RECT before = WindowRectIn(mdiClient, mdi);
    // A top-level frame's own WM_SIZE computes only: the host's procedure gets the message with
    // the pane where it was, and places it in its own WM_SIZEPARENT pass.
    RECT seenByHost{};
    hostkit::ScopedHostHandler hostProcedure([&](HWND hwnd, UINT message, WPARAM, LPARAM) {
        if (hwnd == mdi && message == WM_SIZE) seenByHost = WindowRectIn(mdiClient, mdi);
    });
    SendMessageA(mdi, WM_SIZE, SIZE_RESTORED, MAKELPARAM(300, 200));
    EXPECT_TRUE(seenByHost == before);
    EXPECT_TRUE(WindowRectIn(mdiClient, mdi) == (RECT{0, 0, 300, 200}));
    DetachFrame(mdi);
}

TEST(FrameLayout, KeepClientSizeRemembersTheRestoredPane) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
    ShowWindow(sdi, SW_MAXIMIZE);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME | AF_KEEPCLIENTSIZE | AF_SYSMENU | AF_THICKFRAME | AF_MAXIMIZEBOX), 1);
    CCtrlFrameFx* manager = ManagerOf(sdi);
    EXPECT_TRUE(IsRectEmpty(&manager->clientPane->restoreRect));
    RECT window;
    GetWindowRect(sdi, &window);
    manager->RecalcLayout(LAYOUT_RESTORED | LAYOUT_FITFRAME | LAYOUT_COMPUTE, nullptr);  // nothing known yet
    RECT after;
    GetWindowRect(sdi, &after);
    EXPECT_TRUE(after == window);

    ShowWindow(sdi, SW_RESTORE);  // the first restored WM_SIZE records the client rectangle
    const RECT client = ClientOf(sdi);
    EXPECT_TRUE(manager->clientPane->restoreRect == client);

    // Maximized and restored again, the frame comes back around the same client size.
    ShowWindow(sdi, SW_MAXIMIZE);
    SendMessageA(sdi, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(IsZoomed(sdi));
    EXPECT_TRUE(ClientOf(sdi) == client);
    EXPECT_TRUE(manager->clientPane->restoreRect == client);
    DetachFrame(sdi);
}

TEST(FrameLayout, SizingIsClampedToTheTrackSize) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 100, 100, 500, 400);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME | AF_THICKFRAME | AF_BORDERSIZE), 1);
    CCtrlFrameFx* manager = ManagerOf(sdi);
    manager->clientPane->minSize = {300, 200};
    RECT window, client = ClientOf(sdi);
    GetWindowRect(sdi, &window);
    const LONG ncx = (window.right - window.left) - client.right;
    const LONG ncy = (window.bottom - window.top) - client.bottom;

    // Each edge dragged to a client size of 250 x 150: the moving edges stop at 300 x 200.
    struct EdgeCase {
        UINT edge;
        bool left, top, right, bottom;  // which edges move
    };
    const EdgeCase edges[] = {
        {WMSZ_LEFT, true, false, false, false},     {WMSZ_RIGHT, false, false, true, false},
        {WMSZ_TOP, false, true, false, false},      {WMSZ_BOTTOM, false, false, false, true},
        {WMSZ_TOPLEFT, true, true, false, false},   {WMSZ_TOPRIGHT, false, true, true, false},
        {WMSZ_BOTTOMLEFT, true, false, false, true}, {WMSZ_BOTTOMRIGHT, false, false, true, true},
    };
    for (const EdgeCase& c : edges) {
        RECT dragged = window;
        if (c.left) dragged.left = dragged.right - 250 - ncx;
        if (c.right) dragged.right = dragged.left + 250 + ncx;
        if (c.top) dragged.top = dragged.bottom - 150 - ncy;
        if (c.bottom) dragged.bottom = dragged.top + 150 + ncy;
        EXPECT_EQ(SendMessageA(sdi, WM_SIZING, c.edge, reinterpret_cast<LPARAM>(&dragged)), 1);
        RECT expected = window;
        if (c.left) expected.left = window.right - 300 - ncx;
        if (c.right) expected.right = window.left + 300 + ncx;
        if (c.top) expected.top = window.bottom - 200 - ncy;
        if (c.bottom) expected.bottom = window.top + 200 + ncy;
        EXPECT_TRUE(dragged == expected) << "edge " << c.edge;
    }

    // The maximum wins over a larger minimum; without a limit (0xFFFF) only the minimum applies.
    manager->clientPane->maxSize = {280, 0xFFFF};
    RECT dragged = window;
    SendMessageA(sdi, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&dragged));
    EXPECT_EQ(dragged.right, dragged.left + 280 + ncx);
    EXPECT_EQ(dragged.bottom, window.bottom);
    DetachFrame(sdi);
}

TEST(FrameLayout, MinimumOfAnMdiFrameWithAMaximizedChildIsTheChilds) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 600, 400);
    hostkit::CreateStatusBar(mdi, 20);
    HWND child = hostkit::CreateMdiChild(mdi, "child");
    ShowWindow(child, SW_MAXIMIZE);
    ASSERT_EQ(AttachFrame(child, AF_MDICHILD), 1);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    ManagerOf(child)->clientPane->minSize = {321, 123};
    ManagerOf(mdi)->clientPane->minSize = {5, 5};
    ManagerOf(mdi)->statusBar->minHeight = 20;
    SIZE minimum{};
    ManagerOf(mdi)->GetTrackSize(0x400, &minimum);
    EXPECT_EQ(minimum.cx, 321);
    EXPECT_EQ(minimum.cy, 123 + 20);
    DetachFrame(mdi);
    DetachFrame(child);
}

}  // namespace
