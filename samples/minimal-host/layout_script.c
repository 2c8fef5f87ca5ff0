/* The test channel. Steps on the command line, separated by blanks:
 *   report=FILE          report lines go to FILE, appended
 *   show:LABEL           one report line per window, each beginning with LABEL
 *   size:CX,CY           the frame's outer size
 *   dock:BAR,SIDE,X,Y    the bar docked on side 0 to 3 (top, left, right, bottom) at (X, Y)
 *   float:BAR,X,Y        the bar floating, its window's corner at the screen point (X, Y)
 *   quit                 the frame closed, which saves the layout
 *   listen=FILE          from now on, steps are also read from FILE whenever it appears (it is
 *                        deleted once read), so that a test can ask while the host runs
 * A report line: LABEL NAME rect=LEFT,TOP,RIGHT,BOTTOM parent=NAME visible=0|1, the rectangle in
 * the frame's client coordinates. A bar adds its DOCKSTATE (docked= side= x= y= cx= cy=), a
 * floating window its owner, a view its scroll bars (hscroll= vscroll=: shown,min,max,page,pos),
 * the frame its client size and the screen position of its client area (client= origin=), the
 * last command it received and whether a window has the mouse captured (command= capture=), the
 * status bar its text (text=, blanks as '_'). A shown tooltip and an open menu follow, and a last
 * line LABEL end. */
#include "layout_script.h"

#include <commctrl.h>

#include "minimal_host.h"

static char g_steps[2048];
static char *g_next = g_steps;
static char g_reportPath[MAX_PATH];
static char g_requestPath[MAX_PATH];
static UINT g_lastCommand;

static char *NextStep(void)
{
    char *step;
    while (*g_next == ' ') ++g_next;
    if (!*g_next) return NULL;
    step = g_next;
    while (*g_next && *g_next != ' ') ++g_next;
    if (*g_next) *g_next++ = '\0';
    return step;
}

static BOOL StartsWith(const char *text, const char *prefix)
{
    while (*prefix)
        if (*text++ != *prefix++) return FALSE;
    return TRUE;
}

/* `count` comma-separated integers. */
static BOOL ReadNumbers(const char *text, LONG *numbers, int count)
{
    int i;
    for (i = 0; i < count; ++i) {
        LONG sign = 1, value = 0;
        if (i > 0 && *text++ != ',') return FALSE;
        if (*text == '-') {
            sign = -1;
            ++text;
        }
        if (*text < '0' || *text > '9') return FALSE;
        for (; *text >= '0' && *text <= '9'; ++text)
            if (value < 1000000) value = value * 10 + (*text - '0');
        numbers[i] = sign * value;
    }
    return *text == '\0';
}

static void Report(const char *line)
{
    DWORD written;
    HANDLE file = CreateFileA(g_reportPath, FILE_APPEND_DATA, FILE_SHARE_READ, NULL, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    WriteFile(file, line, (DWORD)lstrlenA(line), &written, NULL);
    CloseHandle(file);
}

static const char *NameOf(HWND window)
{
    static const char *const sites[] = {"dock-top", "dock-left", "dock-right", "dock-bottom"};
    const UINT id = (UINT)GetDlgCtrlID(window);
    if (window == g_frame) return "frame";
    if (window == GetDesktopWindow()) return "desktop";
    if (GetAncestor(window, GA_PARENT) == g_frame && id >= VNX_ID_DOCK_TOP && id <= VNX_ID_DOCK_BOTTOM)
        return sites[id - VNX_ID_DOCK_TOP];
    if (GetAncestor(window, GA_PARENT) == g_frame && id == VNX_ID_PANE) return "pane";
    if (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_MDICHILD) return "document";
    if (GetAncestor(window, GA_PARENT) == GetDesktopWindow()) return "floating";
    return "other";
}

static void ReportWindow(const char *label, const char *name, HWND window, const char *extra)
{
    char line[512];
    RECT r;
    if (!window) return;
    GetWindowRect(window, &r);
    MapWindowPoints(NULL, g_frame, (POINT *)&r, 2);
    wsprintfA(line, "%s %s rect=%ld,%ld,%ld,%ld parent=%s visible=%d%s\r\n", label, name, r.left, r.top, r.right,
              r.bottom, NameOf(GetAncestor(window, GA_PARENT)), IsWindowVisible(window) ? 1 : 0, extra);
    Report(line);
}

static void ScrollBarText(HWND view, int bar, char *text)
{
    SCROLLINFO info = {sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    const DWORD shown = (DWORD)GetWindowLongA(view, GWL_STYLE) & (bar == SB_HORZ ? WS_HSCROLL : WS_VSCROLL);
    GetScrollInfo(view, bar, &info);
    wsprintfA(text, "%d,%d,%d,%u,%d", shown ? 1 : 0, info.nMin, info.nMax, info.nPage, info.nPos);
}

/* " text=..." for the status bar's text, in UTF-8, its blanks as '_' to keep the line's words. */
static void StatusText(char *text)
{
    WCHAR wide[128];
    char *c;
    GetWindowTextW(GetDlgItem(g_frame, VNX_ID_STATUSBAR), wide, 128);
    lstrcpyA(text, " text=");
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, text + 6, 384, NULL, NULL);
    for (c = text + 6; *c; ++c)
        if (*c == ' ') *c = '_';
}

/* A tooltip or a popup menu (a drop-down menu) shown by this thread, by its window class. */
static BOOL CALLBACK ReportPopup(HWND window, LPARAM label)
{
    char name[32];
    if (!IsWindowVisible(window) || !GetClassNameA(window, name, sizeof name)) return TRUE;
    if (lstrcmpA(name, "#32768") == 0) ReportWindow((const char *)label, "menu", window, "");
    if (lstrcmpiA(name, TOOLTIPS_CLASSA) == 0) ReportWindow((const char *)label, "tooltip", window, "");
    return TRUE;
}

static void ReportAll(const char *label)
{
    static const char *const sites[] = {"dock-top", "dock-left", "dock-right", "dock-bottom"};
    char line[512], horz[64], vert[64];
    HWND pane = GetDlgItem(g_frame, VNX_ID_PANE), document = GetWindow(pane, GW_CHILD), view;
    RECT r, client;
    POINT origin = {0, 0};
    int i;

    GetWindowRect(g_frame, &r);
    GetClientRect(g_frame, &client);
    ClientToScreen(g_frame, &origin);
    wsprintfA(line, "%s frame rect=%ld,%ld,%ld,%ld client=%ld,%ld origin=%ld,%ld command=%u capture=%d\r\n", label,
              r.left, r.top, r.right, r.bottom, client.right, client.bottom, origin.x, origin.y, g_lastCommand,
              GetCapture() ? 1 : 0);
    Report(line);
    StatusText(line);
    ReportWindow(label, "status", GetDlgItem(g_frame, VNX_ID_STATUSBAR), line);
    ReportWindow(label, "pane", pane, "");
    for (i = 0; i < 4; ++i) ReportWindow(label, sites[i], GetDlgItem(g_frame, VNX_ID_DOCK_TOP + i), "");
    for (i = 0; i < BAR_COUNT; ++i) {
        const HostBar *bar = &g_bars[i];
        const DOCKSTATE *s = &bar->state;
        HWND parent = GetAncestor(bar->window, GA_PARENT);
        wsprintfA(line, " docked=%d side=%d x=%ld y=%ld cx=%ld cy=%ld", s->docked, s->side, s->x, s->y, s->cx, s->cy);
        ReportWindow(label, bar->name, bar->window, line);
        if (parent != g_frame && GetAncestor(parent, GA_PARENT) == GetDesktopWindow()) {
            char name[32];
            wsprintfA(name, "%s-window", bar->name);
            ReportWindow(label, name, parent, GetWindow(parent, GW_OWNER) == g_frame ? " owner=frame" : " owner=other");
        }
    }
    if (document) {
        view = GetDlgItem(document, VNX_ID_PANE);
        ReportWindow(label, "document", document, "");
        ScrollBarText(view, SB_HORZ, horz);
        ScrollBarText(view, SB_VERT, vert);
        wsprintfA(line, " hscroll=%s vscroll=%s", horz, vert);
        ReportWindow(label, "view", view, line);
    }
    EnumThreadWindows(GetCurrentThreadId(), ReportPopup, (LPARAM)label);
    wsprintfA(line, "%s end\r\n", label);
    Report(line);
}

static HostBar *FindBar(const char *name)
{
    int i;
    for (i = 0; i < BAR_COUNT; ++i)
        if (lstrcmpA(g_bars[i].name, name) == 0) return &g_bars[i];
    return NULL;
}

/* dock:BAR,SIDE,X,Y or float:BAR,X,Y */
static BOOL MoveBar(char *step)
{
    const BOOL dock = StartsWith(step, "dock:");
    char *name = step + (dock ? 5 : 6), *numbers = name;
    HostBar *bar;
    LONG n[3];
    while (*numbers && *numbers != ',') ++numbers;
    if (*numbers) *numbers++ = '\0';
    bar = FindBar(name);
    if (!bar || !ReadNumbers(numbers, n, dock ? 3 : 2) || (dock && (n[0] < 0 || n[0] > 3))) return FALSE;
    if (!dock && !bar->state.docked) {
        /* Floating already: its window moves. */
        return SetDock(bar->window, NULL, n[0], n[1], 0, 0, 0, NULL, SD_POSITION | SD_FLOAT | SD_RECALC);
    }
    bar->state.docked = (BYTE)dock;
    if (dock) bar->state.side = (BYTE)n[0];
    bar->state.x = n[dock ? 1 : 0];
    bar->state.y = n[dock ? 2 : 1];
    return DockBar(bar);
}

void NoteCommand(UINT command)
{
    g_lastCommand = command;
}

/* Steps from the request file, once the steps before them have run. The test writes the file
 * whole (under another name, then renamed), so what is there is complete. */
static void CALLBACK PollRequest(HWND window, UINT message, UINT_PTR timer, DWORD time)
{
    HANDLE file;
    DWORD read = 0;
    char *c;
    (void)window;
    (void)message;
    (void)timer;
    (void)time;
    while (*g_next == ' ') ++g_next;
    if (*g_next) return;
    file = CreateFileA(g_requestPath, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return;
    ReadFile(file, g_steps, sizeof g_steps - 1, &read, NULL);
    CloseHandle(file);
    DeleteFileA(g_requestPath);
    g_steps[read] = '\0';
    for (c = g_steps; *c; ++c)
        if (*c == '\r' || *c == '\n' || *c == '\t') *c = ' ';
    g_next = g_steps;
    PostMessageA(g_frame, WM_SCRIPT_STEP, 0, 0);
}

void StartScript(const char *commandLine)
{
    while (*commandLine == ' ') ++commandLine;
    if (!*commandLine) return;
    lstrcpynA(g_steps, commandLine, sizeof g_steps);
    PostMessageA(g_frame, WM_SCRIPT_STEP, 0, 0);
}

void RunScriptStep(void)
{
    char *step = NextStep();
    LONG n[2];
    BOOL done = TRUE;
    if (!step) return;
    if (StartsWith(step, "report="))
        lstrcpynA(g_reportPath, step + 7, MAX_PATH);
    else if (StartsWith(step, "listen=")) {
        lstrcpynA(g_requestPath, step + 7, MAX_PATH);
        SetTimer(g_frame, 1, 20, PollRequest);
    }
    else if (StartsWith(step, "show:"))
        ReportAll(step + 5);
    else if (StartsWith(step, "size:") && ReadNumbers(step + 5, n, 2))
        SetWindowPos(g_frame, NULL, 0, 0, n[0], n[1], SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    else if (StartsWith(step, "dock:") || StartsWith(step, "float:"))
        done = MoveBar(step);
    else if (lstrcmpA(step, "quit") == 0) {
        PostMessageA(g_frame, WM_CLOSE, 0, 0);
        return;
    } else
        done = FALSE;
    if (!done) {
        char line[128];
        wsprintfA(line, "error step %.100s\r\n", step);
        Report(line);
    }
    PostMessageA(g_frame, WM_SCRIPT_STEP, 0, 0);
}
