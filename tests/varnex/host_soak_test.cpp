// A host that uses the library the way careless and hostile hosts do, for thousands of steps:
// every export with good and bad arguments (stale and foreign handles, windows of the wrong kind,
// frames as bars and bars as frames, random flags, null pointers, huge and negative values);
// windows created, destroyed, hidden, minimized and restyled under it; detaches, undocks and
// destroys from inside the host's own notifications; and drags through the cursor.
//
// After every step what a host relies on holds: docked bars inside their site and apart, floating
// bars filling their window, one registered object per library property, no capture left. After
// every cycle nothing of the library is left, and cycles run again with the same seed leave the
// process no larger than before. A failure names the seed, cycle and step, which replay with
//   VARNEX_SOAK_SEEDS=<seed> VARNEX_SOAK_STEPS=<steps> varnex_soak_tests.exe
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "census.h"
#include "frame/client_pane.h"
#include "core/memory.h"
#include "core/registry.h"
#include "core/subclass.h"
#include "controls/ctrl_class.h"
#include "core/window_procs.h"
#include "dock/dock_site.h"
#include "dock/tool_bar.h"
#include "dock/mini_frame.h"
#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using namespace varnex;
using varnex_test::BarOf;
using varnex_test::ManagerOf;

namespace {

// ---- configuration and the watchdog ------------------------------------------------------------

std::vector<uint32_t> Seeds() {
    std::vector<uint32_t> seeds;
    const char* text = std::getenv("VARNEX_SOAK_SEEDS");
    for (const char* p = text ? text : "0x50A4"; *p;) {
        char* end = nullptr;
        seeds.push_back(static_cast<uint32_t>(std::strtoul(p, &end, 0)));
        p = (*end == ',') ? end + 1 : end;
        if (end == p && *p) break;
    }
    return seeds;
}

int Setting(const char* name, int fallback) {
    const char* text = std::getenv(name);
    return text ? std::atoi(text) : fallback;
}

// Where the run is, for the watchdog's report: a step that never returns is a hang.
char g_where[256] = "starting";
volatile LONG g_progress = 0;
HANDLE g_mainThread = nullptr;

// Values on a stack from `slot` upwards that look like return addresses into this program, for
// addr2line.
void PrintReturnAddresses(const ULONG_PTR* slot) {
    const auto base = reinterpret_cast<ULONG_PTR>(GetModuleHandleA(nullptr));
    std::fprintf(stderr, " base 0x%lx; stack:", base);
    for (int i = 0, shown = 0; i < 16384 && shown < 40; ++i) {
        MEMORY_BASIC_INFORMATION info;
        if (!VirtualQuery(slot + i, &info, sizeof info) || info.State != MEM_COMMIT) break;
        if (slot[i] > base && slot[i] < base + 0x400000) {
            std::fprintf(stderr, " 0x%lx", slot[i]);
            ++shown;
        }
    }
    std::fprintf(stderr, "\n");
}

// The hung thread's return addresses.
void ReportStack() {
    if (!g_mainThread || SuspendThread(g_mainThread) == static_cast<DWORD>(-1)) return;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    if (GetThreadContext(g_mainThread, &context)) {
        std::fprintf(stderr, "at 0x%lx;", context.Eip);
        PrintReturnAddresses(reinterpret_cast<const ULONG_PTR*>(context.Esp));
    }
    ResumeThread(g_mainThread);
}

// The same for this thread, from here: who moves a window that already heard its end.
void ReportOwnStack(const char* what) {
    ULONG_PTR here = 0;
    std::fprintf(stderr, "%s at %s;", what, g_where);
    PrintReturnAddresses(&here);
}

DWORD WINAPI Watchdog(LPVOID) {
    LONG seen = -1;
    int still = 0;
    for (;;) {
        Sleep(1000);
        const LONG now = g_progress;
        still = (now == seen) ? still + 1 : 0;
        seen = now;
        if (still >= 30) {
            std::fprintf(stderr, "hang: no progress for 30 s at %s\n", g_where);
            for (int sample = 0; sample < 3; ++sample, Sleep(300)) ReportStack();
            std::fflush(stderr);
            ExitProcess(4);
        }
    }
}

void StartWatchdog() {
    if (!g_mainThread)
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &g_mainThread, 0, FALSE,
                        DUPLICATE_SAME_ACCESS);
    static HANDLE thread = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);
    (void)thread;
}

// Runs the queue dry like the host's loop would between two calls. A queue that never runs dry
// is a message storm (two layouts posting each other work for ever): the messages it keeps
// dispatching are named. One storm is the system's own: Wine, without a window manager, may paint
// a top-level window it holds in an odd minimized or maximized state again and again with nothing
// to paint (no update region: nobody invalidated it). The host gets rid of such a window.
void DestroyAsHost(HWND w);

bool PumpUntilIdle() {
    constexpr int kStorm = 20000;
    MSG msg;
    int dropped = 0;
    for (int n = 0; PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (n >= kStorm && msg.message == WM_PAINT && !GetUpdateRect(msg.hwnd, nullptr, FALSE) && dropped < 4) {
            DestroyAsHost(GetAncestor(msg.hwnd, GA_ROOT));
            ++dropped;
            n = 0;
            continue;
        }
        if (n >= kStorm) {
            std::string named;
            // Each message of a ping-pong may post the next one: the one in hand is named first.
            for (int k = 0; k < 4 && (k == 0 || PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)); ++k) {
                char one[160];
                std::snprintf(one, sizeof one, " 0x%x to %s 0x%x (floating %d, style 0x%lx);", msg.message,
                              varnex_test::ClassOf(msg.hwnd).c_str(), GetDlgCtrlID(msg.hwnd),
                              GetPropA(msg.hwnd, kMiniFrameProp) != nullptr, GetWindowLongA(msg.hwnd, GWL_STYLE));
                named += one;
                DispatchMessageA(&msg);
            }
            ADD_FAILURE() << "message storm:" << named << " " << g_where;
            return false;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return true;
}

// ---- the world a cycle runs in -----------------------------------------------------------------

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}
BOOL CALLBACK CollectTree(HWND hwnd, LPARAM list) {
    CollectWindow(hwnd, list);
    EnumChildWindows(hwnd, CollectWindow, list);
    return TRUE;
}
// Every window of this thread, top-level ones first.
std::vector<HWND> AllWindows() {
    std::vector<HWND> all;
    EnumThreadWindows(GetCurrentThreadId(), CollectTree, reinterpret_cast<LPARAM>(&all));
    return all;
}

// Image lists stay with their controls, and outlive them: a host reads them from its tree views
// and tab controls before it destroys them, and destroys the lists after.
std::vector<HIMAGELIST> ImageListsIn(HWND root) {
    std::vector<HWND> windows;
    if (root) {
        windows.push_back(root);
        EnumChildWindows(root, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    } else {
        windows = AllWindows();
    }
    std::vector<HIMAGELIST> lists;
    for (HWND w : windows) {
        const std::string name = varnex_test::ClassOf(w);
        if (name == WC_TREEVIEWA)
            for (WPARAM which : {TVSIL_NORMAL, TVSIL_STATE})
                lists.push_back(reinterpret_cast<HIMAGELIST>(SendMessageA(w, TVM_GETIMAGELIST, which, 0)));
        if (name == WC_TABCONTROLA) lists.push_back(reinterpret_cast<HIMAGELIST>(SendMessageA(w, TCM_GETIMAGELIST, 0, 0)));
    }
    std::sort(lists.begin(), lists.end());
    lists.erase(std::unique(lists.begin(), lists.end()), lists.end());
    lists.erase(std::remove(lists.begin(), lists.end(), nullptr), lists.end());
    return lists;
}

void DestroyImageLists(const std::vector<HIMAGELIST>& lists) {
    for (HIMAGELIST list : lists) ImageList_Destroy(list);
}

// What a host does to get rid of a window: its controls' image lists go too.
void DestroyAsHost(HWND w) {
    const std::vector<HIMAGELIST> lists = IsWindow(w) ? ImageListsIn(w) : std::vector<HIMAGELIST>{};
    auto* bar = static_cast<RegisteredRecord*>(FindWindowRecord(w, kBarProp));
    char chain[240] = "";
    if (bar) {
        const auto* frame = FindWindowRecord(w, kFrameProp);
        const auto* ext = FindWindowRecord(w, kCtrlClassProp);
        std::snprintf(chain, sizeof chain,
                      "window proc %p; bar %p prev %p; frame %p prev %p; extension %p prev %p; library procs bar %p frame "
                      "%p extension %p",
                      (void*)GetWindowLongPtrA(w, GWLP_WNDPROC), (void*)bar, (void*)bar->prevProc, (void*)frame,
                      frame ? (void*)frame->prevProc : nullptr, (void*)ext, ext ? (void*)ext->prevProc : nullptr,
                      (void*)BarWndProc, (void*)FrameWndProc, (void*)CtrlClassWndProc);
    }
    DestroyWindow(w);
    DestroyImageLists(lists);
    if (bar) {
        RegisteredRecord* objects[256];
        const long count = CopyLiveWindowObjects(objects, 256);
        for (long i = 0; i < count; ++i)
            if (objects[i] == bar && !bar->released) ADD_FAILURE() << "a destroyed bar was not released: " << chain;
    }
}

UINT KindOf(HWND w) {
    if (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_MDICHILD) return AF_MDICHILD;
    if (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) return AF_CHILDFRAME;
    return FindWindowExA(w, nullptr, "MDIClient", nullptr) ? AF_MDIFRAME : AF_SDIFRAME;
}

// Messages in which the host acts. Activation, hot-tracking and what follow them arrive when the
// display says so, not when a step makes them: left out, so that a seed replays the same steps and
// host actions.
bool IsInteresting(UINT message) {
    switch (message) {
    case WM_DESTROY: case WM_SIZE: case WM_WINDOWPOSCHANGED: case WM_SHOWWINDOW: case WM_SYSCOMMAND:
    case WM_PARENTNOTIFY: case WM_COMMAND: case WM_MDIGETACTIVE: case WM_MDINEXT:
    case hostkit::kWmSizeParent: case hostkit::kWmSetMessageString:
        return true;
    default:
        return false;
    }
}

class Soak {
public:
    Soak(uint32_t seed, int cycle) : seed_(seed), cycle_(cycle), rng_(seed), hostRng_(seed ^ 0x9E3779B9u) {}

    void Build();
    void Run(int steps);
    // Gives everything back and destroys the world: nothing of the library may be left.
    void TearDown();

private:
    uint32_t Next() { return static_cast<uint32_t>(rng_()); }
    int Range(int low, int high) { return low + static_cast<int>(Next() % static_cast<uint32_t>(high - low + 1)); }
    bool Chance(int percent) { return static_cast<int>(Next() % 100) < percent; }
    template <class T>
    T Pick(const std::vector<T>& from) { return from[Next() % from.size()]; }

    void Say(const char* format, ...);
    int Value();  // a coordinate or size as a careless host passes it
    HWND AnyWindow();
    HWND FrameLike();
    HWND BarLike();
    std::vector<HWND> WindowsWith(const char* property);
    std::vector<HWND> HostWindows(bool framesToo);
    DOCKSTATE* AnyState() { return Chance(20) ? nullptr : &states_[Next() % 8]; }

    void Step();
    void OpAttach();
    void OpDetach();
    void OpSetDock();
    void OpUnDock();
    void OpStatusAndScroll();
    void OpToolBar();
    void OpControls();
    void OpMake();
    void OpDestroy();
    void OpShow();
    void OpMessages();
    void OpDrag();
    void OnHostMessage(HWND hwnd, UINT message);
    void Check();
    void CheckFrame(CCtrlFrameFx* frame);

    uint32_t seed_;
    int cycle_;
    std::mt19937 rng_;
    // The host's own actions draw from their own sequence: how many notifications arrive depends
    // on the display's timing, and must not change the steps that follow.
    std::mt19937 hostRng_;
    int step_ = 0;
    std::string what_;
    bool hostile_ = false;  // the host acts from inside its notifications
    bool inHostAction_ = false;
    std::vector<HWND> dead_;  // destroyed handles, for calls on stale windows
    std::vector<std::pair<HWND, HWND>> ended_;  // host windows that heard WM_DESTROY, and their parent then
    HMENU menu_ = nullptr;
    DOCKSTATE states_[8]{};
    ToolButtonRecord records_[4]{};
    // Icons handed over: the library destroys those it places, the rest stay the host's, which
    // destroys whatever is left at the end (a second destroy of a handle fails harmlessly).
    std::vector<HICON> icons_;
    BOOL savedFullDrag_ = FALSE;
};

void Soak::Say(const char* format, ...) {
    char text[200];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    what_ = text;
    std::snprintf(g_where, sizeof g_where, "seed 0x%x cycle %d step %d: %s", seed_, cycle_, step_, text);
}

int Soak::Value() {
    switch (Range(0, 9)) {
    case 0: return INT32_MAX - Range(0, 3);
    case 1: return INT32_MIN + Range(0, 3);
    case 2: return -Range(1, 5000);
    case 3: return Range(30000, 70000);
    default: return Range(0, 400);
    }
}

std::vector<HWND> Soak::WindowsWith(const char* property) {
    std::vector<HWND> found;
    for (HWND w : AllWindows())
        if (GetPropA(w, property)) found.push_back(w);
    return found;
}

// Windows of the host: the kit's classes and the controls it made; not the library's own.
std::vector<HWND> Soak::HostWindows(bool framesToo) {
    std::vector<HWND> found;
    for (HWND w : AllWindows()) {
        if (GetPropA(w, kMiniFrameProp) || IsLibraryOwned(w)) continue;
        if (!framesToo && !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) continue;
        found.push_back(w);
    }
    return found;
}

HWND Soak::AnyWindow() {
    const int roll = Range(0, 99);
    if (roll < 4) return nullptr;
    // Handle values are even: an odd one never names a window, whatever exists.
    if (roll < 7) return reinterpret_cast<HWND>(static_cast<UINT_PTR>(Next() & 0xFFFF) | 1);
    if (roll < 9) return GetDesktopWindow();
    if (roll < 14 && !dead_.empty()) return Pick(dead_);
    const std::vector<HWND> all = AllWindows();
    return all.empty() ? nullptr : Pick(all);
}

HWND Soak::FrameLike() {
    std::vector<HWND> frames;
    for (HWND w : AllWindows()) {
        const std::string name = varnex_test::ClassOf(w);
        if (name == "AfxFrameOrView40su" && !IsLibraryOwned(w) && !GetPropA(w, kMiniFrameProp)) frames.push_back(w);
    }
    return frames.empty() || Chance(10) ? AnyWindow() : Pick(frames);
}

HWND Soak::BarLike() {
    std::vector<HWND> bars;
    for (HWND w : HostWindows(false)) {
        const std::string name = varnex_test::ClassOf(w);
        if (name == TOOLBARCLASSNAMEA || GetDlgCtrlID(w) >= 0x300 || GetPropA(w, kBarProp)) bars.push_back(w);
    }
    return bars.empty() || Chance(15) ? AnyWindow() : Pick(bars);
}

// ---- building the world -------------------------------------------------------------------------

void Soak::Build() {
    SystemParametersInfoA(SPI_GETDRAGFULLWINDOWS, 0, &savedFullDrag_, 0);
    // Every run starts alike, whatever ran before: the cursor away from every window.
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    HWND mdi = hostkit::CreateMdiFrame("soak mdi", 0, 0, 640, 500, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    HWND dock = hostkit::CreateDockBar(mdi, hostkit::kDockBarTopId);
    hostkit::CreateToolBar(dock, hostkit::kToolBarId, "Standard", 4);
    hostkit::CreateStatusBar(mdi);
    hostkit::CreateMdiChild(mdi, "with view");
    hostkit::CreateMdiChild(mdi, "without view", false);
    HWND sdi = hostkit::CreateSdiFrame("soak sdi", 660, 0, 520, 440, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
    hostkit::CreateStatusBar(sdi);
    hostkit::CreateToolBar(sdi, hostkit::kToolBarId, "Main", 5);
    HWND view = GetDlgItem(sdi, hostkit::kPaneId);
    HWND child = hostkit::CreateChildFrame(view, 10, 200, 240, 160, 0x400);
    hostkit::CreateView(child, 0x401, 4, 4, 60, 20);
    for (UINT id = 0x301; id <= 0x306; ++id)
        hostkit::CreateView(id & 1 ? mdi : sdi, id, 10 + 20 * (id & 7), 40 + 15 * (id & 7), 40 + 10 * (id & 3), 24);
    CreateWindowExA(0, WC_TREEVIEWA, nullptr, WS_CHILD | WS_VISIBLE, 260, 10, 120, 100, view,
                    reinterpret_cast<HMENU>(0x310), GetModuleHandleA(nullptr), nullptr);
    CreateWindowExA(0, WC_TABCONTROLA, nullptr, WS_CHILD | WS_VISIBLE, 260, 120, 120, 60, view,
                    reinterpret_cast<HMENU>(0x311), GetModuleHandleA(nullptr), nullptr);
    menu_ = CreatePopupMenu();
    AppendMenuA(menu_, MF_STRING, 300, "one");
    AppendMenuA(menu_, MF_STRING, 301, "two");
    PumpUntilIdle();
}

void Soak::TearDown() {
    hostile_ = false;
    Say("tear-down");
    for (HWND w : WindowsWith(kFrameProp)) DetachFrame(w);
    for (HWND w : WindowsWith(kBarProp)) UnDock(w);
    for (HWND w : WindowsWith(kCtrlClassProp)) DetachClass(w);
    PumpUntilIdle();
    EXPECT_EQ(varnex_test::LibraryProperties(), 0) << g_where;
    EXPECT_EQ(LiveWindowObjects(), 0) << g_where;
    EXPECT_EQ(LiveLibraryWindows(), 0) << g_where;
    EXPECT_EQ(LiveHeapBlocks(), 0) << g_where;
    const std::vector<HIMAGELIST> lists = ImageListsIn(nullptr);
    hostkit::DestroyAll();
    for (HWND w : AllWindows())
        if (IsWindow(w) && !(GetWindowLongA(w, GWL_STYLE) & WS_CHILD)) DestroyWindow(w);
    DestroyImageLists(lists);
    for (HICON icon : icons_) DestroyIcon(icon);
    DestroyMenu(menu_);
    PumpUntilIdle();
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, savedFullDrag_, nullptr, 0);
}

// ---- the steps ----------------------------------------------------------------------------------

void Soak::Run(int steps) {
    static Soak* active = nullptr;
    active = this;
    hostkit::ScopedHostHandler handler([](HWND hwnd, UINT message, WPARAM, LPARAM) {
        if (active) active->OnHostMessage(hwnd, message);
    });
    static const bool trace = Setting("VARNEX_SOAK_TRACE", 0) != 0;
    for (step_ = 1; step_ <= steps && !testing::Test::HasFailure(); ++step_) {
        const DWORD started = GetTickCount();
        hostile_ = Chance(70);
        Step();
        hostile_ = false;
        if (!PumpUntilIdle()) break;
        InterlockedIncrement(&g_progress);
        Check();
        if (trace) std::printf("%5lu ms  %s\n", GetTickCount() - started, g_where);
    }
    active = nullptr;
}

void Soak::Step() {
    const int roll = Range(0, 99);
    if (roll < 8) OpAttach();
    else if (roll < 12) OpDetach();
    else if (roll < 32) OpSetDock();
    else if (roll < 37) OpUnDock();
    else if (roll < 43) OpStatusAndScroll();
    else if (roll < 50) OpToolBar();
    else if (roll < 56) OpControls();
    else if (roll < 63) OpMake();
    else if (roll < 68) OpDestroy();
    else if (roll < 77) OpShow();
    else if (roll < 84) OpMessages();
    else OpDrag();
}

void Soak::OpAttach() {
    HWND w = Chance(85) ? FrameLike() : BarLike();
    UINT flags = (w && IsWindow(w) && Chance(80)) ? KindOf(w) : (1u << Range(0, 3));
    if (Chance(40)) flags |= Next() & (AF_SYSMENU | AF_THICKFRAME | AF_CAPTIONMOVE | AF_BORDERSIZE | AF_MINIMIZEBOX |
                                       AF_MAXIMIZEBOX | AF_REDRAWSCROLL | AF_MERGEBORDERS | AF_KEEPCLIENTSIZE |
                                       AF_FLOATAUTOHIDE | AF_TOOLWINDOW);
    if (Chance(3)) flags = Next();
    Say("AttachFrame(%p, 0x%x)", (void*)w, flags);
    AttachFrame(w, flags);
}

void Soak::OpDetach() {
    HWND w = Chance(70) ? FrameLike() : AnyWindow();
    Say(Chance(70) ? "DetachFrame(%p)" : "RecalcFrame(%p)", (void*)w);
    if (what_[0] == 'D')
        DetachFrame(w);
    else
        RecalcFrame(w);
}

void Soak::OpSetDock() {
    HWND w = Chance(8) ? reinterpret_cast<HWND>(-1) : BarLike();
    HWND frame = Chance(12) ? nullptr : FrameLike();
    UINT flags = (BFX_TOP << Range(0, 3)) | (Next() & 0x01FFFF0F & ~0xF0u);
    flags |= (flags & 0xF0) << 4;
    if (Chance(30)) flags |= BFX_FLOATABLE | (Chance(50) ? BFX_FLOATING : 0);
    if (Chance(5)) flags = Next();
    UINT op = (Chance(60) ? SD_ATTACH | SD_FLAGS : Next() & (SD_ATTACH | SD_FLAGS)) | (Next() & 0x11F6);
    const int x = Value(), y = Value(), cx = Value(), cy = Value();
    Say("SetDock(%p %s 0x%x%s, %p %s, %d, %d, %d, %d, 0x%x, state, 0x%x)", (void*)w, varnex_test::ClassOf(w).c_str(),
        GetDlgCtrlID(w), GetPropA(w, kFrameProp) ? " frame" : "", (void*)frame, varnex_test::ClassOf(frame).c_str(), x, y,
        cx, cy, flags, op);
    SetDock(w, frame, x, y, cx, cy, flags, AnyState(), op);
}

void Soak::OpUnDock() {
    const std::vector<HWND> bars = WindowsWith(kBarProp);
    HWND w = !bars.empty() && Chance(80) ? Pick(bars) : AnyWindow();
    Say("UnDock(%p)", (void*)w);
    UnDock(w);
}

void Soak::OpStatusAndScroll() {
    HWND w = Chance(80) ? GetDlgItem(FrameLike(), hostkit::kPaneId) : AnyWindow();
    const int a = Value(), b = Value(), c = Value(), d = Value();
    const UINT flags = Next() & 0xFFF;
    switch (Range(0, 2)) {
    case 0:
        Say("SetStatusBar(%p, %d, %d, %d, text, 0x%x)", (void*)w, a, b, c, flags);
        SetStatusBar(w, a, b, c, Chance(70) ? "soak" : nullptr, flags);
        break;
    case 1:
        Say("SetScrollBar(%p, %d, %d, %d, %d, 0x%x)", (void*)w, a, b, c, d, flags);
        SetScrollBar(w, a, b, c, d, flags);
        break;
    default:
        Say("SetClientRange(%p, %d, %d, %d, %d, 0x%x)", (void*)w, a, b, c, d, flags & 3);
        SetClientRange(w, a, b, c, d, flags & 3);
        break;
    }
}

void Soak::OpToolBar() {
    std::vector<HWND> toolbars;
    for (HWND w : AllWindows())
        if (varnex_test::ClassOf(w) == TOOLBARCLASSNAMEA) toolbars.push_back(w);
    HWND w = !toolbars.empty() && Chance(85) ? Pick(toolbars) : AnyWindow();
    static const UINT kOperations[] = {STB_QUERY,        STB_ATTACH,       STB_STYLE,        STB_MOVE,
                                       STB_BITMAPSIZE,   STB_BUTTONSIZE,   STB_AUTOSIZE,     STB_BUTTONRECORD,
                                       STB_BUTTONSTYLE,  STB_BUTTONSTATE,  STB_BUTTONTEXT,   STB_BUTTONTIP,
                                       STB_BUTTONSTATUS, STB_BUTTONMENU};
    UINT op = kOperations[Next() % std::size(kOperations)];
    if (Chance(3)) op = Next();
    int value1 = Range(-2, 6), value2 = Range(0, 0x3FF);
    if (op == STB_ATTACH) {
        const std::vector<HWND> frames = WindowsWith(kFrameProp);
        value1 = Chance(30) ? 0 : static_cast<int>(reinterpret_cast<INT_PTR>(Chance(70) ? FrameLike() : AnyWindow()));
        value2 = static_cast<int>(reinterpret_cast<INT_PTR>(Chance(50) ? GetParent(w) : AnyWindow()));
    } else if (op == STB_BUTTONMENU) {
        value2 = static_cast<int>(reinterpret_cast<INT_PTR>(Chance(80) ? menu_ : nullptr));
    }
    static const wchar_t kText[] = L"Soak button text";
    void* pointer = nullptr;
    if (op == STB_BUTTONRECORD)
        pointer = Chance(90) ? &records_[Next() % 4] : nullptr;
    else if (Chance(80))
        pointer = const_cast<wchar_t*>(kText);
    Say("SetToolBar(%p, %d, %d, %p, 0x%x)", (void*)w, value1, value2, pointer, op);
    SetToolBar(w, value1, value2, pointer, op);
}

void Soak::OpControls() {
    std::vector<HWND> controls;
    for (HWND w : AllWindows()) {
        const std::string name = varnex_test::ClassOf(w);
        if (name == WC_TREEVIEWA || name == WC_TABCONTROLA) controls.push_back(w);
    }
    HWND w = !controls.empty() && Chance(75) ? Pick(controls) : BarLike();
    // Icons become the library's: only real ones are handed over, never a value that might name
    // some other object.
    auto icon = [this] {
        if (!Chance(60)) return HICON{};
        static const BYTE kBits[32] = {};
        HICON made = CreateIcon(GetModuleHandleA(nullptr), 16, 16, 1, 1, kBits, kBits);
        icons_.push_back(made);
        return made;
    };
    switch (Range(0, 4)) {
    case 0: {
        const UINT flags = Chance(85) ? (1u << Range(0, 2)) : Next();
        Say("AttachClass(%p, 0x%x)", (void*)w, flags);
        AttachClass(w, flags);
        break;
    }
    case 1:
        Say("DetachClass(%p)", (void*)w);
        DetachClass(w);
        break;
    case 2: {
        const UINT flags = Next() & 0x1FF0;
        Say("SetTreeView(%p, icons, 0x%x)", (void*)w, flags);
        HICON a = icon(), b = icon();
        const int value = (flags & (STV_ICONSIZE)) ? Range(0, 48) : Range(-1, 3);
        SetTreeView(w, value, static_cast<int>(reinterpret_cast<INT_PTR>(a)),
                    static_cast<int>(reinterpret_cast<INT_PTR>(b)), flags);
        break;
    }
    default: {
        const UINT flags = Chance(20) ? SNB_ICONSIZE : SNB_IMAGE;
        HICON a = icon();
        Say("SetNoteBook(%p, icon, 0x%x)", (void*)w, flags);
        SetNoteBook(w, Range(-1, 2), a, flags);
        break;
    }
    }
}

void Soak::OpMake() {
    HWND mdi = FindWindowA("AfxFrameOrView40su", "soak mdi");
    HWND sdi = FindWindowA("AfxFrameOrView40su", "soak sdi");
    switch (Range(0, 6)) {
    case 0:
        if (mdi && sdi) break;
        Say("make the frames again");
        if (!mdi) hostkit::CreateMdiFrame("soak mdi", 0, 0, 640, 500, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        if (!sdi) hostkit::CreateSdiFrame("soak sdi", 660, 0, 520, 440, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        break;
    case 1: {
        HWND parent = FrameLike();
        if (!IsWindow(parent)) break;
        const UINT id = Chance(40) ? hostkit::kToolBarId : 0x320 + Range(0, 15);
        Say("make a toolbar 0x%x in %p", id, (void*)parent);
        hostkit::CreateToolBar(parent, id, Chance(20) ? "Standard" : "tools", Range(0, 6));
        break;
    }
    case 2: {
        HWND parent = FrameLike();
        if (!IsWindow(parent)) break;
        Say("make a view in %p", (void*)parent);
        hostkit::CreateView(parent, 0x330 + Range(0, 15), Range(0, 200), Range(0, 200), Range(10, 160), Range(10, 60));
        break;
    }
    case 3:
        if (!mdi) break;
        Say("make an mdi child");
        hostkit::CreateMdiChild(mdi, "child", Chance(50));
        break;
    case 4: {
        HWND frame = Chance(50) ? sdi : mdi;
        if (!frame) break;
        const bool status = !GetDlgItem(frame, hostkit::kStatusBarId);
        const bool pane = !GetDlgItem(frame, hostkit::kPaneId) && frame == sdi;
        Say("make the status bar or view of %p again", (void*)frame);
        if (status) hostkit::CreateStatusBar(frame, Range(12, 30));
        if (pane) hostkit::CreateView(frame, hostkit::kPaneId, 0, 0, 100, 100);
        break;
    }
    case 5: {
        HWND parent = Chance(50) ? GetDlgItem(sdi, hostkit::kPaneId) : FrameLike();
        if (!IsWindow(parent)) break;
        Say("make a child frame in %p", (void*)parent);
        HWND child = hostkit::CreateChildFrame(parent, Range(0, 100), Range(0, 100), Range(60, 300), Range(60, 200), 0x400);
        if (Chance(60)) hostkit::CreateView(child, 0x401, 2, 2, 50, 20);
        break;
    }
    default: {
        HWND frame = Chance(50) ? sdi : mdi;
        if (!frame) break;
        Say("make a dock bar in %p", (void*)frame);
        HWND dock = hostkit::CreateDockBar(frame, hostkit::kDockBarTopId + Range(0, 3));
        if (dock && Chance(50)) hostkit::CreateToolBar(dock, hostkit::kToolBarId, "Standard", 3);
        break;
    }
    }
}

void Soak::OpDestroy() {
    std::vector<HWND> windows = HostWindows(Chance(15));
    for (HWND w : WindowsWith(kMiniFrameProp)) windows.push_back(w);
    if (windows.empty()) return;
    HWND w = Pick(windows);
    Say("DestroyWindow(%p, class %s, id 0x%x)", (void*)w, varnex_test::ClassOf(w).c_str(), GetDlgCtrlID(w));
    DestroyAsHost(w);
    dead_.push_back(w);
}

void Soak::OpShow() {
    HWND w = Chance(50) ? FrameLike() : BarLike();
    if (!IsWindow(w)) return;
    static const int kShow[] = {SW_HIDE, SW_SHOW, SW_SHOWNA, SW_MINIMIZE, SW_MAXIMIZE, SW_RESTORE};
    static const WPARAM kCommands[] = {SC_MINIMIZE, SC_MAXIMIZE, SC_RESTORE, SC_RESTORE | 2};
    switch (Range(0, 4)) {
    case 0: {
        const int show = kShow[Next() % std::size(kShow)];
        Say("ShowWindow(%p, %d)", (void*)w, show);
        ShowWindow(w, show);
        break;
    }
    case 1: {
        const WPARAM command = kCommands[Next() % std::size(kCommands)];
        Say("WM_SYSCOMMAND 0x%x to %p", static_cast<unsigned>(command), (void*)w);
        SendMessageA(w, WM_SYSCOMMAND, command, 0);
        break;
    }
    case 2: {
        // Half a caption on a top-level window has Wine paint it for ever: those keep theirs.
        const bool child = GetWindowLongA(w, GWL_STYLE) & WS_CHILD;
        const LONG bits = !child ? WS_THICKFRAME | WS_MAXIMIZEBOX : Chance(50) ? WS_BORDER | WS_THICKFRAME : WS_SYSMENU | WS_CAPTION;
        Say("toggle styles 0x%lx of %p", bits, (void*)w);
        SetWindowLongA(w, GWL_STYLE, GetWindowLongA(w, GWL_STYLE) ^ bits);
        SetWindowLongA(w, GWL_EXSTYLE, GetWindowLongA(w, GWL_EXSTYLE) ^ (Chance(50) ? WS_EX_CLIENTEDGE : 0));
        SetWindowPos(w, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        break;
    }
    case 3: {
        const int cx = Range(40, 700), cy = Range(40, 560);
        Say("resize %p to %d x %d", (void*)w, cx, cy);
        SetWindowPos(w, nullptr, Range(0, 300), Range(0, 200), cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    default: {
        const std::vector<HWND> minis = WindowsWith(kMiniFrameProp);
        if (minis.empty()) break;
        HWND mini = Pick(minis);
        Say("WM_CLOSE to floating window %p", (void*)mini);
        SendMessageA(mini, WM_CLOSE, 0, 0);
        break;
    }
    }
}

// Messages a host or a neighbour sends: notifications, the library's own private messages with
// any parameter, activation and the framework's float status.
void Soak::OpMessages() {
    HWND w = FrameLike();
    if (!IsWindow(w)) return;
    switch (Range(0, 4)) {
    case 0: {
        const std::vector<HWND> bars = WindowsWith(kBarProp);
        HWND from = bars.empty() ? w : Pick(bars);
        NMTBHOTITEM hot{};
        hot.hdr = {from, hostkit::kToolBarId, static_cast<UINT>(TBN_HOTITEMCHANGE)};
        hot.idNew = Range(99, 106);
        hot.dwFlags = Chance(70) ? HICF_MOUSE : HICF_MOUSE | HICF_LEAVING;
        Say("TBN_HOTITEMCHANGE from %p to %p", (void*)from, (void*)w);
        SendMessageA(w, WM_NOTIFY, hostkit::kToolBarId, reinterpret_cast<LPARAM>(&hot));
        break;
    }
    case 1: {
        const UINT message = Chance(50) ? WM_FXSTATE : WM_FXRECALC;
        const WPARAM code = Range(0, 10);
        Say("post 0x%x(%u) to %p", message, static_cast<unsigned>(code), (void*)w);
        PostMessageA(w, message, code, 0);
        break;
    }
    case 2: {
        const std::vector<HWND> bars = WindowsWith(kBarProp);
        if (bars.empty()) break;
        HWND bar = Pick(bars);
        const WPARAM id = Range(0, 120);
        Say("WM_COMMAND %u to bar %p", static_cast<unsigned>(id), (void*)bar);
        SendMessageA(bar, WM_COMMAND, id, Chance(50) ? 0 : reinterpret_cast<LPARAM>(bar));
        break;
    }
    case 3:
        Say("activate %p", (void*)w);
        SetActiveWindow(GetAncestor(w, GA_ROOT));
        break;
    default: {
        const WPARAM code = 1u << Range(0, 6);
        Say("WM_FLOATSTATUS 0x%x to %p's floating windows", static_cast<unsigned>(code), (void*)w);
        for (HWND mini : WindowsWith(kMiniFrameProp)) SendMessageA(mini, WM_FLOATSTATUS, code, 0);
        break;
    }
    }
}

// A drag as the user makes it: the cursor placed, the moves and keys posted, the press delivered.
void Soak::OpDrag() {
    const std::vector<HWND> bars = WindowsWith(kBarProp);
    if (bars.empty()) return;
    CToolBarFx* bar = BarOf(Pick(bars));
    if (!bar || !bar->frame || !IsWindowVisible(bar->hwnd)) return;
    HWND target = bar->miniFrame ? bar->miniFrame->hwnd : bar->hwnd;
    RECT r;
    GetWindowRect(target, &r);
    // A point on the border, a corner, or (floating) the caption.
    const POINT candidates[] = {{r.left + 1, r.top + 1}, {r.left + 2, (r.top + r.bottom) / 2},
                                {r.right - 2, (r.top + r.bottom) / 2}, {(r.left + r.right) / 2, r.bottom - 2},
                                {r.right - 1, r.bottom - 1}, {(r.left + r.right) / 2, r.top + 8}};
    const POINT start = candidates[Next() % std::size(candidates)];
    const WPARAM hit = static_cast<WPARAM>(SendMessageA(target, WM_NCHITTEST, 0, MAKELPARAM(start.x, start.y)));
    const bool twice = Chance(15);
    SystemParametersInfoA(SPI_SETDRAGFULLWINDOWS, Chance(30), nullptr, 0);
    Say("%s %p at (%ld, %ld), hit %u", twice ? "double click" : "drag", (void*)target, start.x, start.y,
        static_cast<unsigned>(hit));
    if (twice) {
        SendMessageA(target, WM_NCLBUTTONDBLCLK, hit, MAKELPARAM(start.x, start.y));
        return;
    }
    for (int moves = Range(1, 4); moves > 0; --moves) {
        if (Chance(20)) PostMessageA(target, Chance(50) ? WM_KEYDOWN : WM_KEYUP, VK_CONTROL, 0);
        SetCursorPos(Range(0, 1200), Range(0, 560));
        PostMessageA(target, WM_MOUSEMOVE, 0, 0);
    }
    static const UINT kEnds[] = {WM_LBUTTONUP, WM_LBUTTONUP, WM_LBUTTONUP, WM_KEYDOWN, WM_RBUTTONDOWN, WM_CANCELMODE};
    const UINT end = kEnds[Next() % std::size(kEnds)];
    PostMessageA(target, end, end == WM_KEYDOWN ? VK_ESCAPE : 0, 0);
    PostMessageA(target, WM_CANCELMODE, 0, 0);  // never waits for input
    SetCursorPos(start.x, start.y);
    POINT c;
    GetCursorPos(&c);
    if (c.x != start.x || c.y != start.y) {
        // No drag: the posted script goes (painting stays: removed undrawn, it would come back).
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE | PM_QS_POSTMESSAGE)) {
        }
        return;
    }
    SendMessageA(target, WM_NCLBUTTONDOWN, hit, MAKELPARAM(start.x, start.y));
}

// The host's own handling: now and then it detaches, undocks, re-docks, hides or destroys from
// inside a message it receives, as real hosts do in their notifications.
void Soak::OnHostMessage(HWND hwnd, UINT message) {
    if (message == WM_DESTROY) ended_.push_back({hwnd, GetParent(hwnd)});
    // A window that heard its end gets another parent only from whoever takes it out of the tree
    // being destroyed: the first few such moves name their callers.
    static int reported = 0;
    const auto ended = std::find_if(ended_.begin(), ended_.end(), [&](const auto& e) { return e.first == hwnd; });
    if (message == WM_WINDOWPOSCHANGING && reported < 4 && ended != ended_.end() && GetParent(hwnd) != ended->second) {
        ++reported;
        char what[96];
        std::snprintf(what, sizeof what, "moved after its WM_DESTROY: %p class %s", static_cast<void*>(hwnd),
                      varnex_test::ClassOf(hwnd).c_str());
        ReportOwnStack(what);
    }
    if (!hostile_ || inHostAction_ || !IsInteresting(message) || hostRng_() % 40) return;
    inHostAction_ = true;
    std::swap(rng_, hostRng_);
    const std::string outer = what_;
    const bool ending = message == WM_DESTROY;
    const int action = Range(0, 6);
    static const bool trace = Setting("VARNEX_SOAK_TRACE", 0) != 0;
    if (trace) std::printf("        host action %d on %p in message 0x%x\n", action, (void*)hwnd, message);
    switch (action) {
    case 0: DetachFrame(hwnd); break;
    case 1: DetachFrame(GetParent(hwnd)); break;
    case 2: UnDock(hwnd); break;
    case 3: RecalcFrame(Chance(50) ? hwnd : GetAncestor(hwnd, GA_ROOT)); break;
    case 4:
        if (!ending) SetDock(hwnd, FrameLike(), Value(), Value(), 0, 0, BFX_LEFT | varnex_test::kAllSides, nullptr,
                             SD_ATTACH | SD_FLAGS | SD_RECALC);
        break;
    case 5:
        if (!ending) ShowWindow(hwnd, Chance(50) ? SW_HIDE : SW_SHOWNA);
        break;
    default: {
        if (ending) break;
        std::vector<HWND> windows = HostWindows(Chance(20));
        if (windows.empty()) break;
        HWND victim = Pick(windows);
        DestroyAsHost(victim);
        dead_.push_back(victim);
        break;
    }
    }
    what_ = outer;
    std::swap(rng_, hostRng_);
    inHostAction_ = false;
}

// ---- what must hold after every step -----------------------------------------------------------

// A window the host minimized or maximized has the size the system gives it, wherever it sits.
bool SizedBySystem(HWND w) { return (GetWindowLongA(w, GWL_STYLE) & (WS_MINIMIZE | WS_MAXIMIZE)) != 0; }

void Soak::CheckFrame(CCtrlFrameFx* frame) {
    // A minimized frame has no client area to lay out.
    for (HWND w = frame->hwnd; w; w = GetParent(w))
        if (IsIconic(w)) return;
    RecalcFrame(frame->hwnd);
    if (!GetWindowObject(frame->hwnd, kFrameProp)) return;
    for (CDockSiteFx* site : frame->dockSites) {
        RECT client;
        GetClientRect(site->hwnd, &client);
        std::vector<std::pair<HWND, RECT>> placed;
        for (CToolBarFx* bar : site->bars) {
            if (bar->IsFloating() || !bar->IsBarVisible() || SizedBySystem(bar->hwnd)) continue;
            EXPECT_EQ(GetParent(bar->hwnd), site->hwnd) << g_where;
            const RECT r = varnex_test::WindowRectIn(bar->hwnd, site->hwnd);
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
                << "a docked bar (" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom
                << ") outside its site of " << client.right << " x " << client.bottom << ", class "
                << varnex_test::ClassOf(bar->hwnd) << " style 0x" << std::hex << GetWindowLongA(bar->hwnd, GWL_STYLE)
                << " ex 0x" << GetWindowLongA(bar->hwnd, GWL_EXSTYLE) << " flags 0x" << bar->flags << std::dec
                << " dockRect (" << bar->dockRect.left << "," << bar->dockRect.top << ")-(" << bar->dockRect.right
                << "," << bar->dockRect.bottom << "), frame ready " << frame->ready << " kind 0x" << std::hex
                << frame->flags << std::dec << " client " << varnex_test::ClientOf(frame->hwnd).right << "x"
                << varnex_test::ClientOf(frame->hwnd).bottom << " iconic ancestors "
                << (IsIconic(GetAncestor(frame->hwnd, GA_ROOT)) != 0) << " visible " << IsWindowVisible(frame->hwnd)
                << " kept client " << frame->clientPane->restoreRect.right << "x" << frame->clientPane->restoreRect.bottom
                << " frame is a bar " << (GetPropA(frame->hwnd, kBarProp) != nullptr) << " frame style 0x" << std::hex
                << GetWindowLongA(frame->hwnd, GWL_STYLE) << std::dec << " frame window "
                << varnex_test::WindowRectIn(frame->hwnd, GetParent(frame->hwnd)).left << ","
                << varnex_test::WindowRectIn(frame->hwnd, GetParent(frame->hwnd)).top << "-"
                << varnex_test::WindowRectIn(frame->hwnd, GetParent(frame->hwnd)).right << ","
                << varnex_test::WindowRectIn(frame->hwnd, GetParent(frame->hwnd)).bottom << " in "
                << varnex_test::ClassOf(GetParent(frame->hwnd)) << " site parent is frame "
                << (GetParent(site->hwnd) == frame->hwnd) << " created " << site->created << " siteRect "
                << site->siteRect.left << "," << site->siteRect.top << " " << site->siteRect.right << "x"
                << site->siteRect.bottom << " site at " << varnex_test::WindowRectIn(site->hwnd, frame->hwnd).left << ","
                << varnex_test::WindowRectIn(site->hwnd, frame->hwnd).top << " site props frame "
                << (GetPropA(site->hwnd, kFrameProp) != nullptr) << " bar " << (GetPropA(site->hwnd, kBarProp) != nullptr)
                << ", " << g_where;
            for (const auto& [other, o] : placed) {
                RECT common;
                EXPECT_FALSE(IntersectRect(&common, &r, &o)) << "two docked bars overlap, " << g_where;
            }
            placed.emplace_back(bar->hwnd, r);
        }
    }
}

void Soak::Check() {
    const bool wasHostile = hostile_;
    hostile_ = false;
    EXPECT_EQ(GetCapture(), nullptr) << g_where;
    long registered = 0;
    for (HWND w : AllWindows()) {
        for (const char* name : {kFrameProp, kBarProp, kMiniFrameProp, kCtrlClassProp})
            if (GetPropA(w, name)) ++registered;
        // Each object's procedure is in its window's chain: else the window's end would pass it by.
        const std::pair<const char*, WNDPROC> procs[] = {
            {kFrameProp, FrameWndProc}, {kBarProp, BarWndProc}, {kCtrlClassProp, CtrlClassWndProc}};
        for (const auto& [name, proc] : procs) {
            if (GetWindowObject(w, name)) {
                EXPECT_TRUE(WindowRuns(w, proc)) << name << "'s procedure is not on its window, class "
                                                 << varnex_test::ClassOf(w) << ", " << g_where;
            }
        }
        if (CToolBarFx* bar = BarOf(w); bar && bar->miniFrame && bar->IsBarVisible() && IsWindowVisible(w) &&
                                         !SizedBySystem(w)) {
            HWND mini = bar->miniFrame->hwnd;
            RECT client;
            GetClientRect(mini, &client);
            EXPECT_EQ(GetParent(w), mini) << g_where;
            const RECT r = varnex_test::WindowRectIn(w, mini);
            EXPECT_TRUE(r == client) << "a floating bar (" << r.left << "," << r.top << ")-(" << r.right << ","
                                     << r.bottom << ") does not fill its window's " << client.right << " x "
                                     << client.bottom << ", flags 0x" << std::hex << bar->flags << std::dec
                                     << " class " << varnex_test::ClassOf(w) << " float size " << bar->floatSize.cx
                                     << "x" << bar->floatSize.cy << " horz " << bar->horzSize.cx << "x"
                                     << bar->horzSize.cy << " id 0x" << std::hex << GetDlgCtrlID(w) << std::dec
                                     << " frame " << (GetPropA(w, kFrameProp) != nullptr) << " class ext "
                                     << (GetPropA(w, kCtrlClassProp) != nullptr) << " first child "
                                     << varnex_test::ClassOf(GetWindow(w, GW_CHILD)) << " style 0x" << std::hex
                                     << GetWindowLongA(w, GWL_STYLE) << std::dec << ", " << g_where;
        }
    }
    EXPECT_EQ(LiveWindowObjects(), registered) << "registered objects and library properties differ, " << g_where;
    if (LiveWindowObjects() != registered) {
        RegisteredRecord* objects[256];
        const long count = CopyLiveWindowObjects(objects, 256);
        for (long i = 0; i < count; ++i) {
            const RegisteredRecord* o = objects[i];
            bool named = false;
            for (const char* name : {kFrameProp, kBarProp, kMiniFrameProp, kCtrlClassProp})
                named = named || (IsWindow(o->hwnd) && GetPropA(o->hwnd, name) == GlobalHandle(const_cast<RegisteredRecord*>(o)));
            if (!named)
                ADD_FAILURE() << "object without its property: window " << o->hwnd << " alive " << IsWindow(o->hwnd)
                              << " class " << varnex_test::ClassOf(o->hwnd) << " released " << o->released << " holds "
                              << o->holds << " flags 0x" << std::hex << o->flags << std::dec;
        }
    }
    // A window that heard its end goes: nothing the library does may move it out of the tree
    // being destroyed.
    for (const auto& [w, parent] : ended_)
        EXPECT_FALSE(IsWindow(w)) << "a window lives on after its WM_DESTROY: " << w << " class "
                                  << varnex_test::ClassOf(w) << " id 0x" << std::hex << GetDlgCtrlID(w)
                                  << " parent class " << varnex_test::ClassOf(GetParent(w)) << std::dec << ", "
                                  << g_where;
    ended_.clear();
    // Every window the library made belongs to a floating window's record or to a frame's parts.
    HWND made[256];
    const long count = CopyLibraryWindows(made, 256);
    for (long i = 0; i < count && i < 256; ++i)
        EXPECT_TRUE(IsLibraryOwned(made[i])) << "a library window left to itself: class " << varnex_test::ClassOf(made[i])
                                             << " id 0x" << std::hex << GetDlgCtrlID(made[i]) << " parent "
                                             << GetParent(made[i]) << " class "
                                             << varnex_test::ClassOf(GetParent(made[i])) << std::dec << ", " << g_where;
    for (HWND w : WindowsWith(kFrameProp))
        if (CCtrlFrameFx* frame = ManagerOf(w)) CheckFrame(frame);
    hostile_ = wasHostile;
}

// ---- the runs -----------------------------------------------------------------------------------

// What the system itself may keep varying from one identical cycle to the next (caches of
// Wine's own); anything the library leaked per cycle grows past it within a few cycles.
constexpr long kHeapBlockSlack = 16;
constexpr long kHeapByteSlack = 4096;

TEST(HostSoak, HostileHostOverManySteps) {
    StartWatchdog();
    const int steps = Setting("VARNEX_SOAK_STEPS", 500);
    for (uint32_t seed : Seeds()) {
        SCOPED_TRACE(testing::Message() << "seed 0x" << std::hex << seed);
        Soak soak(seed, 1);
        soak.Build();
        soak.Run(steps);
        soak.TearDown();
        if (testing::Test::HasFailure()) return;
    }
}

// The counts the cycles are judged by see one more window, menu, brush and heap block.
TEST(HostSoak, TheProcessCountsSeeWhatIsMade) {
    // While the thread has a window, the system keeps one of its own for it: made first.
    HWND first = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    const varnex_test::ProcessCounts before = varnex_test::MeasureProcess();
    HWND window = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    HMENU menu = CreatePopupMenu();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    void* block = HeapAlloc(GetProcessHeap(), 0, 1000);
    const varnex_test::ProcessCounts during = varnex_test::MeasureProcess();
    EXPECT_EQ(during.userObjects, before.userObjects + 2);
    EXPECT_EQ(during.gdiObjects, before.gdiObjects + 1);
    EXPECT_GE(during.heapBlocks, before.heapBlocks + 1);
    // Under Wine's heap checks (WINEDEBUG=+heap, for `make soak`) the busy bytes HeapWalk reports
    // move by more than this block: only the blocks are counted then.
    const char* debug = std::getenv("WINEDEBUG");
    if (!debug || !std::strstr(debug, "heap")) {
        EXPECT_GE(during.heapBytes, before.heapBytes + 1000);
    }
    HeapFree(GetProcessHeap(), 0, block);
    DeleteObject(brush);
    DestroyMenu(menu);
    DestroyWindow(window);
    const varnex_test::ProcessCounts after = varnex_test::MeasureProcess();
    EXPECT_EQ(after.userObjects, before.userObjects);
    EXPECT_EQ(after.gdiObjects, before.gdiObjects);
    DestroyWindow(first);
}

// The same cycle again and again: after the first few, the process holds no more heap, GDI or
// USER objects at the end of a cycle than it did before.
TEST(HostSoak, RepeatedCyclesLeaveTheProcessAsLarge) {
    StartWatchdog();
    const int cycles = Setting("VARNEX_SOAK_CYCLES", 5), steps = Setting("VARNEX_SOAK_CYCLE_STEPS", 100);
    const uint32_t seed = Seeds().front();
    std::vector<varnex_test::ProcessCounts> counts;
    for (int cycle = 1; cycle <= cycles && !testing::Test::HasFailure(); ++cycle) {
        Soak soak(seed, cycle);
        soak.Build();
        soak.Run(steps);
        soak.TearDown();
        counts.push_back(varnex_test::MeasureProcess());
        std::printf("cycle %d: %s\n", cycle, varnex_test::Describe(counts.back()).c_str());
    }
    ASSERT_GE(counts.size(), 4u);
    const varnex_test::ProcessCounts& settled = counts[2];
    for (size_t i = 3; i < counts.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "cycle " << i + 1);
        EXPECT_LE(counts[i].gdiObjects, settled.gdiObjects);
        EXPECT_LE(counts[i].userObjects, settled.userObjects);
        EXPECT_LE(counts[i].heapBlocks, settled.heapBlocks + kHeapBlockSlack);
        EXPECT_LE(counts[i].heapBytes, settled.heapBytes + kHeapByteSlack);
    }
}

}  // namespace

// Many bars docked and given back, again and again: the process does not grow from one round to
// the next once the first rounds have settled.
TEST(HostSoak, DockingRoundsLeaveTheProcessAsLarge) {
    StartWatchdog();
    const int rounds = Setting("VARNEX_DOCK_ROUNDS", 4), bars = Setting("VARNEX_DOCK_BARS", 48);
    std::vector<varnex_test::ProcessCounts> counts;
    for (int round = 1; round <= rounds; ++round) {
        HWND frame = hostkit::CreateSdiFrame("rounds", 0, 0, 800, 600, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
        ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME), 1);
        std::vector<HWND> views;
        for (int i = 0; i < bars; ++i) {
            views.push_back(hostkit::CreateView(frame, 0x300 + i, 0, 0, 40 + i % 50, 20 + i % 7));
            const UINT side = BFX_TOP << (i % 4);
            ASSERT_EQ(SetDock(views.back(), frame, i * 7 % 300, i % 5 * 30, 0, 0, side | varnex_test::kAllSides,
                              nullptr, SD_ATTACH | SD_FLAGS | SD_POSITION | (side & 0xF0)),
                      1);
            InterlockedIncrement(&g_progress);
        }
        ASSERT_EQ(RecalcFrame(frame), 1);
        for (HWND w : views) {
            ASSERT_EQ(UnDock(w), 1);
            InterlockedIncrement(&g_progress);
        }
        ASSERT_EQ(DetachFrame(frame), 1);
        DestroyWindow(frame);
        PumpUntilIdle();
        counts.push_back(varnex_test::MeasureProcess());
        std::printf("round %d: %s\n", round, varnex_test::Describe(counts.back()).c_str());
    }
    ASSERT_GE(counts.size(), 3u);
    for (size_t i = 2; i < counts.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "round " << i + 1);
        EXPECT_LE(counts[i].gdiObjects, counts[1].gdiObjects);
        EXPECT_LE(counts[i].userObjects, counts[1].userObjects);
        EXPECT_LE(counts[i].heapBlocks, counts[1].heapBlocks + kHeapBlockSlack);
        EXPECT_LE(counts[i].heapBytes, counts[1].heapBytes + kHeapByteSlack);
    }
}
