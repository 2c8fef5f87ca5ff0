// The messages a host's own procedures receive while the library attaches a frame, gives a bar
// back, lets floating windows follow their frame, and lays a frame out: expected sequences in the
// manner of Wine's ok_sequence, so that no rework of the layout changes what a host sees
// unnoticed. (The states these end in are checked by docking_test, floating_test and
// frame_resize_test; these check the way there.) Frames are shown before anything is recorded,
// as hosts show theirs before attaching them. What the system sends on its own account (the
// caption's text read while it is painted, icons, input-method context) is never recorded.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "hostkit.h"
#include "varnex.h"
#include "varnex_test.h"

using hostkit::Expected;
using varnex_test::ChildById;
using varnex_test::kAllSides;

namespace {

constexpr unsigned W = hostkit::kMatchWParam, L = hostkit::kMatchLParam, F = hostkit::kMatchPosFlags;

// What the system adds to a WINDOWPOS record, missing from the SDK headers.
constexpr UINT kNoClientSize = 0x0800, kNoClientMove = 0x1000, kStateChanged = 0x8000;
constexpr UINT kNoClientChange = kNoClientSize | kNoClientMove;
constexpr UINT kUnmoved = SWP_NOSIZE | SWP_NOMOVE | kNoClientChange;
// The library's own moves: a part raised or lowered, a bar hidden, a bar or the pane placed by the
// layout, a frame told its frame changed, a window given back.
constexpr UINT kZOrder = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE;
constexpr UINT kHide = SWP_HIDEWINDOW | SWP_NOOWNERZORDER | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kPlaced = SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | SWP_NOOWNERZORDER;
constexpr UINT kFrameChange = SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE;
constexpr UINT kGivenBack = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSENDCHANGING | SWP_SHOWWINDOW;
// The host's own placing in its WM_SIZEPARENT pass.
constexpr UINT kHostPlace = SWP_NOZORDER | SWP_NOACTIVATE;

// Flags that keep the host's WS_OVERLAPPEDWINDOW: attaching changes no frame's size.
constexpr UINT kOverlapped = AF_SYSMENU | AF_THICKFRAME | AF_MINIMIZEBOX | AF_MAXIMIZEBOX;
constexpr DWORD kShown = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
constexpr UINT kFloating = BFX_TOP | BFX_FLOATING | BFX_FLOATABLE | kAllSides;

// lParam of WM_SIZE and WM_MOVE as the window ends: its client size, and where its client area
// lies in its parent (on the screen for a top-level window).
constexpr LPARAM kItsSize = -1, kItsPlace = -2;

Expected Pos(UINT message, UINT flags) { return {message, F, 0, 0, flags}; }
Expected Msg(UINT message) { return {message, 0, 0, 0}; }
Expected Style(UINT message, int index) { return {message, W, static_cast<WPARAM>(index), 0}; }
Expected Created(UINT id) { return {WM_PARENTNOTIFY, W, MAKEWPARAM(WM_CREATE, id), 0}; }
const Expected kNcCalcSize{WM_NCCALCSIZE, W, TRUE, 0};
const Expected kNcPaint = Msg(WM_NCPAINT), kErase = Msg(WM_ERASEBKGND);
const Expected kMoved{WM_MOVE, L, 0, kItsPlace};
const Expected kSized{WM_SIZE, W | L, SIZE_RESTORED, kItsSize};

using Sequence = std::vector<Expected>;
Sequence operator+(Sequence a, const Sequence& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct Watched {
    const char* name;
    HWND hwnd;
    Sequence expected;
};

void Watch(hostkit::Recorder& recorder, const std::vector<HWND>& windows) {
    for (UINT noise : {WM_GETTEXT, WM_GETICON, WM_IME_SETCONTEXT, WM_IME_NOTIFY}) recorder.Ignore(noise);
    for (HWND hwnd : windows) recorder.Watch(hwnd);
}

void ExpectSequences(const hostkit::Recorder& recorder, const std::vector<Watched>& windows) {
    for (const Watched& w : windows) {
        Sequence expected = w.expected;
        for (Expected& e : expected) {
            if (e.lParam == kItsSize) {
                const RECT c = varnex_test::ClientOf(w.hwnd);
                e.lParam = MAKELPARAM(c.right, c.bottom);
            } else if (e.lParam == kItsPlace) {
                POINT origin{0, 0};
                MapWindowPoints(w.hwnd, GetAncestor(w.hwnd, GA_PARENT), &origin, 1);
                e.lParam = MAKELPARAM(origin.x, origin.y);
            }
        }
        EXPECT_EQ(recorder.Compare(w.hwnd, expected, false), "") << w.name;
    }
}

// ---- AttachFrame ----------------------------------------------------------------------------

// The styles set, then the frame told its frame changed.
const Sequence kRestyled = {Style(WM_STYLECHANGING, GWL_STYLE), Style(WM_STYLECHANGED, GWL_STYLE),
                            Style(WM_STYLECHANGING, GWL_EXSTYLE), Style(WM_STYLECHANGED, GWL_EXSTYLE),
                            Pos(WM_WINDOWPOSCHANGING, kFrameChange), kNcCalcSize};
const Sequence kTopLevelAttached =
    kRestyled + Sequence{kNcPaint, Pos(WM_WINDOWPOSCHANGED, kFrameChange | kNoClientChange)};
// A part raised or lowered once, before the library's procedure is on it.
const Sequence kRestacked = {Pos(WM_WINDOWPOSCHANGING, kZOrder), Pos(WM_WINDOWPOSCHANGED, kZOrder | kNoClientChange)};
// The pane placed below the sites; the library answers the change coming.
const Sequence kPanePlaced = {kNcCalcSize, kNcPaint, Pos(WM_WINDOWPOSCHANGED, kPlaced | SWP_NOMOVE | kNoClientMove),
                               kSized};

TEST(HostSequences, AttachFrameOfEachKind) {
    struct Made {
        HWND top, frame;
        UINT flags;
        std::vector<Watched> watched;
    };
    const std::function<Made()> kinds[] = {
        // The host's top dock bar holds its "Standard" toolbar, which the library adopts: hidden,
        // then handled by the library alone.
        [] {
            HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400, kShown);
            HWND dock = hostkit::CreateDockBar(mdi, VNX_ID_DOCK_TOP);
            HWND standard = hostkit::CreateToolBar(dock, 0xE800, "Standard", 3);
            HWND status = hostkit::CreateStatusBar(mdi);
            return Made{
                mdi, mdi, AF_MDIFRAME | kOverlapped,
                {{"mdi frame", mdi,
                  Sequence{Created(VNX_ID_DOCK_LEFT), Created(VNX_ID_DOCK_RIGHT), Created(VNX_ID_DOCK_BOTTOM)} +
                      kTopLevelAttached},
                 // Laid out through the host's WM_SIZEPARENT; already in place, it is not moved.
                 {"status bar", status,
                  kRestacked + Sequence{Msg(hostkit::kWmSizeParent), Pos(WM_WINDOWPOSCHANGING, kHostPlace)}},
                 {"mdi client", ChildById(mdi, VNX_ID_PANE),
                  Sequence{Msg(WM_MDIGETACTIVE)} + kRestacked +
                      Sequence{kNcCalcSize, kNcPaint, Pos(WM_WINDOWPOSCHANGED, kPlaced), kMoved, kSized}},
                 {"dock bar", dock, kRestacked + Sequence{kErase}},
                 {"standard toolbar", standard, {Pos(WM_WINDOWPOSCHANGED, kHide | kNoClientChange)}}}};
        },
        // The status bar is the host's to place on the frame's next WM_SIZE: until then the view
        // reaches under it.
        [] {
            HWND sdi = hostkit::CreateSdiFrame("sdi", 0, 0, 520, 400, kShown);
            HWND dock = hostkit::CreateDockBar(sdi, VNX_ID_DOCK_LEFT);
            HWND status = hostkit::CreateStatusBar(sdi);
            return Made{
                sdi, sdi, AF_SDIFRAME | kOverlapped,
                {{"sdi frame", sdi,
                  Sequence{Created(VNX_ID_DOCK_TOP), Created(VNX_ID_DOCK_RIGHT), Created(VNX_ID_DOCK_BOTTOM)} +
                      kTopLevelAttached},
                 {"status bar", status, kRestacked},
                 {"view", ChildById(sdi, VNX_ID_PANE), kRestacked + kPanePlaced},
                 {"dock bar", dock, kRestacked}}};
        },
        [] {
            HWND mdi = hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400, kShown);
            HWND child = hostkit::CreateMdiChild(mdi, "child");
            HWND status = hostkit::CreateStatusBar(child);
            return Made{mdi, child, AF_MDICHILD | kOverlapped,
                        {{"mdi child", child,
                          Sequence{Created(VNX_ID_DOCK_TOP), Created(VNX_ID_DOCK_LEFT), Created(VNX_ID_DOCK_RIGHT),
                                   Created(VNX_ID_DOCK_BOTTOM)} +
                              kTopLevelAttached},
                         {"status bar", status, kRestacked},
                         {"view", ChildById(child, VNX_ID_PANE), kRestacked + kPanePlaced}}};
        },
        // The library makes the pane, and the frame's content moves into it by SetParent: hidden,
        // moved over, activated as a child, shown.
        [] {
            HWND holder = hostkit::CreateSdiFrame("holder", 0, 0, 520, 400, kShown);
            HWND frame = hostkit::CreateChildFrame(ChildById(holder, VNX_ID_PANE), 10, 10, 300, 200);
            HWND content = hostkit::CreateView(frame, 0x301, 4, 4, 60, 20);
            constexpr UINT kSetParentHide = kHide & ~SWP_NOOWNERZORDER;
            constexpr UINT kSetParentShow = SWP_SHOWWINDOW | kZOrder | SWP_NOZORDER;
            return Made{holder, frame, AF_CHILDFRAME,
                        {{"child frame", frame,
                          Sequence{Created(VNX_ID_PANE), kErase, Created(VNX_ID_DOCK_TOP), Created(VNX_ID_DOCK_LEFT),
                                   Created(VNX_ID_DOCK_RIGHT), Created(VNX_ID_DOCK_BOTTOM)} +
                              kRestyled +
                              Sequence{Pos(WM_WINDOWPOSCHANGED, kFrameChange | kNoClientChange), kNcPaint, kErase}},
                         {"content", content,
                          {{WM_SHOWWINDOW, W, FALSE, 0}, Pos(WM_WINDOWPOSCHANGING, kSetParentHide),
                           Pos(WM_WINDOWPOSCHANGED, kSetParentHide | kNoClientChange),
                           Pos(WM_WINDOWPOSCHANGING, SWP_NOSIZE), Msg(WM_CHILDACTIVATE), {WM_SHOWWINDOW, W, TRUE, 0},
                           Pos(WM_WINDOWPOSCHANGING, kSetParentShow),
                           Pos(WM_WINDOWPOSCHANGED, kSetParentShow | kNoClientChange), kNcPaint, kErase}}}};
        }};
    for (const auto& make : kinds) {
        const Made made = make();
        SCOPED_TRACE(made.watched[0].name);
        varnex_test::Pump();
        hostkit::Recorder recorder;
        std::vector<HWND> windows;
        for (const Watched& w : made.watched) windows.push_back(w.hwnd);
        Watch(recorder, windows);
        ASSERT_EQ(AttachFrame(made.frame, made.flags), 1);
        ExpectSequences(recorder, made.watched);
        DestroyWindow(made.top);
    }
}

// ---- UnDock ---------------------------------------------------------------------------------

// The bar's window goes back to the frame it was found in, styles first, and is shown where it
// was with one move its procedure is not asked about; then the frame is laid out again.
TEST(HostSequences, UnDockGivesTheWindowBack) {
    // Hidden with the library's procedure already off it, then re-parented by SetParent.
    const Sequence kTakenOut = {Pos(WM_WINDOWPOSCHANGING, kHide), Pos(WM_WINDOWPOSCHANGED, kHide | kNoClientChange),
                                Pos(WM_WINDOWPOSCHANGING, SWP_NOSIZE), Msg(WM_CHILDACTIVATE)};
    const Sequence kStylesBack = {Style(WM_STYLECHANGING, GWL_EXSTYLE), Style(WM_STYLECHANGED, GWL_EXSTYLE),
                                  Style(WM_STYLECHANGING, GWL_STYLE),   Style(WM_STYLECHANGED, GWL_STYLE),
                                  kNcCalcSize,                          kNcPaint,
                                  kErase};
    const struct {
        const char* name;
        UINT flags, operation;
        Sequence bar, frame, view;
    } cases[] = {
        // Its client area as large as when docked: only the move is reported.
        {"docked", BFX_TOP | kAllSides, SD_ATTACH | SD_FLAGS | SD_RECALC,
         kTakenOut + kStylesBack + Sequence{Pos(WM_WINDOWPOSCHANGED, kGivenBack | kNoClientSize), kMoved},
         {kErase},
         {kNcCalcSize, kNcPaint, kErase, Pos(WM_WINDOWPOSCHANGED, kPlaced), kMoved, kSized}},
        // SetParent moves it out of the floating window's client area; the pane gains nothing.
        {"floating", kFloating, SD_ATTACH | SD_FLAGS | SD_RECALC | SD_POSITION | SD_FLOAT,
         kTakenOut + Sequence{Pos(WM_WINDOWPOSCHANGED, SWP_NOSIZE | SWP_NOZORDER | SWP_NOREDRAW | kNoClientSize),
                              Msg(WM_MOVE)} +
             kStylesBack + Sequence{Pos(WM_WINDOWPOSCHANGED, kGivenBack), kMoved, kSized},
         {},
         {kNcCalcSize, Pos(WM_WINDOWPOSCHANGED, kPlaced | kUnmoved)}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HWND frame = hostkit::CreateSdiFrame("sdi", 0, 0, 520, 400, kShown);
        ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME | kOverlapped), 1);
        HWND bar = hostkit::CreateView(frame, 0x300, 5, 6, 100, 26);
        ASSERT_EQ(SetDock(bar, frame, 100, 120, 0, 0, c.flags, nullptr, c.operation), 1);
        HWND view = ChildById(frame, VNX_ID_PANE);
        varnex_test::Pump();
        hostkit::Recorder recorder;
        Watch(recorder, {bar, frame, view});
        ASSERT_EQ(UnDock(bar), 1);
        ExpectSequences(recorder, {{"bar", bar, c.bar}, {"frame", frame, c.frame}, {"view", view, c.view}});
        DestroyWindow(frame);
    }
}

// ---- floating windows following their frame -------------------------------------------------

// The user deactivates, activates, minimizes and restores a frame with two floating bars. The
// host sends WM_FLOATSTATUS to the floating windows a top-level frame owns; the library tells
// those of an MDI child itself. The bars inside hear of it only when their floating window is
// shown again (they are erased), never of its caption; the frame's own messages reach the host.
TEST(HostSequences, FloatingWindowsFollowTheFrame) {
    constexpr UINT kMinimizing =
        kStateChanged | SWP_NOCOPYBITS | SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER;
    constexpr UINT kRestoring = kStateChanged | SWP_NOCOPYBITS | SWP_FRAMECHANGED;
    const Expected kKillFocus = Msg(WM_KILLFOCUS), kSetFocus = Msg(WM_SETFOCUS);
    const Expected kMinimize{WM_SYSCOMMAND, W, SC_MINIMIZE, 0}, kRestore{WM_SYSCOMMAND, W, SC_RESTORE, 0};
    const Sequence kMinimized = {Pos(WM_WINDOWPOSCHANGING, kMinimizing), kNcCalcSize, kNcPaint,
                                 Pos(WM_WINDOWPOSCHANGED, kMinimizing & ~SWP_SHOWWINDOW), Msg(WM_MOVE),
                                 {WM_SIZE, W | L, SIZE_MINIMIZED, 0}};
    // Deactivated, activated, minimized, restored.
    const Sequence kTopLevel[] = {
        {{WM_NCACTIVATE, W, FALSE, 0}, {WM_ACTIVATE, W, WA_INACTIVE, 0}, kKillFocus},
        {Msg(WM_QUERYNEWPALETTE), {WM_NCACTIVATE, W, TRUE, 0}, {WM_ACTIVATE, W, WA_ACTIVE, 0}, kSetFocus},
        Sequence{kMinimize, kKillFocus} + kMinimized,
        {kRestore, Msg(WM_QUERYOPEN), Pos(WM_WINDOWPOSCHANGING, kRestoring), kNcCalcSize, kNcPaint,
         Pos(WM_WINDOWPOSCHANGED, kRestoring), kMoved, kSized, kSetFocus, {WM_ACTIVATE, W, WA_ACTIVE, 0}}};
    const Sequence kMdiChild[] = {
        {{WM_NCACTIVATE, W, FALSE, 0}, kKillFocus},
        {{WM_NCACTIVATE, W, TRUE, 0}, kSetFocus},
        Sequence{kMinimize, kKillFocus, kSetFocus} + kMinimized + Sequence{Msg(WM_CHILDACTIVATE)},
        {kRestore, Msg(WM_QUERYOPEN), Pos(WM_WINDOWPOSCHANGING, kRestoring), kNcCalcSize, Msg(WM_CHILDACTIVATE),
         kNcPaint, Pos(WM_WINDOWPOSCHANGED, kRestoring | SWP_NOZORDER), kMoved, kSized}};
    const char* const kSteps[] = {"deactivated", "activated", "minimized", "restored"};
    const struct {
        const char* name;
        UINT flags;
        const Sequence* frame;
        bool shownOnActivation;  // AF_FLOATAUTOHIDE: hidden and shown with the frame's activation
    } variants[] = {{"sdi frame", AF_SDIFRAME, kTopLevel, false},
                    {"sdi frame, auto-hide", AF_SDIFRAME | AF_FLOATAUTOHIDE, kTopLevel, true},
                    {"mdi child", AF_MDICHILD, kMdiChild, false}};
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        const bool child = v.flags & AF_MDICHILD;
        HWND top = child ? hostkit::CreateMdiFrame("mdi", 0, 0, 520, 400, kShown)
                         : hostkit::CreateSdiFrame("sdi", 0, 0, 520, 400, kShown);
        HWND frame = child ? hostkit::CreateMdiChild(top, "child") : top;
        ASSERT_EQ(AttachFrame(frame, v.flags | kOverlapped), 1);
        HWND bars[2];
        for (int i = 0; i < 2; ++i) {
            bars[i] = hostkit::CreateView(frame, 0x300 + i, 0, 0, 100, 26);
            ASSERT_EQ(SetDock(bars[i], frame, 100 + 200 * i, 120, 0, 0, kFloating, nullptr,
                              SD_ATTACH | SD_FLAGS | SD_POSITION | SD_FLOAT),
                      1);
        }
        HWND other = hostkit::CreateSdiFrame("other", 300, 40, 300, 200, kShown);
        SetActiveWindow(top);
        const std::function<void()> steps[] = {[&] { SetActiveWindow(other); }, [&] { SetActiveWindow(top); },
                                               [&] { SendMessageA(frame, WM_SYSCOMMAND, SC_MINIMIZE, 0); },
                                               [&] { SendMessageA(frame, WM_SYSCOMMAND, SC_RESTORE, 0); }};
        for (int step = 0; step < 4; ++step) {
            SCOPED_TRACE(kSteps[step]);
            varnex_test::Pump();
            hostkit::Recorder recorder;
            Watch(recorder, {bars[0], bars[1], frame});
            steps[step]();
            const bool shownAgain = step == 3 || (step == 1 && v.shownOnActivation);
            const Sequence bar = shownAgain ? Sequence{kErase} : Sequence{};
            ExpectSequences(recorder, {{"first bar", bars[0], bar},
                                       {"second bar", bars[1], bar},
                                       {"frame", frame, v.frame[step]}});
            // Hidden with their floating window, which they are not told of. (Wine hides the windows
            // a minimized top-level frame owns by itself as well.)
            const bool hidden = step == 2 || (step == 0 && v.shownOnActivation);
            for (HWND b : bars) EXPECT_EQ(IsWindowVisible(b) != 0, !hidden) << "a bar's visibility";
        }
        DestroyWindow(other);
        DestroyWindow(top);
    }
}

// ---- the layout -----------------------------------------------------------------------------

// Bars on three sides, one a toolbar and one stretched along the bottom, laid out again at the
// same size, then with the frame made smaller. A bar hears of its place only once it is taken
// (the library answers the change coming, the non-client size and painting), and hears of it
// even when nothing moved: its frame changed.
TEST(HostSequences, LayoutOfDockedBars) {
    HWND frame = hostkit::CreateSdiFrame("sdi", 0, 0, 520, 400, kShown);
    HWND status = hostkit::CreateStatusBar(frame);
    ASSERT_EQ(AttachFrame(frame, AF_SDIFRAME | kOverlapped), 1);
    const struct {
        const char* name;
        HWND hwnd;
        UINT flags;
    } bars[] = {{"toolbar", hostkit::CreateToolBar(frame, 0x300, "tools", 4), BFX_TOP},
                {"top", hostkit::CreateView(frame, 0x301, 0, 0, 120, 24), BFX_TOP},
                {"left", hostkit::CreateView(frame, 0x302, 0, 0, 40, 100), BFX_LEFT},
                {"bottom", hostkit::CreateView(frame, 0x303, 0, 0, 150, 30), BFX_BOTTOM | BFX_STRETCH}};
    for (const auto& b : bars)
        ASSERT_EQ(SetDock(b.hwnd, frame, 0, 0, 0, 0, b.flags | kAllSides, nullptr, SD_ATTACH | SD_FLAGS), 1);
    ASSERT_EQ(RecalcFrame(frame), 1);
    HWND view = ChildById(frame, VNX_ID_PANE);

    const Sequence kInPlace = {Pos(WM_WINDOWPOSCHANGED, kPlaced | kUnmoved)};
    constexpr UINT kResize = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    const struct {
        const char* name;
        std::function<void()> act;
        Sequence bars[4], frame, view, status;
    } passes[] = {
        {"RecalcFrame", [&] { EXPECT_EQ(RecalcFrame(frame), 1); },
         {kInPlace, kInPlace, kInPlace, kInPlace},
         {},
         {kNcCalcSize, Pos(WM_WINDOWPOSCHANGED, kPlaced | kUnmoved)},
         {}},
        // Only the stretched bar changes: narrower, and erased as its site moves up. The host's
        // WM_SIZEPARENT pass on the frame's WM_SIZE places the status bar and the pane.
        {"frame resized", [&] { SetWindowPos(frame, nullptr, 0, 0, 460, 350, kResize); },
         {kInPlace, kInPlace, kInPlace,
          {Pos(WM_WINDOWPOSCHANGED, kPlaced | SWP_NOMOVE | kNoClientMove), kSized, kErase, kErase}},
         {Pos(WM_WINDOWPOSCHANGING, kResize), kNcCalcSize, kNcPaint, Pos(WM_WINDOWPOSCHANGED, kResize | kNoClientMove),
          kSized, kErase},
         {kNcCalcSize, Pos(WM_WINDOWPOSCHANGED, kHostPlace | SWP_NOMOVE | kNoClientMove), kSized},
         {Msg(hostkit::kWmSizeParent), Pos(WM_WINDOWPOSCHANGING, kHostPlace), kNcCalcSize, kNcPaint, kErase,
          Pos(WM_WINDOWPOSCHANGED, kHostPlace), kMoved, kSized, kErase}},
    };
    for (const auto& pass : passes) {
        SCOPED_TRACE(pass.name);
        varnex_test::Pump();
        hostkit::Recorder recorder;
        Watch(recorder, {bars[0].hwnd, bars[1].hwnd, bars[2].hwnd, bars[3].hwnd, frame, view, status});
        pass.act();
        std::vector<Watched> watched = {
            {"frame", frame, pass.frame}, {"view", view, pass.view}, {"status bar", status, pass.status}};
        for (int i = 0; i < 4; ++i) watched.push_back({bars[i].name, bars[i].hwnd, pass.bars[i]});
        ExpectSequences(recorder, watched);
    }
    DestroyWindow(frame);
}

}  // namespace
