/* minimal-host: a complete host for Varnex in C99 and the Win32 API, linked through the import
 * library. An MDI frame with a status bar; the library lays out its client area and docks its
 * bars: the main toolbar on top, with a drop-down button; a toolbar on the left; a panel that
 * floats beside the frame; and a document whose view scrolls. The bars' places are saved on exit
 * and restored on start (layout_store.c).
 *
 * What the library expects of its host, and where this file does it:
 *  - the framework's window classes "AfxFrameOrView40su" and "AfxControlBar40su", in which the
 *    library makes windows of its own (RegisterClasses);
 *  - the framework's child ids: 0xE900 for the MDI client or a view, 0xE801 for the status bar,
 *    0xE800 for the main toolbar (CreateFrame, NewDocument);
 *  - on every WM_SIZE of a frame, WM_SIZEPARENT to its control bars (ids 0xE800 to 0xE8FF: the
 *    status bar first, then the dock sites the library made) and the rest of the client area to
 *    its 0xE900 child (LayOutFrame); a status bar that takes its room from WM_SIZEPARENT
 *    (ControlBarProc);
 *  - WM_FLOATSTATUS to the frame's floating windows as the frame is activated or enabled
 *    (NotifyFloatingWindows), and WM_SETMESSAGESTRING shown in the status bar (MainFrameProc).
 *
 *   minimal-host.exe                      runs until closed
 *   minimal-host.exe report=FILE STEP...  runs a test's steps (layout_script.c) */
#include <windows.h>
#include <commctrl.h>

#include "layout_script.h"
#include "layout_store.h"
#include "minimal_host.h"

/* The framework's AFX_SIZEPARENTPARAMS, which WM_SIZEPARENT's lParam points to. */
typedef struct SizeParentParams {
    HDWP hdwp; /* the batch each receiver adds its own move to */
    RECT rect; /* the room still free; each receiver takes its part */
    SIZE sizeTotal;
    BOOL stretch;
} SizeParentParams;

enum {
    ID_TOOLS = 0x701, /* bars other than the main toolbar: ids outside 0xE800..0xE8FF */
    ID_PANEL = 0x702,
    ID_NEW = 100, ID_OPEN, ID_SAVE, /* main toolbar buttons */
    ID_CUT = 200, ID_COPY, ID_PASTE, ID_DELETE,
    ID_NEW_DOCUMENT = 300, ID_NEW_TEMPLATE, /* the New button's drop-down menu */
    STATUS_HEIGHT = 22
};

#define ALL_SIDES (BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM)
#define TOOLBAR_LOOK (ALL_SIDES | BFX_MOVABLE | BFX_FLOATABLE | BFX_GRIPPER | BFX_RAISEDBORDER)

/* The bars with their default places (DOCKSTATE: docked, side, reserved, x, y, cx, cy), which
 * the layout file overrides. The panel's floating position is set beside the frame at start. */
HostBar g_bars[BAR_COUNT] = {
    {"main", NULL, TOOLBAR_LOOK, BFX_TOP, {1, 0, 0, 0, 0, 0, 0}},
    /* Turned upright on the left and right sides. */
    {"tools", NULL, TOOLBAR_LOOK | BFX_ROTATE, BFX_LEFT, {1, 1, 0, 0, 0, 0, 0}},
    {"panel", NULL, ALL_SIDES | BFX_MOVABLE | BFX_FLOATABLE | BFX_SIZABLE | BFX_CAPTION | BFX_SUNKENBORDER,
     BFX_RIGHT, {0, 3, 0, 0, 0, 0, 0}},
};

HWND g_frame;
static HWND g_client, g_status;
static ToolButtonRecord g_mainButtons[3]; /* bound to the main toolbar's buttons */
static HMENU g_newMenu;

static const TBBUTTON kMainButtons[] = {
    {.iBitmap = STD_FILENEW, .idCommand = ID_NEW, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_DROPDOWN},
    {.iBitmap = STD_FILEOPEN, .idCommand = ID_OPEN, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
    {.iBitmap = STD_FILESAVE, .idCommand = ID_SAVE, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
};
static const TBBUTTON kToolButtons[] = {
    {.iBitmap = STD_CUT, .idCommand = ID_CUT, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
    {.iBitmap = STD_COPY, .idCommand = ID_COPY, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
    {.iBitmap = STD_PASTE, .idCommand = ID_PASTE, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
    {.iBitmap = STD_DELETE, .idCommand = ID_DELETE, .fsState = TBSTATE_ENABLED, .fsStyle = BTNS_BUTTON},
};

/* ---- layout ---------------------------------------------------------------------------- */

/* The framework's layout of a frame: its control bars take their room from the free rectangle,
 * the status bar first so that it spans the whole width; the 0xE900 child gets the rest. */
static void LayOutFrame(HWND frame)
{
    SizeParentParams params = {0};
    HWND status = GetDlgItem(frame, VNX_ID_STATUSBAR), pane = GetDlgItem(frame, VNX_ID_PANE), child;
    GetClientRect(frame, &params.rect);
    params.stretch = TRUE;
    params.hdwp = BeginDeferWindowPos(8);
    if (status) SendMessageA(status, WM_SIZEPARENT, 0, (LPARAM)&params);
    for (child = GetWindow(frame, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        UINT id = (UINT)GetDlgCtrlID(child);
        if (child != status && id >= VNX_ID_TOOLBAR && id <= 0xE8FF)
            SendMessageA(child, WM_SIZEPARENT, 0, (LPARAM)&params);
    }
    if (pane) {
        const RECT *r = &params.rect;
        const int cx = r->right > r->left ? r->right - r->left : 0, cy = r->bottom > r->top ? r->bottom - r->top : 0;
        params.hdwp = DeferWindowPos(params.hdwp, pane, NULL, r->left, r->top, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    EndDeferWindowPos(params.hdwp);
}

int DockBar(HostBar *bar)
{
    const DOCKSTATE s = bar->state; /* the library writes the record while it docks */
    UINT flags = bar->flags, operation = SD_ATTACH | SD_FLAGS | SD_POSITION | SD_SIZE | SD_RECALC;
    if (s.docked) {
        /* Sides 0 to 3 are the bits BFX_TOP to BFX_BOTTOM, and SD_TOP to SD_BOTTOM alike. */
        flags |= BFX_TOP << s.side;
        operation |= SD_TOP << s.side;
    } else {
        flags |= BFX_FLOATING | bar->homeSide;
        operation |= SD_FLOAT;
    }
    /* The record is kept only when this call makes the bar: the bar's first SetDock. */
    return SetDock(bar->window, g_frame, s.x, s.y, s.cx, s.cy, flags, &bar->state, operation);
}

/* ---- windows --------------------------------------------------------------------------- */

static BOOL CALLBACK NotifyOwnedWindow(HWND window, LPARAM code)
{
    if (GetWindow(window, GW_OWNER) == g_frame) SendMessageA(window, WM_FLOATSTATUS, (WPARAM)code, 0);
    return TRUE;
}

/* The library's floating windows are owned by the frame and follow it through WM_FLOATSTATUS. */
static void NotifyFloatingWindows(WPARAM code)
{
    EnumThreadWindows(GetCurrentThreadId(), NotifyOwnedWindow, (LPARAM)code);
}

static void PaintStatusBar(HWND bar)
{
    PAINTSTRUCT ps;
    WCHAR text[256];
    RECT r;
    HDC dc = BeginPaint(bar, &ps);
    GetClientRect(bar, &r);
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
    InflateRect(&r, -4, 0);
    GetWindowTextW(bar, text, 256);
    SetBkMode(dc, TRANSPARENT);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    EndPaint(bar, &ps);
}

/* "AfxControlBar40su": the status bar, and the dock sites the library makes. */
static LRESULT CALLBACK ControlBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (GetDlgCtrlID(window) != VNX_ID_STATUSBAR) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_SIZEPARENT: {
        /* Along the bottom of the free room, taken off it; a hidden status bar takes none. */
        SizeParentParams *params = (SizeParentParams *)lParam;
        RECT *free = &params->rect;
        if (!(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) return 0;
        params->hdwp = DeferWindowPos(params->hdwp, window, NULL, free->left, free->bottom - STATUS_HEIGHT,
                                      free->right - free->left, STATUS_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);
        free->bottom -= STATUS_HEIGHT;
        return 0;
    }
    case WM_SETTEXT:
        InvalidateRect(window, NULL, TRUE);
        break;
    case WM_PAINT:
        PaintStatusBar(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

/* A document: an MDI child frame whose view (0xE900) holds more than it shows. The library
 * gives the view scroll bars and keeps the frame from shrinking below a usable client size. */
static HWND NewDocument(const char *title, int x, int y)
{
    HINSTANCE instance = GetModuleHandleA(NULL);
    MDICREATESTRUCTA create = {"AfxFrameOrView40su", title, instance, x, y, 320, 220, WS_CLIPCHILDREN, 0};
    HWND document = (HWND)SendMessageA(g_client, WM_MDICREATE, 0, (LPARAM)&create), view;
    RECT r;
    int i;
    if (!document) return NULL;
    GetClientRect(document, &r);
    view = CreateWindowExA(0, "AfxFrameOrView40su", NULL, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, r.right,
                           r.bottom, document, (HMENU)VNX_ID_PANE, instance, NULL);
    for (i = 0; i < 24; ++i) {
        char line[16];
        wsprintfA(line, "Line %d", i + 1);
        CreateWindowExA(0, "STATIC", line, WS_CHILD | WS_VISIBLE, 10 + i % 3 * 180, 10 + i / 3 * 40, 160, 30, view,
                        NULL, instance, NULL);
    }
    AttachFrame(document, AF_MDICHILD | AF_SYSMENU | AF_THICKFRAME | AF_CAPTIONMOVE | AF_BORDERSIZE |
                              AF_MINIMIZEBOX | AF_MAXIMIZEBOX);
    SetScrollBar(view, 0, 0, 0, 0, SSR_HORZ | SSR_VERT | SSR_START | SSR_END | SSR_AUTO);
    SetClientRange(view, 120, 80, 0, 0, SSC_MIN | SSC_MAX);
    return document;
}

/* The New button: clicked, or an item chosen from its drop-down menu, which the library writes
 * into the button's record before it passes the command on. */
static void OnNew(void)
{
    ToolButtonRecord *record = &g_mainButtons[0];
    const BOOL fromTemplate = record->choice == (ID_NEW_TEMPLATE & 0xFF);
    record->choice = 0; /* the next click comes without a choice */
    NewDocument(fromTemplate ? "From a template" : "New document", CW_USEDEFAULT, CW_USEDEFAULT);
    SetWindowTextW(g_status, fromTemplate ? L"A document from a template" : L"A new document");
}

/* The main frame, after the library's frame procedure. */
static LRESULT MainFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) LayOutFrame(frame);
        return 0; /* DefFrameProc would spread the MDI client over the whole client area */
    case WM_SETMESSAGESTRING:
        /* Texts the host gave the library come back as given: UTF-16 here. */
        SetWindowTextW(g_status, (LPCWSTR)lParam);
        return 0;
    case WM_ACTIVATE:
        NotifyFloatingWindows(LOWORD(wParam) == WA_INACTIVE ? FS_DEACTIVATE : FS_ACTIVATE);
        break;
    case WM_ENABLE:
        NotifyFloatingWindows(wParam ? FS_ENABLE : FS_DISABLE);
        break;
    case WM_COMMAND:
        NoteCommand(LOWORD(wParam));
        if (LOWORD(wParam) == ID_NEW) {
            OnNew();
            return 0;
        }
        break;
    case WM_SCRIPT_STEP:
        RunScriptStep();
        return 0;
    case WM_CLOSE:
        SaveLayout();
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        break;
    }
    return DefFrameProcA(frame, g_client, message, wParam, lParam);
}

/* "AfxFrameOrView40su": frames, views, and the windows the library makes in this class. */
static LRESULT CALLBACK FrameOrViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (window == g_frame) return MainFrameProc(window, message, wParam, lParam);
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) {
        if (message == WM_SIZE && wParam != SIZE_MINIMIZED) LayOutFrame(window);
        return DefMDIChildProcA(window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void RegisterClasses(HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    WNDCLASSA wc = {0};
    InitCommonControlsEx(&controls);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = FrameOrViewProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(NULL, (LPCSTR)IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = "AfxFrameOrView40su";
    RegisterClassA(&wc);
    wc.lpfnWndProc = ControlBarProc;
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = "AfxControlBar40su";
    RegisterClassA(&wc);
}

/* Bars are made hidden: the library shows them where it docks them, and a bar it gives back
 * (its floating window closed) does not turn up over the frame. A toolbar starts wide, so that
 * a wrapping one measures its buttons in one row. */
static HWND CreateToolbar(UINT id, const char *title, DWORD style, const TBBUTTON *buttons, int count)
{
    SIZE size;
    HWND toolbar = CreateWindowExA(0, TOOLBARCLASSNAMEA, title,
                                   WS_CHILD | TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NOPARENTALIGN | CCS_NORESIZE |
                                       CCS_NODIVIDER | style,
                                   0, 0, 1000, 100, g_frame, (HMENU)(UINT_PTR)id, GetModuleHandleA(NULL), NULL);
    if (!toolbar) return NULL;
    SendMessageA(toolbar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
    SendMessageA(toolbar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
    SendMessageA(toolbar, TB_LOADIMAGES, IDB_STD_SMALL_COLOR, (LPARAM)HINST_COMMCTRL);
    SendMessageA(toolbar, TB_ADDBUTTONSA, (WPARAM)count, (LPARAM)buttons);
    /* CCS_NORESIZE: the toolbar keeps the size it is given; the size of its buttons. */
    SendMessageA(toolbar, TB_GETMAXSIZE, 0, (LPARAM)&size);
    SetWindowPos(toolbar, NULL, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return toolbar;
}

static HWND CreatePanel(void)
{
    static const char *const lines[] = {"Name: Document 1", "Width: 320", "Height: 220", "Scrolls: yes"};
    HWND panel = CreateWindowExA(0, "LISTBOX", "Properties", WS_CHILD | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 160,
                                 200, g_frame, (HMENU)ID_PANEL, GetModuleHandleA(NULL), NULL);
    int i;
    for (i = 0; panel && i < 4; ++i) SendMessageA(panel, LB_ADDSTRING, 0, (LPARAM)lines[i]);
    return panel;
}

static BOOL CreateFrame(HINSTANCE instance, const RECT *r)
{
    CLIENTCREATESTRUCT mdi = {NULL, 0xFF00};
    g_frame = CreateWindowExA(0, "AfxFrameOrView40su", "Minimal host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                              r->left, r->top, r->right - r->left, r->bottom - r->top, NULL, NULL, instance, NULL);
    if (!g_frame) return FALSE;
    g_client = CreateWindowExA(WS_EX_CLIENTEDGE, "MDICLIENT", NULL,
                               WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, 0, 0, 0, 0, g_frame,
                               (HMENU)VNX_ID_PANE, instance, &mdi);
    g_status = CreateWindowExA(0, "AfxControlBar40su", "Ready", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, g_frame,
                               (HMENU)VNX_ID_STATUSBAR, instance, NULL);
    g_bars[BAR_MAIN].window = CreateToolbar(VNX_ID_TOOLBAR, "Main", 0, kMainButtons, 3);
    g_bars[BAR_TOOLS].window = CreateToolbar(ID_TOOLS, "Tools", TBSTYLE_WRAPABLE, kToolButtons, 4);
    g_bars[BAR_PANEL].window = CreatePanel();
    LayOutFrame(g_frame);
    return g_client && g_status && g_bars[BAR_MAIN].window && g_bars[BAR_TOOLS].window && g_bars[BAR_PANEL].window;
}

/* The main toolbar's buttons: records for their tooltips and status texts, and the New button's
 * drop-down menu with a status text for each item. */
static void SetUpMainToolbar(void)
{
    static const WCHAR *const tips[] = {L"New", L"Open", L"Save"};
    static const WCHAR *const texts[] = {L"Makes a new document", L"Opens a document", L"Saves the document"};
    HWND toolbar = g_bars[BAR_MAIN].window;
    int i;
    for (i = 0; i < 3; ++i) {
        SetToolBar(toolbar, i, 0, &g_mainButtons[i], STB_BUTTONRECORD);
        SetToolBar(toolbar, i, 0, (void *)tips[i], STB_BUTTONTIP);
        SetToolBar(toolbar, i, 0, (void *)texts[i], STB_BUTTONSTATUS);
    }
    g_newMenu = CreatePopupMenu();
    AppendMenuW(g_newMenu, MF_STRING, ID_NEW_DOCUMENT, L"Document");
    AppendMenuW(g_newMenu, MF_STRING, ID_NEW_TEMPLATE, L"From a template...");
    SetToolMenu(g_newMenu, ID_NEW_DOCUMENT, 0, L"Makes a new, empty document", TMI_DATA);
    SetToolMenu(g_newMenu, ID_NEW_TEMPLATE, 0, L"Makes a document from a template", TMI_DATA);
    SetToolBar(toolbar, 0, (int)(INT_PTR)g_newMenu, NULL, STB_BUTTONMENU);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    RECT r = {40, 40, 760, 540};
    MSG msg;
    int i;
    (void)previous;
    RegisterClasses(instance);
    LoadFrameRect(&r);
    g_bars[BAR_PANEL].state.x = r.right - 220;
    g_bars[BAR_PANEL].state.y = r.top + 120;
    LoadBarStates();
    if (!CreateFrame(instance, &r)) return 1;
    ShowWindow(g_frame, show);
    UpdateWindow(g_frame);
    /* The frame active and its document made before the bars float: Wine on an X server without
     * a window manager stacks a frame that becomes active over the floating windows it owns. */
    SetForegroundWindow(g_frame);
    while (PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    /* Attached once shown: the library takes the status bar's visibility from the screen. */
    if (!AttachFrame(g_frame, AF_MDIFRAME | AF_SYSMENU | AF_THICKFRAME | AF_MINIMIZEBOX | AF_MAXIMIZEBOX |
                                  AF_CAPTIONMOVE | AF_BORDERSIZE))
        return 1;
    NewDocument("Document 1", 10, 10);
    for (i = 0; i < BAR_COUNT; ++i) DockBar(&g_bars[i]);
    SetUpMainToolbar();
    StartScript(commandLine);

    while (GetMessageA(&msg, NULL, 0, 0) > 0) {
        if (TranslateMDISysAccel(g_client, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    DestroyMenu(g_newMenu);
    return (int)msg.wParam;
}
