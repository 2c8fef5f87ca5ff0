// A managed frame of each kind follows a size change, made by the program or by the user dragging
// its border: the status bar, the four dock sites and the pane fill the new client area. Top-level
// frames lay out in two halves (the library computes on WM_SIZE, the host's WM_SIZEPARENT pass
// places), child frames in one. The border drags place the cursor, which the whole display shares:
// they run in the serial drag program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>

#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using varnex_test::ChildById;
using varnex_test::ClientOf;
using varnex_test::kAllSides;
using varnex_test::WindowRectIn;

namespace {

enum class Kind { kMdiFrame, kSdiFrame, kMdiChild, kChildFrame };
enum class Way { kSetWindowPos, kDragRight, kDragBottom };

std::string Str(const RECT& r) {
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

RECT ScreenRect(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r;
}

// A frame of the kind, attached with a sizing border, one bar docked on each side and, for the MDI
// frame, a status bar.
HWND MakeFrame(Kind kind) {
    constexpr DWORD kShown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    HWND frame = nullptr;
    UINT flags = AF_THICKFRAME | AF_SYSMENU;
    switch (kind) {
    case Kind::kMdiFrame:
        frame = hostkit::CreateMdiFrame("mdi frame", 20, 20, 600, 440, kShown);
        hostkit::CreateStatusBar(frame, 20);
        flags |= AF_MDIFRAME;
        break;
    case Kind::kSdiFrame:
        frame = hostkit::CreateSdiFrame("sdi frame", 20, 20, 600, 440, kShown);
        flags |= AF_SDIFRAME;
        break;
    case Kind::kMdiChild: {
        HWND mdi = hostkit::CreateMdiFrame("holder", 20, 20, 700, 540, kShown);
        frame = hostkit::CreateMdiChild(mdi, "mdi child");
        MoveWindow(frame, 10, 10, 460, 360, TRUE);
        flags |= AF_MDICHILD;
        break;
    }
    case Kind::kChildFrame: {
        HWND host = hostkit::CreateSdiFrame("holder", 20, 20, 700, 540, kShown);
        frame = hostkit::CreateChildFrame(ChildById(host, hostkit::kPaneId), 10, 10, 460, 360);
        flags |= AF_CHILDFRAME;
        break;
    }
    }
    if (!frame || AttachFrame(frame, flags) != 1) return nullptr;
    const struct {
        UINT side, operation;
        int cx, cy;
    } bars[] = {{BFX_TOP, SD_TOP, 120, 24},
                {BFX_LEFT, SD_LEFT, 30, 90},
                {BFX_RIGHT, SD_RIGHT, 40, 90},
                {BFX_BOTTOM, SD_BOTTOM, 120, 26}};
    UINT id = 0x300;
    for (const auto& b : bars) {
        HWND w = hostkit::CreateView(frame, id++, 0, 0, b.cx, b.cy);
        if (SetDock(w, frame, 0, 0, b.cx, b.cy, b.side | kAllSides | BFX_MOVABLE, nullptr,
                    SD_ATTACH | SD_FLAGS | SD_SIZE | b.operation) != 1)
            return nullptr;
    }
    RecalcFrame(frame);
    return frame;
}

// How deep each part of a laid-out frame is: the dock sites (top, left, right, bottom) and the
// status bar (0 when there is none).
struct Depths {
    LONG top, left, right, bottom, status;
};

Depths DepthsOf(HWND frame) {
    auto site = [&](int i) { return WindowRectIn(ChildById(frame, VNX_ID_DOCK_TOP + i), frame); };
    HWND status = ChildById(frame, VNX_ID_STATUSBAR);
    const RECT s = status ? WindowRectIn(status, frame) : RECT{};
    return {site(0).bottom - site(0).top, site(1).right - site(1).left, site(2).right - site(2).left,
            site(3).bottom - site(3).top, s.bottom - s.top};
}

// The parts tile the client area: the status bar along the bottom, the top and bottom sites
// across the whole width, the left and right ones between them, the pane in the middle.
void ExpectFilled(HWND frame, const Depths& d) {
    const RECT c = ClientOf(frame);
    const LONG low = c.bottom - d.status;  // above the status bar
    const LONG inner = low - d.bottom;     // above the bottom site
    auto site = [&](int i) { return Str(WindowRectIn(ChildById(frame, VNX_ID_DOCK_TOP + i), frame)); };
    EXPECT_EQ(site(0), Str({0, 0, c.right, d.top})) << "top site";
    EXPECT_EQ(site(1), Str({0, d.top, d.left, inner})) << "left site";
    EXPECT_EQ(site(2), Str({c.right - d.right, d.top, c.right, inner})) << "right site";
    EXPECT_EQ(site(3), Str({0, inner, c.right, low})) << "bottom site";
    EXPECT_EQ(Str(WindowRectIn(ChildById(frame, VNX_ID_PANE), frame)),
              Str({d.left, d.top, c.right - d.right, inner}))
        << "pane";
    if (d.status) {
        EXPECT_EQ(Str(WindowRectIn(ChildById(frame, VNX_ID_STATUSBAR), frame)), Str({0, low, c.right, c.bottom}))
            << "status bar";
    }
}

// The user drags the border by `hit` from `start` to `end`: the button press and the messages the
// system's sizing loop reads are posted with the cursor where each happens (a posted message
// carries the cursor position of its posting), then run. An Escape after the release ends the loop
// should the release not.
void DragBorder(HWND frame, WPARAM hit, POINT start, POINT end) {
    SetCursorPos(start.x, start.y);
    PostMessageA(frame, WM_NCLBUTTONDOWN, hit, MAKELPARAM(start.x, start.y));
    SetCursorPos(end.x, end.y);
    PostMessageA(frame, WM_MOUSEMOVE, 0, 0);
    PostMessageA(frame, WM_LBUTTONUP, 0, 0);
    PostMessageA(frame, WM_KEYDOWN, VK_ESCAPE, 0);
    varnex_test::Pump();
}

using Resize = std::tuple<Kind, Way>;
const char* const kKindNames[] = {"MdiFrame", "SdiFrame", "MdiChild", "ChildFrame"};
const char* const kWayNames[] = {"SetWindowPos", "DragRight", "DragBottom"};

class FrameResize : public testing::TestWithParam<Resize> {
protected:
    void SetUp() override { SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &savedFullDrag_, 0); }
    void TearDown() override {
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, savedFullDrag_, nullptr, 0);
        hostkit::DestroyAll();
    }
    BOOL savedFullDrag_ = FALSE;
};

TEST_P(FrameResize, PartsFillTheNewClientArea) {
    const auto [kind, way] = GetParam();
    HWND frame = MakeFrame(kind);
    ASSERT_TRUE(frame);
    const Depths depths = DepthsOf(frame);
    ASSERT_TRUE(depths.top > 0 && depths.left > 0 && depths.right > 0 && depths.bottom > 0);
    ExpectFilled(frame, depths);

    const RECT before = ClientOf(frame);
    const RECT w = ScreenRect(frame);
    SIZE change{};
    if (way == Way::kSetWindowPos) {
        change = {-70, -50};
        SetWindowPos(frame, nullptr, 0, 0, w.right - w.left + change.cx, w.bottom - w.top + change.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
        // By the right edge an outline follows the cursor and the frame takes its size on the
        // release; by the bottom edge the frame is sized live.
        const bool right = way == Way::kDragRight;
        SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, !right, nullptr, 0);
        change = right ? SIZE{-70, 0} : SIZE{0, 50};
        const POINT start = right ? POINT{w.right - 2, (w.top + w.bottom) / 2} : POINT{(w.left + w.right) / 2, w.bottom - 2};
        DragBorder(frame, right ? HTRIGHT : HTBOTTOM, start, {start.x + change.cx, start.y + change.cy});
    }
    const RECT after = ClientOf(frame);
    ASSERT_EQ(after.right, before.right + change.cx);
    ASSERT_EQ(after.bottom, before.bottom + change.cy);
    ExpectFilled(frame, depths);
}

INSTANTIATE_TEST_SUITE_P(EveryKind, FrameResize,
                         testing::Combine(testing::Values(Kind::kMdiFrame, Kind::kSdiFrame, Kind::kMdiChild,
                                                          Kind::kChildFrame),
                                          testing::Values(Way::kSetWindowPos, Way::kDragRight, Way::kDragBottom)),
                         [](const testing::TestParamInfo<Resize>& info) {
                             return std::string(kKindNames[static_cast<int>(std::get<0>(info.param))]) +
                                    kWayNames[static_cast<int>(std::get<1>(info.param))];
                         });

}  // namespace
