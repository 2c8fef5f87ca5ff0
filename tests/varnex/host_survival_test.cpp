// What real hosts do to the library: detach and undock from inside their own notifications,
// windows the library cannot create, windows handed to it twice over, pointers it was never
// given, and coordinates no screen has. Each case checks what the host can see afterwards.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/registry.h"
#include "dock/dock_site.h"
#include "census.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::BarOf;
using varnex_test::ChildById;
using varnex_test::ClientOf;
using varnex_test::ManagerOf;
using varnex_test::ProcOf;
using varnex_test::WindowRectIn;

namespace {

constexpr UINT kDockNow = SD_ATTACH | SD_FLAGS | SD_RECALC;
constexpr UINT kTopBar = BFX_TOP | varnex_test::kAllSides | BFX_FLOATABLE | BFX_MOVABLE;

// Frames of every kind, built the way the host builds them.
enum class FrameKind { kMdi, kSdi, kMdiChild, kChildFrame };
struct Frame {
    HWND top{};    // the top-level window (the frame itself for top-level kinds)
    HWND hwnd{};   // the frame attached
    UINT flags{};
};

Frame MakeFrame(FrameKind kind, bool statusBar = true) {
    Frame f;
    switch (kind) {
    case FrameKind::kMdi:
        f.top = f.hwnd = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400);
        f.flags = AF_MDIFRAME;
        break;
    case FrameKind::kSdi:
        f.top = f.hwnd = hostkit::CreateSdiFrame("sdi", 0, 0, 520, 400);
        f.flags = AF_SDIFRAME;
        break;
    case FrameKind::kMdiChild:
        f.top = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400);
        f.hwnd = hostkit::CreateMdiChild(f.top, "child");
        f.flags = AF_MDICHILD;
        break;
    case FrameKind::kChildFrame:
        f.top = hostkit::CreateSdiFrame("holder", 0, 0, 520, 400);
        f.hwnd = hostkit::CreateChildFrame(ChildById(f.top, VNX_ID_PANE), 10, 10, 300, 200);
        hostkit::CreateView(f.hwnd, 0x301, 4, 4, 60, 20);  // moves into the pane the library makes
        f.flags = AF_CHILDFRAME;
        break;
    }
    if (statusBar) hostkit::CreateStatusBar(f.hwnd);
    return f;
}

const char* Name(FrameKind kind) {
    switch (kind) {
    case FrameKind::kMdi: return "mdi frame";
    case FrameKind::kSdi: return "sdi frame";
    case FrameKind::kMdiChild: return "mdi child";
    case FrameKind::kChildFrame: return "child frame";
    }
    return "";
}

constexpr FrameKind kAllKinds[] = {FrameKind::kMdi, FrameKind::kSdi, FrameKind::kMdiChild, FrameKind::kChildFrame};

// Runs `action` once, the first time `message` reaches the host's procedure of `window`.
hostkit::HostHandler Once(HWND window, UINT message, std::function<void()> action, WPARAM wParam = 0,
                          bool matchWParam = false) {
    auto done = std::make_shared<bool>(false);
    return [=](HWND hwnd, UINT m, WPARAM w, LPARAM) {
        if (*done || hwnd != window || m != message || (matchWParam && w != wParam)) return;
        *done = true;
        action();
    };
}

// ---- detached, undocked or destroyed from the host's own notifications -----------------------

TEST(HostNotification, DetachFrameInTheFramesOwnDestroyFreesOnce) {
    for (FrameKind kind : kAllKinds) {
        SCOPED_TRACE(Name(kind));
        Frame f = MakeFrame(kind);
        ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
        int result = -1;
        hostkit::ScopedHostHandler host(Once(f.hwnd, WM_DESTROY, [&] { result = DetachFrame(f.hwnd); }));
        hostkit::Recorder recorder;
        recorder.Watch(f.hwnd);
        DestroyWindow(f.hwnd);
        EXPECT_EQ(result, 0) << "the frame manager was still there for the host to detach";
        EXPECT_EQ(LiveWindowObjects(), 0);
        EXPECT_EQ(recorder.Count(f.hwnd, WM_WINDOWPOSCHANGED), 0u) << "attach rectangle replayed into a dying frame";
        DestroyWindow(f.top);
    }
}

// The host hears of every step of an attach and may call back from there: a frame still being
// attached is left alone by everything but DetachFrame, and the attach ends as the host left it.
// A detach from there leaves no window of the library behind and the host's children home.
TEST(HostNotification, CallsFromInsideAnAttach) {
    struct Action {
        const char* name;
        std::function<void(HWND frame, HWND bar, HWND made)> call;
        int attached;
    } actions[] = {{"laid out", [](HWND frame, HWND, HWND) { RecalcFrame(frame); }, 1},
                   {"attached again", [](HWND frame, HWND, HWND) { AttachFrame(frame, AF_SDIFRAME); }, 1},
                   {"given a bar", [](HWND frame, HWND bar, HWND) { SetDock(bar, frame, 0, 0, 0, 0, kTopBar, nullptr, kDockNow); }, 1},
                   // The library's window, not yet named by CreateWindowEx, is the library's all the same.
                   {"handed the new window as a bar",
                    [](HWND frame, HWND, HWND made) { EXPECT_EQ(SetDock(made, frame, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 0); }, 1},
                   {"handed the new window as a frame",
                    [](HWND, HWND, HWND made) { EXPECT_EQ(AttachFrame(made, AF_CHILDFRAME), 0); }, 1},
                   {"detached", [](HWND frame, HWND, HWND) { DetachFrame(frame); }, 0},
                   {"destroyed", [](HWND frame, HWND, HWND) { DestroyWindow(frame); }, 0}};
    // The window being made when the host's class procedure hears of it: the first site, with
    // three still to come; the last site; the pane the children are about to move into.
    const struct {
        FrameKind kind;
        UINT heard;
    } moments[] = {{FrameKind::kSdi, VNX_ID_DOCK_TOP}, {FrameKind::kChildFrame, VNX_ID_DOCK_BOTTOM},
                   {FrameKind::kChildFrame, VNX_ID_PANE}};
    for (const auto& moment : moments) {
        for (const Action& action : actions) {
            SCOPED_TRACE(testing::Message() << Name(moment.kind) << ", 0x" << std::hex << moment.heard << std::dec
                                            << " made, " << action.name);
            Frame f = MakeFrame(moment.kind);
            HWND bar = hostkit::CreateView(f.hwnd, 0x302, 0, 0, 80, 24);
            HWND made = nullptr;
            hostkit::ScopedHostHandler host([&](HWND hwnd, UINT message, WPARAM, LPARAM) {
                if (made || message != WM_CREATE || GetDlgCtrlID(hwnd) != static_cast<int>(moment.heard)) return;
                made = hwnd;
                action.call(f.hwnd, bar, made);
            });
            EXPECT_EQ(AttachFrame(f.hwnd, f.flags), action.attached);
            EXPECT_NE(made, nullptr);
            EXPECT_EQ(ManagerOf(f.hwnd) != nullptr, action.attached == 1);
            if (action.attached) {
                EXPECT_EQ(RecalcFrame(f.hwnd), 1);
                EXPECT_EQ(GetParent(made), f.hwnd);
            } else {
                EXPECT_EQ(LiveLibraryWindows(), 0);
                if (IsWindow(f.hwnd)) {
                    EXPECT_EQ(GetParent(bar), f.hwnd);
                }
            }
            DestroyWindow(f.top);
        }
    }
}

// Two frames that are each other's bars: the first floats from the second's site, the second is
// docked in the first. A frame state passes down to docked frames only, and so comes to an end.
TEST(HostNotification, FrameStatePassesDownToDockedFramesOnly) {
    HWND holder = hostkit::CreateSdiFrame("holder", 0, 0, 520, 400);
    HWND first = hostkit::CreateChildFrame(ChildById(holder, VNX_ID_PANE), 10, 10, 200, 150);
    HWND second = hostkit::CreateChildFrame(ChildById(holder, VNX_ID_PANE), 220, 10, 200, 150);
    ASSERT_EQ(AttachFrame(first, AF_CHILDFRAME), 1);
    ASSERT_EQ(AttachFrame(second, AF_CHILDFRAME), 1);
    ASSERT_EQ(SetDock(first, second, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 1);
    ASSERT_EQ(SetDock(second, first, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    for (HWND frame : {first, second}) {
        PostMessageA(frame, WM_FXSTATE, FXS_MINIMIZE, 0);
        int passed = 0;
        MSG msg;
        while (passed < 100 && PeekMessageA(&msg, nullptr, WM_FXSTATE, WM_FXSTATE, PM_REMOVE)) {
            DispatchMessageA(&msg);
            ++passed;
        }
        EXPECT_LE(passed, 2);
    }
    DestroyWindow(holder);
}

TEST(HostNotification, PartsDestroyedWithTheHostDetachingInside) {
    struct Case {
        const char* name;
        FrameKind kind;
        UINT part;
    } cases[] = {{"status bar of an sdi frame", FrameKind::kSdi, VNX_ID_STATUSBAR},
                 {"status bar of an mdi frame", FrameKind::kMdi, VNX_ID_STATUSBAR},
                 {"view of an sdi frame", FrameKind::kSdi, VNX_ID_PANE},
                 {"mdi client", FrameKind::kMdi, VNX_ID_PANE}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f = MakeFrame(c.kind);
        const WNDPROC hostProc = ProcOf(f.hwnd);
        ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
        HWND part = ChildById(f.hwnd, c.part);
        int result = -1;
        hostkit::ScopedHostHandler host(Once(part, WM_DESTROY, [&] { result = DetachFrame(f.hwnd); }));
        DestroyWindow(part);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(ManagerOf(f.hwnd), nullptr);
        EXPECT_EQ(ProcOf(f.hwnd), hostProc);
        EXPECT_EQ(LiveWindowObjects(), 0);
        DestroyWindow(f.top);
    }
}

TEST(HostNotification, UnDockInTheBarsOwnDestroy) {
    for (bool floating : {false, true}) {
        SCOPED_TRACE(floating ? "floating" : "docked");
        Frame f = MakeFrame(FrameKind::kSdi);
        ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
        HWND view = hostkit::CreateView(f.hwnd, 0x301, 0, 0, 80, 24);
        ASSERT_EQ(SetDock(view, f.hwnd, 0, 0, 0, 0, kTopBar | (floating ? BFX_FLOATING : 0), nullptr, kDockNow), 1);
        int result = -1;
        hostkit::ScopedHostHandler host(Once(view, WM_DESTROY, [&] { result = UnDock(view); }));
        DestroyWindow(view);
        EXPECT_EQ(result, 0) << "the bar was still there for the host to undock";
        EXPECT_EQ(LiveWindowObjects(), 1);
        for (int i = 0; i < 4; ++i) EXPECT_TRUE(ManagerOf(f.hwnd)->dockSites[i]->bars.empty()) << "site " << i;
        EXPECT_EQ(RecalcFrame(f.hwnd), 1);
        DestroyWindow(f.top);
    }
    // A stand-alone main toolbar.
    HWND frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
    HWND toolbar = hostkit::CreateToolBar(frame, VNX_ID_TOOLBAR, "Main", 3);
    ASSERT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(frame), 0, nullptr, STB_ATTACH), 1);
    hostkit::ScopedHostHandler host(Once(toolbar, WM_DESTROY, [&] { UnDock(toolbar); }));
    DestroyWindow(toolbar);
    EXPECT_EQ(LiveWindowObjects(), 0);
    DestroyWindow(frame);
}

TEST(HostNotification, RestoreHandedToAHostThatDetachesOrCloses) {
    struct Case {
        const char* name;
        FrameKind kind;
        UINT extra;
        bool destroy;
    } cases[] = {{"iconic mdi child, detached", FrameKind::kMdiChild, AF_SYSMENU, false},
                 {"iconic mdi child, closed", FrameKind::kMdiChild, AF_SYSMENU, true},
                 {"frame without system menu, detached", FrameKind::kSdi, 0, false},
                 {"frame without system menu, closed", FrameKind::kSdi, 0, true},
                 {"frame keeping its client size, closed", FrameKind::kSdi, AF_KEEPCLIENTSIZE, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Frame f = MakeFrame(c.kind);
        ASSERT_EQ(AttachFrame(f.hwnd, f.flags | c.extra), 1);
        if (c.kind == FrameKind::kMdiChild) ShowWindow(f.hwnd, SW_MINIMIZE);
        hostkit::ScopedHostHandler host(Once(
            f.hwnd, WM_SYSCOMMAND, [&] { c.destroy ? (void)DestroyWindow(f.hwnd) : (void)DetachFrame(f.hwnd); },
            SC_RESTORE, true));
        SendMessageA(f.hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
        EXPECT_EQ(ManagerOf(f.hwnd), nullptr);
        EXPECT_EQ(LiveWindowObjects(), 0);
        DestroyWindow(f.top);
    }
}

// ---- windows the library cannot create -------------------------------------------------------

// Refuses the creation of the windows a test names, as a system out of resources would.
class CreationRefusal {
public:
    // Refuses the `nth` window (counting from 1) of one of the classes created from now on.
    CreationRefusal(std::vector<std::string> classes, int nth) : classes_(std::move(classes)), left_(nth) {
        active_ = this;
        hook_ = SetWindowsHookExA(WH_CBT, Hook, nullptr, GetCurrentThreadId());
    }
    ~CreationRefusal() {
        UnhookWindowsHookEx(hook_);
        active_ = nullptr;
    }
    bool Refused() const { return left_ <= 0; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND && active_ && active_->left_ > 0 && active_->Matches(reinterpret_cast<HWND>(wParam)))
            if (--active_->left_ == 0) return 1;
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    bool Matches(HWND hwnd) const {
        const std::string name = varnex_test::ClassOf(hwnd);
        for (const std::string& c : classes_)
            if (_stricmp(c.c_str(), name.c_str()) == 0) return true;
        return false;
    }
    static inline CreationRefusal* active_ = nullptr;
    std::vector<std::string> classes_;
    int left_;
    HHOOK hook_{};
};

// Every child of a window and where it sits: nothing may move when an attach is refused.
BOOL CALLBACK AddToFamily(HWND w, LPARAM list) {
    reinterpret_cast<std::vector<std::pair<HWND, HWND>>*>(list)->emplace_back(w, GetParent(w));
    return TRUE;
}

std::vector<std::pair<HWND, HWND>> Family(HWND frame) {
    std::vector<std::pair<HWND, HWND>> family;
    EnumChildWindows(frame, AddToFamily, reinterpret_cast<LPARAM>(&family));
    return family;
}

TEST(FailedCreation, AttachFrameGivesEverythingBackAndReturnsZero) {
    struct Case {
        const char* name;
        FrameKind kind;
        int windows;  // windows the library makes for this frame: pane and sites
    } cases[] = {{"child frame", FrameKind::kChildFrame, 5}, {"mdi frame without dock bars", FrameKind::kMdi, 4}};
    for (const Case& c : cases) {
        for (int nth = 1; nth <= c.windows; ++nth) {
            SCOPED_TRACE(std::string(c.name) + ", window " + std::to_string(nth) + " refused");
            Frame f = MakeFrame(c.kind);
            const WNDPROC hostProc = ProcOf(f.hwnd);
            const auto before = Family(f.hwnd);
            {
                CreationRefusal refusal({"AfxFrameOrView40su", "AfxControlBar40su"}, nth);
                EXPECT_EQ(AttachFrame(f.hwnd, f.flags), 0);
                EXPECT_TRUE(refusal.Refused());
            }
            EXPECT_EQ(Family(f.hwnd), before);
            EXPECT_EQ(ProcOf(f.hwnd), hostProc);
            EXPECT_EQ(ManagerOf(f.hwnd), nullptr);
            EXPECT_EQ(LiveWindowObjects(), 0);
            // Nothing is left half done: the same frame attaches once the system lets it.
            EXPECT_EQ(AttachFrame(f.hwnd, f.flags), 1);
            EXPECT_EQ(DetachFrame(f.hwnd), 1);
            auto sorted = before, after = Family(f.hwnd);  // the attach stacked the parts anew
            std::sort(sorted.begin(), sorted.end());
            std::sort(after.begin(), after.end());
            EXPECT_EQ(after, sorted);
            DestroyWindow(f.top);
        }
    }
}

TEST(FailedCreation, AFrameWhoseInstanceHasNoFrameworkClassIsRefused) {
    Frame f = MakeFrame(FrameKind::kChildFrame);
    SetWindowLongPtrA(f.hwnd, GWLP_HINSTANCE, reinterpret_cast<LONG_PTR>(GetModuleHandleA("user32.dll")));
    const auto before = Family(f.hwnd);
    EXPECT_EQ(AttachFrame(f.hwnd, f.flags), 0);
    EXPECT_EQ(Family(f.hwnd), before);
    EXPECT_EQ(LiveWindowObjects(), 0);
    DestroyWindow(f.top);
}

// The floating window is the library's from its first message: a host that hears of it being
// made cannot hand it back to the library.
TEST(HostNotification, FloatingWindowBeingMadeStaysTheLibrarys) {
    Frame f = MakeFrame(FrameKind::kSdi);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND view = hostkit::CreateView(f.hwnd, 0x301, 5, 6, 80, 24);
    HWND made = nullptr;
    int handedBack = -1;
    hostkit::ScopedHostHandler host([&](HWND hwnd, UINT message, WPARAM, LPARAM) {
        if (made || message != WM_CREATE || (GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD)) return;
        made = hwnd;
        handedBack = AttachClass(made, CCF_NOWHEEL);
    });
    EXPECT_EQ(SetDock(view, f.hwnd, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 1);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(handedBack, 0);
    EXPECT_EQ(GetParent(view), made);
    DestroyWindow(f.top);
}

TEST(FailedCreation, FloatingWindowRefusedLeavesTheWindowAsFound) {
    Frame f = MakeFrame(FrameKind::kSdi);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND view = hostkit::CreateView(f.hwnd, 0x301, 5, 6, 80, 24);
    const RECT found = WindowRectIn(view, f.hwnd);
    {
        CreationRefusal refusal({"AfxFrameOrView40su"}, 1);
        EXPECT_EQ(SetDock(view, f.hwnd, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 0);
    }
    EXPECT_EQ(BarOf(view), nullptr);
    EXPECT_EQ(GetParent(view), f.hwnd);
    EXPECT_EQ(WindowRectIn(view, f.hwnd), found);
    EXPECT_EQ(LiveWindowObjects(), 1);
    // A docked bar asked to float keeps its place when the floating window cannot be made.
    ASSERT_EQ(SetDock(view, f.hwnd, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    HWND site = GetParent(view);
    {
        CreationRefusal refusal({"AfxFrameOrView40su"}, 1);
        EXPECT_EQ(SetDock(view, f.hwnd, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 0);
    }
    EXPECT_EQ(GetParent(view), site);
    EXPECT_FALSE(BarOf(view)->IsFloating());
    EXPECT_NE(GetWindowLongA(view, GWL_STYLE) & WS_VISIBLE, 0);
    DestroyWindow(f.top);
}

TEST(FailedCreation, ProgressControlRefused) {
    Frame f = MakeFrame(FrameKind::kMdi);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND pane = ChildById(f.hwnd, VNX_ID_PANE);
    const long windows = LiveLibraryWindows();
    {
        CreationRefusal refusal({PROGRESS_CLASSA}, 1);
        EXPECT_EQ(SetStatusBar(pane, 0, 100, 5, nullptr, SSB_PROGRESS | SSB_RANGE | SSB_SHOW), 0);
        EXPECT_TRUE(refusal.Refused());
    }
    EXPECT_EQ(LiveLibraryWindows(), windows);
    EXPECT_EQ(SetStatusBar(pane, 0, 100, 5, nullptr, SSB_PROGRESS | SSB_RANGE | SSB_SHOW), 1);
    DestroyWindow(f.top);
}

// ---- one window handed over twice ------------------------------------------------------------

// A host's own subclass: forwards every message to the procedure it replaced, and puts that
// procedure back when asked, whatever sits above it by then (as hosts do).
std::map<HWND, std::vector<WNDPROC>> g_hostSaved;
LRESULT CALLBACK HostSubclass(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return CallWindowProcA(g_hostSaved[hwnd].back(), hwnd, message, wParam, lParam);
}

// One window taken over by a frame manager, a bar, a control extension and a host subclass, in
// several orders, and given back in every order: nothing loops, a message still reaches the
// window's own procedure exactly once, and in the end the window runs its own procedure.
// A window that is a frame, a bar and an extended control at once, taken in any order, docked or
// floating, destroyed by the host: every object on it is released, none outlives it.
TEST(SubclassChain, DestroyedWithEveryOwnerOnIt) {
    enum Owner { kFrame, kBar, kExtension };
    for (UINT kind : {CCF_NOWHEEL, CCF_NOTEBOOK}) {
        for (UINT floating : {0u, BFX_FLOATING, BFX_FLOATING | BFX_HIDDEN}) {
            std::vector<Owner> take = {kFrame, kBar, kExtension};
            do {
                SCOPED_TRACE(testing::Message() << "kind " << kind << " floating " << floating << " taken " << take[0]
                                                << take[1] << take[2]);
                HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
                ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
                HWND w = hostkit::CreateChildFrame(sdi, 0, 0, 200, 100, 0x302);
                for (Owner o : take) {
                    switch (o) {
                    case kFrame: ASSERT_EQ(AttachFrame(w, AF_CHILDFRAME), 1); break;
                    case kBar: ASSERT_EQ(SetDock(w, sdi, 0, 0, 0, 0, kTopBar | floating, nullptr, kDockNow), 1); break;
                    case kExtension: ASSERT_EQ(AttachClass(w, kind), 1); break;
                    }
                }
                // The frame has bars of its own, one floating.
                HWND docked = hostkit::CreateView(w, 0x303, 0, 0, 40, 20);
                HWND afloat = hostkit::CreateView(w, 0x304, 0, 0, 40, 20);
                ASSERT_EQ(SetDock(docked, w, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
                ASSERT_EQ(SetDock(afloat, w, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 1);
                // Handed on to another frame as it is.
                HWND other = hostkit::CreateSdiFrame("other", 0, 0, 500, 400);
                ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
                ASSERT_EQ(SetDock(w, other, 0, 0, 0, 0, kTopBar | floating, nullptr, kDockNow), 1);
                DestroyWindow(w);
                EXPECT_EQ(LiveWindowObjects(), 2);  // the sdi frames' managers alone
                EXPECT_EQ(varnex_test::LibraryProperties(), 2);
                DestroyWindow(other);
                DestroyWindow(sdi);
            } while (std::next_permutation(take.begin(), take.end()));
        }
    }
}

// A frame made a bar by the host from inside one of its own messages, then destroyed: the bar
// hears of the end and goes with the frame.
TEST(SubclassChain, FrameMadeABarFromInsideItsOwnMessage) {
    for (UINT message : {static_cast<UINT>(WM_PARENTNOTIFY), static_cast<UINT>(WM_SIZE)}) {
        SCOPED_TRACE(message);
        HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
        HWND other = hostkit::CreateSdiFrame("other", 0, 0, 500, 400);
        ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
        ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
        HWND w = hostkit::CreateChildFrame(ChildById(sdi, VNX_ID_PANE), 0, 0, 200, 100, 0x337);
        ASSERT_EQ(AttachFrame(w, AF_CHILDFRAME), 1);
        int docked = -1;
        {
            hostkit::ScopedHostHandler host(Once(w, message, [&] {
                docked = SetDock(w, other, 0, 0, 0, 0, BFX_LEFT | varnex_test::kAllSides, nullptr, kDockNow);
            }));
            hostkit::CreateView(w, 0x305, 0, 0, 20, 20);
            SetWindowPos(w, nullptr, 0, 0, 240, 130, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        EXPECT_EQ(docked, 1);
        DestroyWindow(w);
        EXPECT_EQ(LiveWindowObjects(), 2);
        DestroyWindow(other);
        DestroyWindow(sdi);
    }
}

TEST(SubclassChain, EveryOrderOfGivingBack) {
    enum Owner { kFrame, kBar, kExtension, kHost };
    const std::vector<std::vector<Owner>> takes = {
        {kFrame, kBar, kExtension, kHost}, {kBar, kHost, kFrame, kExtension}, {kHost, kExtension, kBar, kFrame}};
    constexpr UINT kProbe = WM_APP + 11;
    for (const auto& take : takes) {
        std::vector<Owner> give = {kFrame, kBar, kExtension, kHost};
        do {
            SCOPED_TRACE(testing::Message() << "taken " << take[0] << take[1] << take[2] << take[3] << ", given back "
                                            << give[0] << give[1] << give[2] << give[3]);
            HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
            ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
            HWND w = hostkit::CreateChildFrame(sdi, 0, 0, 200, 100, 0x302);
            const WNDPROC own = ProcOf(w);
            for (Owner o : take) {
                switch (o) {
                case kFrame: ASSERT_EQ(AttachFrame(w, AF_CHILDFRAME), 1); break;
                case kBar: ASSERT_EQ(SetDock(w, sdi, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1); break;
                case kExtension: ASSERT_EQ(AttachClass(w, CCF_NOWHEEL), 1); break;
                case kHost:
                    g_hostSaved[w].push_back(reinterpret_cast<WNDPROC>(
                        SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(HostSubclass))));
                    break;
                }
            }
            hostkit::Recorder recorder;
            recorder.Watch(w);
            for (Owner o : give) {
                switch (o) {
                case kFrame: EXPECT_EQ(DetachFrame(w), 1); break;
                case kBar: EXPECT_EQ(UnDock(w), 1); break;
                case kExtension: EXPECT_EQ(DetachClass(w), 1); break;
                case kHost: SetWindowLongPtrA(w, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_hostSaved[w].back())); break;
                }
                recorder.Clear();
                SendMessageA(w, kProbe, 0, 0);
                EXPECT_EQ(recorder.Count(w, kProbe), 1u);
            }
            EXPECT_EQ(ProcOf(w), own);
            DestroyWindow(sdi);
            g_hostSaved.clear();
        } while (std::next_permutation(give.begin(), give.end()));
    }
    // An MDI child docked into its own MDI frame, both detached, the child first, then attached
    // again: the frame procedure never became its own previous procedure.
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400);
    HWND child = hostkit::CreateMdiChild(mdi, "child");
    const WNDPROC childProc = ProcOf(child);
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    ASSERT_EQ(AttachFrame(child, AF_MDICHILD), 1);
    ASSERT_EQ(SetDock(child, mdi, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    EXPECT_EQ(DetachFrame(child), 1);
    EXPECT_EQ(DetachFrame(mdi), 1);
    EXPECT_EQ(ProcOf(child), childProc);
    ASSERT_EQ(AttachFrame(child, AF_MDICHILD), 1);
    SendMessageA(child, WM_NULL, 0, 0);
    EXPECT_EQ(DetachFrame(child), 1);
    EXPECT_EQ(ProcOf(child), childProc);
    DestroyWindow(mdi);
}

TEST(SubclassChain, TheLibrarysOwnWindowsAreNeitherFramesNorBars) {
    Frame f = MakeFrame(FrameKind::kMdiChild);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND site = ChildById(f.hwnd, VNX_ID_DOCK_LEFT);
    HWND other = hostkit::CreateSdiFrame("other", 600, 0, 300, 200);
    ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
    EXPECT_EQ(AttachFrame(site, AF_CHILDFRAME), 0);
    EXPECT_EQ(SetDock(site, other, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 0);
    EXPECT_EQ(SetDock(ChildById(f.hwnd, VNX_ID_STATUSBAR), other, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 0);
    SendMessageA(site, WM_NULL, 0, 0);  // returns
    EXPECT_EQ(LiveWindowObjects(), 2);
    DestroyWindow(f.top);
    DestroyWindow(other);
}

TEST(DestroyedPane, TakesTheSitesTheLibraryMadeWithIt) {
    Frame f = MakeFrame(FrameKind::kMdiChild, false);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND bar = hostkit::CreateView(f.hwnd, 0x301, 0, 0, 80, 24);
    ASSERT_EQ(SetDock(bar, f.hwnd, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    DestroyWindow(ChildById(f.hwnd, VNX_ID_PANE));
    for (UINT id = VNX_ID_DOCK_TOP; id <= VNX_ID_DOCK_BOTTOM; ++id) EXPECT_EQ(ChildById(f.hwnd, id), nullptr) << id;
    // The host's bar is given back, not destroyed with the site it sat in.
    EXPECT_TRUE(IsWindow(bar));
    EXPECT_EQ(GetParent(bar), f.hwnd);
    EXPECT_EQ(LiveWindowObjects(), 0);
    DestroyWindow(f.top);
}

// A window the host moves into a parent whose destruction is under way (from the WM_DESTROY of
// one of that parent's children) is destroyed by the system without a WM_DESTROY of its own:
// whatever the library had on it goes with it all the same.
TEST(HostNotification, WindowMovedIntoAParentBeingDestroyed) {
    enum Owner { kFrame, kDockedBar, kFloatingBar, kExtension };
    for (Owner owner : {kFrame, kDockedBar, kFloatingBar, kExtension}) {
        SCOPED_TRACE(owner);
        HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
        ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
        const long windows = LiveLibraryWindows();
        HWND pane = ChildById(sdi, VNX_ID_PANE);
        HWND dying = hostkit::CreateChildFrame(pane, 0, 0, 300, 200, 0x340);
        HWND last = hostkit::CreateView(dying, 0x341, 0, 0, 40, 20);
        HWND w = hostkit::CreateChildFrame(pane, 0, 0, 200, 100, 0x342);
        switch (owner) {
        case kFrame:
            ASSERT_EQ(AttachFrame(w, AF_CHILDFRAME), 1);
            ASSERT_EQ(SetDock(hostkit::CreateView(w, 0x303, 0, 0, 40, 20), w, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
            ASSERT_EQ(SetDock(hostkit::CreateView(w, 0x304, 0, 0, 40, 20), w, 0, 0, 0, 0, kTopBar | BFX_FLOATING,
                              nullptr, kDockNow), 1);
            break;
        case kDockedBar: ASSERT_EQ(SetDock(w, sdi, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1); break;
        case kFloatingBar: ASSERT_EQ(SetDock(w, sdi, 0, 0, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow), 1); break;
        case kExtension: ASSERT_EQ(AttachClass(w, CCF_NOWHEEL), 1); break;
        }
        {
            hostkit::ScopedHostHandler host(Once(last, WM_DESTROY, [&] { SetParent(w, dying); }));
            DestroyWindow(dying);
        }
        EXPECT_FALSE(IsWindow(w));
        EXPECT_EQ(LiveWindowObjects(), 1) << "the sdi frame's manager alone";
        EXPECT_EQ(varnex_test::LibraryProperties(), 1);
        EXPECT_EQ(LiveLibraryWindows(), windows) << "the sdi frame's parts alone";
        DestroyWindow(sdi);
        EXPECT_EQ(LiveWindowObjects(), 0);
    }
}

// Attaching a child frame moves its children into the pane the library makes; the host hears of
// each move and may make the child a bar of another frame from there: the bar stays in its site.
TEST(HostNotification, ChildDockedElsewhereWhileMovedIntoThePane) {
    for (UINT side : {BFX_TOP, BFX_LEFT}) {
        SCOPED_TRACE(side);
        HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
        ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
        HWND holder = hostkit::CreateSdiFrame("holder", 520, 0, 400, 300);
        HWND frame = hostkit::CreateChildFrame(holder, 0, 0, 300, 200, 0x360);
        HWND toolbar = hostkit::CreateToolBar(frame, 0x361, "tools", 2);
        int docked = -1;
        {
            hostkit::ScopedHostHandler host(Once(toolbar, WM_SHOWWINDOW, [&] {
                docked = SetDock(toolbar, sdi, 0, 0, 0, 0, side | varnex_test::kAllSides, nullptr, kDockNow);
            }));
            ASSERT_EQ(AttachFrame(frame, AF_CHILDFRAME), 1);
        }
        ASSERT_EQ(docked, 1);
        CToolBarFx* bar = BarOf(toolbar);
        ASSERT_TRUE(bar);
        ASSERT_TRUE(bar->dockSite);
        EXPECT_EQ(GetParent(toolbar), bar->dockSite->hwnd);
        EXPECT_EQ(GetParent(bar->dockSite->hwnd), sdi);
        DestroyWindow(holder);
        DestroyWindow(sdi);
    }
}

// A bar being given back is hidden first; a host that docks it again from there keeps the new bar
// where it docked it.
TEST(HostNotification, DockedAgainWhileGivenBack) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400);
    HWND other = hostkit::CreateSdiFrame("other", 520, 0, 400, 300);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
    HWND view = hostkit::CreateView(sdi, 0x362, 0, 0, 60, 24);
    ASSERT_EQ(SetDock(view, sdi, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    int docked = -1;
    {
        hostkit::ScopedHostHandler host(Once(view, WM_WINDOWPOSCHANGED, [&] {
            docked = SetDock(view, other, 0, 0, 0, 0, kTopBar, nullptr, kDockNow);
        }));
        ASSERT_EQ(UnDock(view), 1);
    }
    ASSERT_EQ(docked, 1);
    CToolBarFx* bar = BarOf(view);
    ASSERT_TRUE(bar && bar->dockSite);
    EXPECT_EQ(GetParent(view), bar->dockSite->hwnd);
    EXPECT_EQ(GetParent(bar->dockSite->hwnd), other);
    // Given back once more, it goes home as the host first gave it.
    ASSERT_EQ(UnDock(view), 1);
    EXPECT_EQ(GetParent(view), sdi);
    EXPECT_TRUE(GetWindowLongA(view, GWL_STYLE) & WS_VISIBLE);
    DestroyWindow(other);
    DestroyWindow(sdi);
}

// A frame whose destruction is under way (it heard WM_DESTROY) is neither made a bar nor a frame
// again by a host calling from a later message of that destruction: it would be taken out of the
// tree being destroyed and live on with what it heard.
TEST(HostNotification, WindowBeingDestroyedIsTakenNoMore) {
    enum Call { kDock, kAttach };
    for (Call call : {kDock, kAttach}) {
        SCOPED_TRACE(call);
        HWND other = hostkit::CreateSdiFrame("other", 520, 0, 400, 300);
        ASSERT_EQ(AttachFrame(other, AF_SDIFRAME), 1);
        HWND holder = hostkit::CreateSdiFrame("holder", 0, 0, 500, 400);
        HWND frame = hostkit::CreateChildFrame(holder, 0, 0, 300, 200, 0x363);
        HWND view = hostkit::CreateView(frame, 0x364, 0, 0, 40, 20);
        ASSERT_EQ(AttachFrame(frame, AF_CHILDFRAME), 1);
        int result = -1;
        {
            hostkit::ScopedHostHandler host(Once(view, WM_DESTROY, [&] {
                result = call == kDock ? SetDock(frame, other, 0, 0, 0, 0, kTopBar, nullptr, kDockNow)
                                       : AttachFrame(frame, AF_CHILDFRAME);
            }));
            DestroyWindow(holder);
        }
        EXPECT_EQ(result, 0);
        EXPECT_FALSE(IsWindow(frame));
        EXPECT_EQ(LiveWindowObjects(), 1) << "the other frame's manager alone";
        DestroyWindow(other);
    }
}

// ---- a main toolbar created after attach -----------------------------------------------------

TEST(ToolBarRedirection, OnlyItsOwnTooltipGoesAndItsMessagesReachTheControl) {
    Frame f = MakeFrame(FrameKind::kSdi);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND toolbar = hostkit::CreateToolBar(f.hwnd, VNX_ID_TOOLBAR, "Main", 3);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3) << "buttons added right after creation were lost";
    // The frame asks again which format its child speaks: neither window may go.
    SendMessageA(toolbar, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(f.hwnd), NF_REQUERY);
    EXPECT_TRUE(IsWindow(f.hwnd));
    HWND stranger = hostkit::CreateView(f.top, 0x333, 0, 0, 10, 10);
    SendMessageA(toolbar, WM_NOTIFYFORMAT, reinterpret_cast<WPARAM>(stranger), NF_QUERY);
    EXPECT_TRUE(IsWindow(stranger));
    ASSERT_EQ(SetToolBar(toolbar, reinterpret_cast<INT_PTR>(f.hwnd), 0, nullptr, STB_ATTACH), 1);
    EXPECT_EQ(SendMessageA(toolbar, TB_BUTTONCOUNT, 0, 0), 3);
    DestroyWindow(f.top);
}

// ---- pointers the library was not handed -----------------------------------------------------

// A host's own data behind a button, of the record's size and more.
struct HostData {
    BYTE bytes[32];
};

// The mouse over a button of the toolbar (as the toolbar tells `notified`), then a menu choice
// arriving as the toolbar's command.
void HoverAndChoose(HWND notified, HWND toolbar, int button, WORD choice) {
    NMTBHOTITEM hot{};
    hot.hdr = {toolbar, VNX_ID_TOOLBAR, static_cast<UINT>(TBN_HOTITEMCHANGE)};
    hot.idNew = button;
    hot.dwFlags = HICF_MOUSE;
    SendMessageA(notified, WM_NOTIFY, VNX_ID_TOOLBAR, reinterpret_cast<LPARAM>(&hot));
    SendMessageA(toolbar, WM_COMMAND, MAKEWPARAM(choice, 0), 0);
}

TEST(ButtonData, OnlyBoundRecordsAreReadOrWritten) {
    HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400);
    HWND dockBar = hostkit::CreateDockBar(mdi, VNX_ID_DOCK_TOP);
    HWND standard = hostkit::CreateToolBar(dockBar, VNX_ID_TOOLBAR, "Standard", 2);
    HWND main = hostkit::CreateToolBar(mdi, VNX_ID_TOOLBAR, "Main", 2);
    HostData data;
    std::memset(data.bytes, 0x5A, sizeof data.bytes);
    const HostData was = data;
    // A separator (command 0) and a button, both carrying the host's own data.
    TBBUTTON buttons[2] = {{0, 0, TBSTATE_ENABLED, BTNS_SEP, {}, reinterpret_cast<DWORD_PTR>(&data), 0},
                           {0, 205, TBSTATE_ENABLED, BTNS_BUTTON, {}, reinterpret_cast<DWORD_PTR>(&data), 0}};
    for (HWND toolbar : {standard, main})
        SendMessageA(toolbar, TB_ADDBUTTONSA, 2, reinterpret_cast<LPARAM>(buttons));
    ASSERT_EQ(AttachFrame(mdi, AF_MDIFRAME), 1);
    ASSERT_TRUE(BarOf(standard));
    ASSERT_EQ(SetToolBar(main, reinterpret_cast<INT_PTR>(mdi), 0, nullptr, STB_ATTACH), 1);
    for (HWND toolbar : {standard, main}) {
        HoverAndChoose(mdi, toolbar, 205, 7);
        SendMessageA(toolbar, WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), reinterpret_cast<LPARAM>(toolbar));
    }
    // The per-button operations that fill a record refuse a button without one.
    HMENU menu = CreatePopupMenu();
    const wchar_t text[] = L"tip";
    ToolButtonRecord bound{};
    for (HWND toolbar : {standard, main}) {
        const int index = static_cast<int>(SendMessageA(toolbar, TB_COMMANDTOINDEX, 205, 0));
        for (UINT operation : {STB_BUTTONTIP, STB_BUTTONSTATUS, STB_BUTTONTEXT}) {
            EXPECT_EQ(SetToolBar(toolbar, index, 0, const_cast<wchar_t*>(text), operation), 0) << operation;
        }
        EXPECT_EQ(SetToolBar(toolbar, index, static_cast<int>(reinterpret_cast<INT_PTR>(menu)), nullptr, STB_BUTTONMENU), 0);
        // The same operations reach a button with a bound record.
        ASSERT_EQ(SetToolBar(toolbar, 0, 0, &bound, STB_BUTTONRECORD), 1);
        EXPECT_EQ(SetToolBar(toolbar, 0, 0, const_cast<wchar_t*>(text), STB_BUTTONTIP), 1);
    }
    DestroyMenu(menu);
    EXPECT_EQ(std::memcmp(&data, &was, sizeof data), 0) << "the host's button data was written";
    // A choice with nobody to tell: no message goes to the thread.
    MSG msg;
    while (PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE)) {
        EXPECT_NE(msg.message, static_cast<UINT>(WM_COMMAND)) << "a command posted to no window";
    }
    DestroyWindow(mdi);
}

TEST(ButtonData, ChoiceWithNoWindowToTellPostsNothing) {
    HWND frame = hostkit::CreateSdiFrame("frame", 0, 0, 400, 300);
    HWND main = hostkit::CreateToolBar(frame, VNX_ID_TOOLBAR, "Main", 2);
    ASSERT_EQ(SetToolBar(main, reinterpret_cast<INT_PTR>(frame), 0, nullptr, STB_ATTACH), 1);
    ToolButtonRecord record{};
    HMENU menu = CreatePopupMenu();
    ASSERT_EQ(SetToolBar(main, 1, 0, &record, STB_BUTTONRECORD), 1);
    ASSERT_EQ(SetToolBar(main, 1, reinterpret_cast<INT_PTR>(menu), nullptr, STB_BUTTONMENU), 1);
    HoverAndChoose(main, main, 101, 9);
    EXPECT_EQ(record.choice, 9);
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), WM_COMMAND, WM_COMMAND, PM_REMOVE));
    DestroyMenu(menu);
    DestroyWindow(frame);
}

// The host tells its floating windows to show (as it does on every activation) while the frame
// is minimized: they stay hidden until the frame is back.
TEST(FloatingWindow, StaysHiddenOverAMinimizedFrame) {
    HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 500, 400, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    ASSERT_EQ(AttachFrame(sdi, AF_SDIFRAME), 1);
    HWND view = hostkit::CreateView(sdi, 0x301, 0, 0, 80, 24);
    ASSERT_EQ(SetDock(view, sdi, 60, 60, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow | SD_POSITION | SD_FLOAT), 1);
    HWND mini = GetParent(view);
    ASSERT_TRUE(IsWindowVisible(mini));
    ShowWindow(sdi, SW_MINIMIZE);
    for (WPARAM code : {FS_SHOW, FS_ACTIVATE}) SendMessageA(mini, WM_FLOATSTATUS, code, 0);
    varnex_test::Pump();
    EXPECT_FALSE(IsWindowVisible(mini));
    ShowWindow(sdi, SW_RESTORE);
    varnex_test::Pump();
    EXPECT_TRUE(IsWindowVisible(mini));
    DestroyWindow(sdi);
}

// ---- coordinates and sizes no screen has ------------------------------------------------------

TEST(HostileGeometry, DockedBarsStayInsideTheirSite) {
    const int huge[] = {INT_MAX, INT_MAX - 5, INT_MIN, -1000000, 1 << 30};
    // Merged borders give the sites edges of their own, which take from the depth they may have.
    for (UINT borders : {0u, AF_MERGEBORDERS}) {
        SCOPED_TRACE(borders);
        Frame f = MakeFrame(FrameKind::kSdi);
        ASSERT_EQ(AttachFrame(f.hwnd, f.flags | borders), 1);
        HWND a = hostkit::CreateView(f.hwnd, 0x301, 0, 0, 80, 24);
        HWND b = hostkit::CreateView(f.hwnd, 0x302, 0, 0, 60, 24);
        for (int v : huge) {
            SCOPED_TRACE(v);
            for (UINT side : {BFX_TOP, BFX_LEFT, BFX_BOTTOM}) {
                ASSERT_EQ(SetDock(a, f.hwnd, v, v, v, v, side | varnex_test::kAllSides, nullptr,
                                  kDockNow | SD_POSITION | SD_SIZE | side),
                          1);
                ASSERT_EQ(SetDock(b, f.hwnd, -v, v, v, -v, side | varnex_test::kAllSides, nullptr,
                                  kDockNow | SD_POSITION | SD_SIZE | side),
                          1);
                for (HWND w : {a, b}) {
                    HWND site = GetParent(w);
                    const RECT r = WindowRectIn(w, site), c = ClientOf(site);
                    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= c.right && r.bottom <= c.bottom)
                        << "bar (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom
                        << ") outside its site of " << c.right << " x " << c.bottom;
                }
            }
        }
        DestroyWindow(f.top);
    }
}

TEST(HostileGeometry, FloatingBarsFillTheirWindow) {
    const int sizes[] = {INT_MAX, 1 << 30, 100000, 1};
    Frame f = MakeFrame(FrameKind::kSdi);
    ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
    HWND view = hostkit::CreateView(f.hwnd, 0x301, 0, 0, 80, 24);
    // A tiny window with a sizing border: the system holds such a window to its smallest track
    // size, larger than the floating window around it.
    HWND sizable = hostkit::CreateView(f.hwnd, 0x302, 0, 0, 6, 4);
    SetWindowLongA(sizable, GWL_STYLE, GetWindowLongA(sizable, GWL_STYLE) | WS_THICKFRAME);
    for (HWND w : {view, sizable}) {
        for (int s : sizes) {
            SCOPED_TRACE(s);
            ASSERT_EQ(SetDock(w, f.hwnd, s, s, s, s, kTopBar | BFX_FLOATING, nullptr,
                              kDockNow | SD_POSITION | SD_SIZE | SD_FLOAT),
                      1);
            HWND mini = GetParent(w);
            const RECT client = ClientOf(mini);
            EXPECT_EQ(WindowRectIn(w, mini), client);
            EXPECT_GT(client.right, 0);
            EXPECT_GT(client.bottom, 0);
            // The host gives its bar a sizing border while it floats: the border stays off.
            SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) | WS_THICKFRAME);
            EXPECT_EQ(GetWindowLongA(w, GWL_STYLE) & WS_THICKFRAME, 0);
        }
        ASSERT_EQ(UnDock(w), 1);
    }
    EXPECT_NE(GetWindowLongA(sizable, GWL_STYLE) & WS_THICKFRAME, 0);  // given back as found
    // The host minimizes or maximizes a floating window: it comes back, the bar filling it.
    ASSERT_EQ(SetDock(view, f.hwnd, 40, 40, 0, 0, kTopBar | BFX_FLOATING, nullptr, kDockNow | SD_POSITION | SD_FLOAT), 1);
    HWND mini = GetParent(view);
    const RECT placed = varnex_test::WindowRectIn(mini, nullptr);
    for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
        ShowWindow(mini, show);
        varnex_test::Pump();
        EXPECT_FALSE(IsIconic(mini) || IsZoomed(mini)) << show;
        EXPECT_EQ(varnex_test::WindowRectIn(mini, nullptr), placed) << show;
        EXPECT_EQ(WindowRectIn(view, mini), ClientOf(mini)) << show;
    }
    // The host minimizes or maximizes the bar itself, floating or docked, and restores it: the
    // bar takes its place again (the system alone would leave it where its icon was).
    ASSERT_EQ(SetDock(sizable, f.hwnd, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
    for (HWND bar : {view, sizable}) {
        HWND holder = GetParent(bar);
        const RECT was = WindowRectIn(bar, holder);
        for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
            ShowWindow(bar, show);
            ShowWindow(bar, SW_RESTORE);
            varnex_test::Pump();
            EXPECT_EQ(WindowRectIn(bar, holder), was) << show;
        }
    }
    DestroyWindow(f.top);
}

// The host minimizes or maximizes one of the frame's parts: the system would hold it at that size
// for good; it comes back and takes the layout's place again, here after the frame shrank.
TEST(HostileGeometry, PartsComeBackFromMinimizedOrMaximized) {
    struct Case {
        FrameKind kind;
        UINT part;
    } cases[] = {{FrameKind::kSdi, VNX_ID_DOCK_TOP}, {FrameKind::kSdi, VNX_ID_DOCK_LEFT}, {FrameKind::kSdi, VNX_ID_PANE},
                 {FrameKind::kChildFrame, VNX_ID_DOCK_BOTTOM}, {FrameKind::kChildFrame, VNX_ID_PANE}};
    for (const Case& c : cases) {
        for (int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
            SCOPED_TRACE(testing::Message() << Name(c.kind) << ", window 0x" << std::hex << c.part << ", show " << show);
            Frame f = MakeFrame(c.kind);
            ASSERT_EQ(AttachFrame(f.hwnd, f.flags), 1);
            HWND bar = hostkit::CreateView(f.hwnd, 0x303, 0, 0, 80, 24);
            ASSERT_EQ(SetDock(bar, f.hwnd, 0, 0, 0, 0, kTopBar, nullptr, kDockNow), 1);
            HWND part = ChildById(f.hwnd, c.part);
            ASSERT_NE(part, nullptr);
            ShowWindow(part, show);
            SetWindowPos(f.hwnd, nullptr, 0, 0, 200, 150, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            varnex_test::Pump();
            RecalcFrame(f.hwnd);
            EXPECT_FALSE(IsIconic(part) || IsZoomed(part));
            // Whatever the part, the four sites and the pane tile the frame's client area again.
            const RECT client = ClientOf(f.hwnd);
            const RECT top = WindowRectIn(ChildById(f.hwnd, VNX_ID_DOCK_TOP), f.hwnd);
            const RECT pane = WindowRectIn(ChildById(f.hwnd, VNX_ID_PANE), f.hwnd);
            EXPECT_EQ(top.right - top.left, client.right);
            EXPECT_EQ(pane.top, top.bottom);
            EXPECT_LE(pane.right, client.right);
            EXPECT_LE(pane.bottom, client.bottom);
            EXPECT_TRUE(IsChild(ChildById(f.hwnd, VNX_ID_DOCK_TOP), bar));
            DestroyWindow(f.top);
        }
    }
}

}  // namespace
