// Stand-in for the MFC 4.x-style host framework that loads Varnex: the framework's window
// classes, frames, MDI client, dock bars, status bar and toolbars, behaving as the library
// expects of its host; and a recorder of the messages that reach the host's procedures.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace hostkit {

// Child ids the framework gives its windows.
constexpr UINT kToolBarId = 0xE800;
constexpr UINT kStatusBarId = 0xE801;
constexpr UINT kDockBarTopId = 0xE81B;  // then left 0xE81C, right 0xE81D, bottom 0xE81E
constexpr UINT kPaneId = 0xE900;        // a frame's view, or an MDI frame's MDI client

// Framework messages.
constexpr UINT kWmSizeParent = 0x0361;       // lParam: SizeParentParams*
constexpr UINT kWmSetMessageString = 0x0362; // wParam 0, lParam: const char* text
constexpr UINT kWmFloatStatus = 0x036D;      // wParam: FS_* codes

// FS_* codes of WM_FLOATSTATUS.
constexpr WPARAM kFsShow = 0x01, kFsHide = 0x02, kFsActivate = 0x04, kFsDeactivate = 0x08,
                 kFsEnable = 0x10, kFsDisable = 0x20, kFsSyncActive = 0x40;

// The framework's AFX_SIZEPARENTPARAMS.
struct SizeParentParams {
    HDWP hdwp;
    RECT rect;
    SIZE sizeTotal;
    BOOL stretch;
};

// Registers "AfxFrameOrView40su" and "AfxControlBar40su" once, and loads the common controls;
// every Create* below calls it.
void RegisterClasses();

// Top-level frames get the style given; with WS_VISIBLE they are shown once their children exist.
// (Under Wine on a bare X server, hiding or destroying a shown top-level window costs 2 s unless
// the prefix sets the X11 driver's "Managed" to "N".) A frame lays itself out as the framework
// does: WM_SIZEPARENT to its control bars (ids 0xE800 to 0xE8FF, the status bar first), the rest
// to its 0xE900 child. Once a Varnex frame manager is attached it does so on every WM_SIZE only
// (the library's frame procedure answers for its dock sites), and no longer when the kit adds a
// window to the frame.

// Top-level MDI frame with an "MDIClient" child of id 0xE900.
HWND CreateMdiFrame(const char* title, int x, int y, int cx, int cy, DWORD style = WS_OVERLAPPEDWINDOW);
// Top-level single-document frame with a view of id 0xE900 (class "AfxFrameOrView40su").
HWND CreateSdiFrame(const char* title, int x, int y, int cx, int cy, DWORD style = WS_OVERLAPPEDWINDOW);
// MDI child frame (WS_EX_MDICHILD) inside an MDI frame's MDI client, with a view of id 0xE900
// when `with_view`.
HWND CreateMdiChild(HWND mdi_frame, const char* title, bool with_view = true);
// Plain child frame (class "AfxFrameOrView40su", WS_CHILD) inside `parent`.
HWND CreateChildFrame(HWND parent, int x, int y, int cx, int cy, UINT id = 0);
// A plain child window of class "AfxFrameOrView40su" (a view, a panel, a bar content).
HWND CreateView(HWND parent, UINT id, int x, int y, int cx, int cy);

// The MDI client of an MDI frame (null for other windows).
HWND MdiClientOf(HWND mdi_frame);

// Dock bar of class "AfxControlBar40su" with one of the ids 0xE81B..0xE81E.
HWND CreateDockBar(HWND frame, UINT id);
// Status bar (id 0xE801) that answers WM_SIZEPARENT by deferring its own move to the bottom of
// the free rectangle and taking its height off it. Its height is fixed at creation.
HWND CreateStatusBar(HWND frame, int height = 20);
// The text the frame last showed in its status bar through WM_SETMESSAGESTRING.
const char* StatusText(HWND frame);
// Toolbar ("ToolbarWindow32", subclassed by the framework's procedure) with `buttons` buttons of
// ids 100, 101, ...; `title` is its window text ("Standard" for the main toolbar in a dock bar).
HWND CreateToolBar(HWND parent, UINT id, const char* title, int buttons);

// Destroys every window the kit created that still exists (a test's safety net).
void DestroyAll();

// ---- a host's own handling ----------------------------------------------------------------

// What a host application does in its own procedures before the framework's handling: called
// with every message that reaches a window procedure of the kit (frames, views, dock bars, status
// bars, and the kit's procedure on toolbars and MDI clients). A host may detach, undock or destroy
// from there; the kit goes on with the message only while the window still exists.
using HostHandler = std::function<void(HWND, UINT, WPARAM, LPARAM)>;
// Installs the handler for the lifetime of the object; the previous one comes back after it.
class ScopedHostHandler {
public:
    explicit ScopedHostHandler(HostHandler handler);
    ~ScopedHostHandler();
    ScopedHostHandler(const ScopedHostHandler&) = delete;
    ScopedHostHandler& operator=(const ScopedHostHandler&) = delete;

private:
    HostHandler previous_;
};

// ---- message recorder ---------------------------------------------------------------------

// One message as a host procedure received it.
struct Message {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    // WM_WINDOWPOSCHANGING/CHANGED: a copy of the record, which lParam points to only while the
    // message is being handled.
    WINDOWPOS pos;
};

// What of an expected message is compared.
enum MatchFlags : unsigned {
    kMatchMessage = 0,    // the message number alone
    kMatchWParam = 0x1,   // and wParam
    kMatchLParam = 0x2,   // and lParam
    kOptional = 0x4,      // may be missing
    kMatchPosFlags = 0x8, // WM_WINDOWPOSCHANGING/CHANGED: and the record's flags
};

struct Expected {
    UINT message;
    unsigned match;
    WPARAM wParam;
    LPARAM lParam;
    UINT posFlags = 0;  // compared with kMatchPosFlags
};

// Records the messages that host procedures of the windows being watched receive, in order.
class Recorder {
public:
    Recorder();
    ~Recorder();  // stops recording
    Recorder(const Recorder&) = delete;  // the active-recorder stack holds its address
    Recorder& operator=(const Recorder&) = delete;
    void Watch(HWND hwnd);              // record this window's messages
    void Ignore(UINT message);          // never record this message (e.g. WM_GETICON noise)
    void Clear();
    const std::vector<Message>& Messages() const { return messages_; }
    std::vector<Message> For(HWND hwnd) const;  // the messages of one window
    size_t Count(HWND hwnd, UINT message) const;
    // Compares the messages of `hwnd` with `expected` in the manner of Wine's ok_sequence:
    // every expected message in order, optional ones may be skipped, messages in between that
    // are not in the table are a mismatch unless `allow_others`. Returns an empty string when
    // they match, otherwise a readable account of the first difference ("message N: ..." with N
    // counting that window's messages from 0).
    std::string Compare(HWND hwnd, const std::vector<Expected>& expected, bool allow_others) const;

    void Add(const Message& m);  // called by the host procedures
    bool Watching(HWND hwnd) const;
    static Recorder* Active();

private:
    std::vector<HWND> watched_;
    std::vector<UINT> ignored_;
    std::vector<Message> messages_;
    Recorder* previous_;
};

}  // namespace hostkit
