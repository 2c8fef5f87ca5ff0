/* The test channel. Steps on the command line, separated by blanks:
 *   report=FILE          report lines go to FILE, appended
 *   show:LABEL           one report line per window, each beginning with LABEL
 *   size:CX,CY           the frame's outer size
 *   dock:BAR,SIDE,X,Y    the bar docked on side 0 to 3 (top, left, right, bottom) at (X, Y)
 *   float:BAR,X,Y        the bar floating, its window's corner at the screen point (X, Y)
 *   quit                 the frame closed, which saves the layout
 * A report line: LABEL NAME rect=LEFT,TOP,RIGHT,BOTTOM parent=NAME visible=0|1, the rectangle in
 * the frame's client coordinates. A bar adds its DOCKSTATE (docked= side= x= y= cx= cy=), a
 * floating window its owner, a view its scroll bars (hscroll= vscroll=: shown,min,max,page,pos),
 * the frame its client size and the screen position of its client area (client= origin=). */
#include "layout_script.h"

#include "minimal_host.h"

static char g_steps[2048];
static char *g_next = g_steps;
static char g_reportPath[MAX_PATH];

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
    wsprintfA(line, "%s frame rect=%ld,%ld,%ld,%ld client=%ld,%ld origin=%ld,%ld\r\n", label, r.left, r.top, r.right,
              r.bottom, client.right, client.bottom, origin.x, origin.y);
    Report(line);
    ReportWindow(label, "status", GetDlgItem(g_frame, VNX_ID_STATUSBAR), "");
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
