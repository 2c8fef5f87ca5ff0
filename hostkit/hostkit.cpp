// The host framework stand-in: its two window classes, frames, MDI client, dock bars, status
// bar and toolbars, each answering the framework messages the way Varnex expects of its host.
#include "hostkit.h"

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

namespace hostkit {

namespace {

constexpr char kFrameClass[] = "AfxFrameOrView40su";
constexpr char kBarClass[] = "AfxControlBar40su";
constexpr char kOldProcProp[] = "AfxOldWndProc";
// Present while a Varnex frame manager is attached: the library then lays the frame out, and
// the kit's own layout pass runs only on WM_SIZE, as the library's host contract asks.
constexpr char kLibraryFrameProp[] = "CCtrlFrameFx";

constexpr UINT kFirstBarId = 0xE800;  // control bars take part in the frame layout
constexpr UINT kLastBarId = 0xE8FF;
constexpr UINT kDockBarLastId = kDockBarTopId + 3;
constexpr UINT kFirstMdiChildId = 0xFF00;  // ids the MDI client gives its children

enum class Role {
    kMdiFrame,
    kSdiFrame,
    kMdiChild,
    kChildFrame,
    kView,
    kDockBar,
    kStatusBar,
    kToolBar,
    kMdiClient
};

// What the kit knows of a window it made; windows of its classes made by others have none.
struct HostWindow {
    explicit HostWindow(Role r) : role(r) {}
    Role role;
    HWND mdiClient = nullptr;     // MDI frames
    std::string statusText;       // frames: last WM_SETMESSAGESTRING text
    int floatActive = -1;         // top-level frames: activation last told to owned windows
    int barHeight = 0;            // status bars
    WNDPROC classProc = nullptr;  // subclassed system controls (toolbars, MDI client)
};

std::map<HWND, HostWindow> g_windows;
std::vector<HWND> g_topLevels;
// The description of the kit-class window being created, taken by its WM_NCCREATE.
std::optional<HostWindow> g_pendingWindow;
// The system control being created, subclassed by the CBT hook before it gets any message.
std::optional<HostWindow> g_pendingControl;
HHOOK g_cbtHook = nullptr;
HostHandler g_hostHandler;

// The host's own handling first; false when the window is gone after it.
bool HostHandled(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_hostHandler) return true;
    const HostHandler handler = g_hostHandler;  // the handler may replace itself
    handler(hwnd, message, wParam, lParam);
    return IsWindow(hwnd) != FALSE;
}

HostWindow* Find(HWND hwnd) {
    auto it = g_windows.find(hwnd);
    return it == g_windows.end() ? nullptr : &it->second;
}

bool IsFrameRole(Role role) {
    return role == Role::kMdiFrame || role == Role::kSdiFrame || role == Role::kMdiChild ||
           role == Role::kChildFrame;
}

void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Recorder* recorder = Recorder::Active(); recorder && recorder->Watching(hwnd))
        recorder->Add({hwnd, message, wParam, lParam, {}});
}

LRESULT DefaultProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (const HostWindow* w = Find(hwnd); w && w->role == Role::kMdiFrame)
        return DefFrameProcA(hwnd, w->mdiClient, message, wParam, lParam);
    if (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
        return DefMDIChildProcA(hwnd, message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// Moves a window inside a WM_SIZEPARENT pass: into the batch when there is one.
void Place(SizeParentParams* params, HWND hwnd, int x, int y, int cx, int cy) {
    constexpr UINT kFlags = SWP_NOZORDER | SWP_NOACTIVATE;
    if (params->hdwp)
        params->hdwp = DeferWindowPos(params->hdwp, hwnd, nullptr, x, y, cx, cy, kFlags);
    else
        SetWindowPos(hwnd, nullptr, x, y, cx, cy, kFlags);
}

bool HasVisibleStyle(HWND hwnd) {
    // The style bit, not IsWindowVisible: a frame is laid out before it is shown.
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The framework's layout pass over `area` (the client area when null): WM_SIZEPARENT to the
// control bars, which take their sides (status bar first, so it spans the whole width), and the
// rest to the pane. A frame the library manages runs it on every WM_SIZE too, for the size the
// message reports, as the library computes: the library only computes there on top-level frames,
// and its parts answer WM_SIZEPARENT for themselves.
void RepositionBars(HWND frame, const RECT* area = nullptr) {
    const HostWindow* w = Find(frame);
    if (!w || !IsFrameRole(w->role)) return;
    SizeParentParams params{};
    if (area)
        params.rect = *area;
    else
        GetClientRect(frame, &params.rect);
    params.hdwp = BeginDeferWindowPos(8);
    HWND statusBar = GetDlgItem(frame, kStatusBarId);
    if (statusBar) SendMessageA(statusBar, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
    for (HWND child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const UINT id = GetDlgCtrlID(child);
        if (child != statusBar && id >= kFirstBarId && id <= kLastBarId)
            SendMessageA(child, kWmSizeParent, 0, reinterpret_cast<LPARAM>(&params));
    }
    if (HWND pane = GetDlgItem(frame, kPaneId)) {
        const RECT& r = params.rect;
        Place(&params, pane, r.left, r.top, std::max(0L, r.right - r.left),
              std::max(0L, r.bottom - r.top));
    }
    if (params.hdwp) EndDeferWindowPos(params.hdwp);
}

// After the kit adds a window to a frame: a frame the library manages is the library's to lay out.
void LayoutFrame(HWND frame) {
    if (!GetPropA(frame, kLibraryFrameProp)) RepositionBars(frame);
}

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> owned;
};

BOOL CALLBACK CollectOwned(HWND hwnd, LPARAM lParam) {
    auto* search = reinterpret_cast<OwnedSearch*>(lParam);
    if (GetWindow(hwnd, GW_OWNER) == search->owner) search->owned.push_back(hwnd);
    return TRUE;
}

// Sends WM_FLOATSTATUS to every window the frame owns (its floating windows among them).
void NotifyOwnedWindows(HWND frame, WPARAM code) {
    OwnedSearch search{frame, {}};
    EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&search));
    for (HWND hwnd : search.owned)
        if (IsWindow(hwnd)) SendMessageA(hwnd, kWmFloatStatus, code, 0);
}

// WM_NCACTIVATE and WM_ACTIVATE both report a change; owned windows hear of it once.
void SetFloatActive(HWND frame, bool active, HWND other) {
    if (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) return;
    // An owned window taking the activation (a floating bar, a dialog) leaves the frame active
    // in the user's eyes: its floating bars stay as they are.
    if (!active && other && other != frame && GetWindow(other, GW_OWNER) == frame) return;
    HostWindow* w = Find(frame);
    if (!w || w->floatActive == static_cast<int>(active)) return;
    w->floatActive = active;
    NotifyOwnedWindows(frame, active ? kFsActivate : kFsDeactivate);
}

// The library hands over ANSI texts (SetStatusBar) and the UTF-16 texts of toolbar buttons and
// menu items; a text whose second byte is zero is taken as UTF-16.
std::string MessageText(LPARAM lParam) {
    const char* bytes = reinterpret_cast<const char*>(lParam);
    if (!bytes) return "";
    if (bytes[0] == 0 || bytes[1] != 0) return bytes;
    const wchar_t* wide = reinterpret_cast<const wchar_t*>(lParam);
    char converted[512];
    const int size = WideCharToMultiByte(CP_ACP, 0, wide, -1, converted, sizeof converted, nullptr, nullptr);
    if (size <= 0) return "";
    converted[sizeof converted - 1] = '\0';
    return converted;
}

void ShowMessageString(HWND frame, LPARAM lParam) {
    const std::string text = MessageText(lParam);
    if (HostWindow* w = Find(frame)) w->statusText = text;
    if (HWND bar = GetDlgItem(frame, kStatusBarId)) {
        SetWindowTextA(bar, text.c_str());
    } else if (GetWindowLongA(frame, GWL_STYLE) & WS_CHILD) {
        // A child frame without a bar of its own shows its texts in the main frame's.
        HWND root = GetAncestor(frame, GA_ROOT);
        if (root && root != frame)
            SendMessageA(root, kWmSetMessageString, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

LRESULT FrameProc(HWND hwnd, Role role, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            const RECT area{0, 0, LOWORD(lParam), HIWORD(lParam)};
            RepositionBars(hwnd, &area);
        }
        // DefFrameProc would stretch the MDI client over the bars.
        if (role == Role::kMdiFrame) return 0;
        break;
    case kWmSetMessageString:
        ShowMessageString(hwnd, lParam);
        return 0;
    case WM_NCACTIVATE:
        SetFloatActive(hwnd, wParam != 0, reinterpret_cast<HWND>(lParam));
        break;
    case WM_ACTIVATE:
        SetFloatActive(hwnd, LOWORD(wParam) != WA_INACTIVE, reinterpret_cast<HWND>(lParam));
        break;
    case WM_ENABLE:
        if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD))
            NotifyOwnedWindows(hwnd, wParam ? kFsEnable : kFsDisable);
        break;
    default:
        break;
    }
    return DefaultProc(hwnd, message, wParam, lParam);
}

void PaintStatusBar(HWND hwnd) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    RECT r;
    GetClientRect(hwnd, &r);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    std::string text(GetWindowTextLengthA(hwnd) + 1, '\0');
    text.resize(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size())));
    InflateRect(&r, -4, 0);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextA(dc, text.c_str(), -1, &r,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(dc, oldFont);
    EndPaint(hwnd, &ps);
}

LRESULT StatusBarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kWmSizeParent: {
        auto* params = reinterpret_cast<SizeParentParams*>(lParam);
        const HostWindow* w = Find(hwnd);
        if (!params || !w || !HasVisibleStyle(hwnd)) return 0;
        RECT& r = params->rect;
        Place(params, hwnd, r.left, r.bottom - w->barHeight, r.right - r.left, w->barHeight);
        r.bottom -= w->barHeight;
        return 0;
    }
    case WM_SETTEXT: {
        LRESULT result = DefWindowProcA(hwnd, message, wParam, lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    case WM_SIZE:
        InvalidateRect(hwnd, nullptr, TRUE);  // the text is centred vertically
        break;
    case WM_PAINT:
        PaintStatusBar(hwnd);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A dock bar as deep as its visible contents, along its side of the free rectangle.
LRESULT DockBarSizeParent(HWND hwnd, SizeParentParams* params) {
    if (!params || !HasVisibleStyle(hwnd)) return 0;
    const UINT side = GetDlgCtrlID(hwnd) - kDockBarTopId;  // top, left, right, bottom
    const bool horizontal = side == 0 || side == 3;
    LONG depth = 0;
    for (HWND child = GetWindow(hwnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!HasVisibleStyle(child)) continue;
        RECT r;
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&r), 2);
        depth = std::max(depth, horizontal ? r.bottom : r.right);
    }
    RECT& r = params->rect;
    const LONG width = r.right - r.left, height = r.bottom - r.top;
    switch (side) {
    case 0:
        Place(params, hwnd, r.left, r.top, width, depth);
        r.top += depth;
        break;
    case 1:
        Place(params, hwnd, r.left, r.top, depth, height);
        r.left += depth;
        break;
    case 2:
        Place(params, hwnd, r.right - depth, r.top, depth, height);
        r.right -= depth;
        break;
    default:
        Place(params, hwnd, r.left, r.bottom - depth, width, depth);
        r.bottom -= depth;
        break;
    }
    return 0;
}

// The class procedure of both framework classes.
LRESULT CALLBACK HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(hwnd, message, wParam, lParam);
    if (message == WM_NCCREATE) {
        // What the framework's subclassing leaves on each of its windows.
        SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(&DefWindowProcA));
        if (g_pendingWindow) {
            g_windows.insert_or_assign(hwnd, *g_pendingWindow);
            g_pendingWindow.reset();
        }
    }
    if (!HostHandled(hwnd, message, wParam, lParam)) return 0;
    LRESULT result;
    const HostWindow* w = Find(hwnd);
    if (!w)
        result = DefaultProc(hwnd, message, wParam, lParam);
    else if (IsFrameRole(w->role))
        result = FrameProc(hwnd, w->role, message, wParam, lParam);
    else if (w->role == Role::kStatusBar)
        result = StatusBarProc(hwnd, message, wParam, lParam);
    else if (w->role == Role::kDockBar && message == kWmSizeParent)
        result = DockBarSizeParent(hwnd, reinterpret_cast<SizeParentParams*>(lParam));
    else
        result = DefWindowProcA(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        RemovePropA(hwnd, kOldProcProp);
        g_windows.erase(hwnd);
    }
    return result;
}

// The framework's procedure on the system controls it wraps: record, then the control's own.
LRESULT CALLBACK ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(hwnd, message, wParam, lParam);
    if (!HostHandled(hwnd, message, wParam, lParam)) return 0;
    const HostWindow* w = Find(hwnd);
    if (!w) return DefWindowProcA(hwnd, message, wParam, lParam);
    const WNDPROC classProc = w->classProc;
    if (message == WM_NCDESTROY) {
        if (w->role == Role::kToolBar) RemovePropA(hwnd, kOldProcProp);
        if (w->role == Role::kMdiClient)
            if (HostWindow* frame = Find(GetParent(hwnd)); frame && frame->mdiClient == hwnd)
                frame->mdiClient = nullptr;
        g_windows.erase(hwnd);
    }
    return CallWindowProcA(classProc, hwnd, message, wParam, lParam);
}

// Subclasses the control being created before its first message, as the framework's creation
// hook does, so that whoever subclasses it later (the library on WM_PARENTNOTIFY) sits on top.
LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND && g_pendingControl) {
        HWND hwnd = reinterpret_cast<HWND>(wParam);
        HostWindow w = *g_pendingControl;
        g_pendingControl.reset();
        w.classProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ControlProc)));
        if (w.role == Role::kToolBar)
            SetPropA(hwnd, kOldProcProp, reinterpret_cast<HANDLE>(w.classProc));
        g_windows.insert_or_assign(hwnd, w);
    }
    return CallNextHookEx(g_cbtHook, code, wParam, lParam);
}

HINSTANCE Instance() { return GetModuleHandleA(nullptr); }

HWND CreateKitWindow(DWORD exStyle, const char* cls, const char* title, DWORD style, int x, int y,
                     int cx, int cy, HWND parent, UINT id, Role role, int barHeight = 0) {
    RegisterClasses();
    HostWindow w{role};
    w.barHeight = barHeight;
    g_pendingWindow = w;
    HWND hwnd =
        CreateWindowExA(exStyle, cls, title, style, x, y, cx, cy, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), nullptr);
    g_pendingWindow.reset();
    if (hwnd && !parent) g_topLevels.push_back(hwnd);
    return hwnd;
}

HWND CreateControl(DWORD exStyle, const char* cls, const char* title, DWORD style, int x, int y,
                   int cx, int cy, HWND parent, UINT id, Role role, void* param) {
    RegisterClasses();
    g_pendingControl = HostWindow{role};
    g_cbtHook = SetWindowsHookExA(WH_CBT, CbtProc, nullptr, GetCurrentThreadId());
    HWND hwnd =
        CreateWindowExA(exStyle, cls, title, style, x, y, cx, cy, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), Instance(), param);
    UnhookWindowsHookEx(g_cbtHook);
    g_cbtHook = nullptr;
    g_pendingControl.reset();
    return hwnd;
}

HWND CreateTopLevelFrame(Role role, const char* title, int x, int y, int cx, int cy, DWORD style) {
    // WS_VISIBLE waits until the children exist (FinishFrame), as an application shows its frame.
    return CreateKitWindow(0, kFrameClass, title, (style & ~WS_VISIBLE) | WS_CLIPCHILDREN, x, y, cx,
                           cy, nullptr, 0, role);
}

void FinishFrame(HWND frame, DWORD style) {
    LayoutFrame(frame);
    if (style & WS_VISIBLE) {
        ShowWindow(frame, SW_SHOW);
        UpdateWindow(frame);
    }
}

}  // namespace

void RegisterClasses() {
    static bool registered = false;
    if (registered) return;
    registered = true;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = HostProc;
    wc.hInstance = Instance();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = kBarClass;
    RegisterClassA(&wc);
}

HWND CreateMdiFrame(const char* title, int x, int y, int cx, int cy, DWORD style) {
    HWND frame = CreateTopLevelFrame(Role::kMdiFrame, title, x, y, cx, cy, style);
    if (!frame) return nullptr;
    CLIENTCREATESTRUCT ccs{nullptr, kFirstMdiChildId};
    RECT r;
    GetClientRect(frame, &r);
    HWND client = CreateControl(
        WS_EX_CLIENTEDGE, "MDIClient", nullptr,
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | WS_VSCROLL | WS_HSCROLL, 0, 0,
        r.right, r.bottom, frame, kPaneId, Role::kMdiClient, &ccs);
    // The host's own handling of the client's creation may have destroyed the frame.
    HostWindow* record = Find(frame);
    if (!record) return nullptr;
    record->mdiClient = client;
    FinishFrame(frame, style);
    return frame;
}

HWND CreateSdiFrame(const char* title, int x, int y, int cx, int cy, DWORD style) {
    HWND frame = CreateTopLevelFrame(Role::kSdiFrame, title, x, y, cx, cy, style);
    if (!frame) return nullptr;
    RECT r;
    GetClientRect(frame, &r);
    CreateView(frame, kPaneId, 0, 0, r.right, r.bottom);
    FinishFrame(frame, style);
    return frame;
}

HWND CreateMdiChild(HWND mdi_frame, const char* title, bool with_view) {
    HWND client = MdiClientOf(mdi_frame);
    if (!client) return nullptr;
    MDICREATESTRUCTA mcs{kFrameClass,
                         title,
                         Instance(),
                         CW_USEDEFAULT,
                         CW_USEDEFAULT,
                         CW_USEDEFAULT,
                         CW_USEDEFAULT,
                         WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                         0};
    g_pendingWindow = HostWindow{Role::kMdiChild};
    HWND child = reinterpret_cast<HWND>(
        SendMessageA(client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mcs)));
    g_pendingWindow.reset();
    if (child && with_view) {
        RECT r;
        GetClientRect(child, &r);
        CreateView(child, kPaneId, 0, 0, r.right, r.bottom);
        LayoutFrame(child);
    }
    return child;
}

HWND CreateChildFrame(HWND parent, int x, int y, int cx, int cy, UINT id) {
    return CreateKitWindow(0, kFrameClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y,
                           cx, cy, parent, id, Role::kChildFrame);
}

HWND CreateView(HWND parent, UINT id, int x, int y, int cx, int cy) {
    return CreateKitWindow(0, kFrameClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y,
                           cx, cy, parent, id, Role::kView);
}

HWND MdiClientOf(HWND mdi_frame) {
    const HostWindow* w = Find(mdi_frame);
    return w && w->role == Role::kMdiFrame ? w->mdiClient : nullptr;
}

HWND CreateDockBar(HWND frame, UINT id) {
    if (id < kDockBarTopId || id > kDockBarLastId) return nullptr;
    HWND bar = CreateKitWindow(0, kBarClass, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0, 0, 0,
                               0, frame, id, Role::kDockBar);
    LayoutFrame(frame);
    return bar;
}

HWND CreateStatusBar(HWND frame, int height) {
    RECT r;
    GetClientRect(frame, &r);
    HWND bar = CreateKitWindow(0, kBarClass, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0,
                               r.bottom - height, r.right, height, frame, kStatusBarId,
                               Role::kStatusBar, height);
    LayoutFrame(frame);
    return bar;
}

const char* StatusText(HWND frame) {
    const HostWindow* w = Find(frame);
    return w ? w->statusText.c_str() : "";
}

HWND CreateToolBar(HWND parent, UINT id, const char* title, int buttons) {
    HWND bar = CreateControl(
        0, TOOLBARCLASSNAMEA, title,
        TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER | WS_CHILD | WS_VISIBLE, 0,
        0, 0, 0, parent, id, Role::kToolBar, nullptr);
    if (!bar) return nullptr;
    SendMessageA(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(bar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, reinterpret_cast<LPARAM>(HINST_COMMCTRL));
    std::vector<TBBUTTON> list(std::max(buttons, 0));
    for (size_t i = 0; i < list.size(); ++i) {
        list[i].iBitmap = static_cast<int>(i % (STD_PRINT + 1));
        list[i].idCommand = static_cast<int>(100 + i);
        list[i].fsState = TBSTATE_ENABLED;
        list[i].fsStyle = BTNS_BUTTON;
    }
    if (!list.empty())
        SendMessageA(bar, TB_ADDBUTTONSA, list.size(), reinterpret_cast<LPARAM>(list.data()));
    // CCS_NORESIZE: the toolbar keeps whatever size it is given, so give it its buttons' size.
    SIZE size{};
    SendMessageA(bar, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&size));
    SetWindowPos(bar, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (const HostWindow* p = Find(parent); p && p->role == Role::kDockBar)
        LayoutFrame(GetParent(parent));
    return bar;
}

ScopedHostHandler::ScopedHostHandler(HostHandler handler) : previous_(std::move(g_hostHandler)) {
    g_hostHandler = std::move(handler);
}

ScopedHostHandler::~ScopedHostHandler() { g_hostHandler = std::move(previous_); }

void DestroyAll() {
    std::vector<HWND> topLevels;
    topLevels.swap(g_topLevels);
    for (HWND hwnd : topLevels)
        if (Find(hwnd) && IsWindow(hwnd)) DestroyWindow(hwnd);
    // Kit windows made inside windows that are not the kit's.
    std::vector<HWND> rest;
    for (const auto& [hwnd, w] : g_windows)
        rest.push_back(hwnd);
    for (HWND hwnd : rest) {
        if (!Find(hwnd)) continue;  // gone with its parent
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
        else
            g_windows.erase(hwnd);  // destroyed without its WM_NCDESTROY reaching the kit
    }
}

}  // namespace hostkit
