// Memory running out in the middle of an export: every allocation the library makes is failed in
// turn, and each time the export either succeeds or returns 0 with everything as it was. No
// exception may leave the library: in a host it would cross a window procedure or an export.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <functional>
#include <new>
#include <string>
#include <vector>

#include "core/registry.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

namespace {

// Allocations left before one fails; negative when none is to fail.
int g_allocationsLeft = -1;
bool g_failed = false;  // an allocation was failed

bool AllocationFails() {
    if (g_allocationsLeft < 0) return false;
    if (g_allocationsLeft == 0) return g_failed = true;
    --g_allocationsLeft;
    return false;
}

void* Allocate(std::size_t size) { return std::malloc(size ? size : 1); }

// The library's gate asks whether an allocation may go ahead.
bool AllocationGateAnswer() { return !AllocationFails(); }

}  // namespace

// The program's allocator: the library's heap objects and containers come from here.
void* operator new(std::size_t size) {
    void* block = AllocationFails() ? nullptr : Allocate(size);
    if (!block) throw std::bad_alloc();
    return block;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocationFails() ? nullptr : Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {

using namespace varnex;
using varnex_test::BarOf;
using varnex_test::ManagerOf;
using varnex_test::ProcOf;

// What a host can see of its windows: parent, procedure, visibility and the library's marks.
struct Snapshot {
    std::vector<std::string> lines;
    static Snapshot Of(const std::vector<HWND>& windows) {
        Snapshot s;
        for (HWND w : windows) {
            char line[160];
            std::snprintf(line, sizeof line, "%p parent %p proc %p visible %d frame %d bar %d class %d", (void*)w,
                          (void*)GetParent(w), (void*)ProcOf(w), IsWindowVisible(w) ? 1 : 0,
                          GetPropA(w, kFrameProp) != nullptr, GetPropA(w, kBarProp) != nullptr,
                          GetPropA(w, kCtrlClassProp) != nullptr);
            s.lines.emplace_back(line);
        }
        return s;
    }
};

// Runs `call` with its k-th allocation failing, for k = 0, 1, ... until it runs through without
// reaching the failure. Each refused call must leave the windows as they were and nothing alive.
void FailEachAllocation(const char* name, const std::function<std::vector<HWND>()>& setUp,
                        const std::function<int(const std::vector<HWND>&)>& call) {
    for (int k = 0; k < 200; ++k) {
        SCOPED_TRACE(std::string(name) + ", allocation " + std::to_string(k) + " fails");
        const std::vector<HWND> windows = setUp();
        const long live = LiveWindowObjects();
        const Snapshot before = Snapshot::Of(windows);
        int result = -1;
        g_allocationsLeft = k;
        g_failed = false;
        SetAllocationGate(AllocationGateAnswer);
        try {
            result = call(windows);
        } catch (...) {
            ADD_FAILURE() << "an exception left the library";
        }
        SetAllocationGate(nullptr);
        const bool reached = g_failed;
        g_allocationsLeft = -1;
        if (result == 0) {
            EXPECT_TRUE(reached) << "refused without running out of memory";
            EXPECT_EQ(LiveWindowObjects(), live);
            EXPECT_EQ(Snapshot::Of(windows).lines, before.lines);
        }
        hostkit::DestroyAll();
        EXPECT_EQ(LiveWindowObjects(), 0);
        if (!reached) {
            EXPECT_EQ(result, 1);
            return;
        }
        if (testing::Test::HasFailure()) return;
    }
    ADD_FAILURE() << "the call never ran through";
}

constexpr UINT kDockNow = SD_ATTACH | SD_FLAGS | SD_RECALC;
constexpr UINT kTopBar = BFX_TOP | varnex_test::kAllSides | BFX_FLOATABLE;

std::vector<HWND> ChildFrameWithView() {
    HWND top = hostkit::CreateSdiFrame("holder", 0, 0, 500, 400);
    HWND frame = hostkit::CreateChildFrame(varnex_test::ChildById(top, VNX_ID_PANE), 0, 0, 300, 200);
    HWND view = hostkit::CreateView(frame, 0x301, 0, 0, 50, 20);
    return {top, frame, view};
}

std::vector<HWND> MdiFrameWithStandardToolBar() {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 500, 400);
    HWND dock = hostkit::CreateDockBar(mdi, VNX_ID_DOCK_LEFT);
    HWND standard = hostkit::CreateToolBar(dock, VNX_ID_TOOLBAR, "Standard", 3);
    HWND status = hostkit::CreateStatusBar(mdi);
    return {mdi, dock, standard, status};
}

// An attached SDI frame and views to dock in it, one already docked on top.
std::vector<HWND> FrameWithBars() {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
    hostkit::CreateStatusBar(sdi);
    HWND a = hostkit::CreateView(sdi, 0x301, 0, 0, 50, 20);
    HWND b = hostkit::CreateView(sdi, 0x302, 0, 0, 50, 20);
    AttachFrame(sdi, AF_SDIFRAME);
    SetDock(a, sdi, 0, 0, 0, 0, kTopBar, nullptr, kDockNow);
    return {sdi, a, b};
}

TEST(AllocationFailure, EveryExportUndoesOrSucceeds) {
    FailEachAllocation("child frame attached", ChildFrameWithView,
                       [](const std::vector<HWND>& w) { return AttachFrame(w[1], AF_CHILDFRAME); });
    FailEachAllocation("mdi frame adopting its toolbar", MdiFrameWithStandardToolBar,
                       [](const std::vector<HWND>& w) { return AttachFrame(w[0], AF_MDIFRAME); });
    FailEachAllocation("bar docked", FrameWithBars, [](const std::vector<HWND>& w) {
        return SetDock(w[2], w[0], 0, 0, 0, 0, kTopBar, nullptr, kDockNow);
    });
    FailEachAllocation("bar floated", FrameWithBars, [](const std::vector<HWND>& w) {
        return SetDock(w[2], w[0], 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow);
    });
    FailEachAllocation("docked bar moved to the left", FrameWithBars, [](const std::vector<HWND>& w) {
        return SetDock(w[1], w[0], 0, 0, 0, 0, BFX_LEFT | varnex_test::kAllSides, nullptr, SD_FLAGS | SD_RECALC);
    });
    FailEachAllocation("progress shown", FrameWithBars, [](const std::vector<HWND>& w) {
        return SetStatusBar(varnex_test::ChildById(w[0], VNX_ID_PANE), 0, 10, 1, nullptr, SSB_PROGRESS | SSB_RANGE | SSB_SHOW);
    });
    FailEachAllocation("scroll bar set", FrameWithBars, [](const std::vector<HWND>& w) {
        return SetScrollBar(varnex_test::ChildById(w[0], VNX_ID_PANE), 0, 900, 0, 0, SSR_VERT | SSR_START | SSR_END);
    });
    FailEachAllocation(
        "main toolbar attached",
        [] {
            HWND frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
            return std::vector<HWND>{frame, hostkit::CreateToolBar(frame, VNX_ID_TOOLBAR, "Main", 3)};
        },
        [](const std::vector<HWND>& w) { return SetToolBar(w[1], reinterpret_cast<INT_PTR>(w[0]), 0, nullptr, STB_ATTACH); });
    FailEachAllocation(
        "tree view extended",
        [] {
            HWND frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
            HWND tree = CreateWindowExA(0, WC_TREEVIEWA, nullptr, WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, frame,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
            return std::vector<HWND>{frame, tree};
        },
        [](const std::vector<HWND>& w) { return AttachClass(w[1], CCF_TREEVIEW); });
}

}  // namespace
