/* A C host that calls Varnex through an import library, built twice: by mingw-w64 against
 * libVarnex.dll.a and by the Microsoft toolchain's conventions against Varnex.lib. Either link
 * fails when the library names the exports other than varnex.h's callers do; the run fails when the
 * names it imports are not the DLL's, or when the arguments do not arrive where the library
 * reads them. Prints one line per failed check; the exit status is the number of failures. */
#include <windows.h>

#include "varnex.h"

static int failures;

static void Check(int ok, const char *what)
{
    DWORD written;
    if (ok) return;
    ++failures;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), what, lstrlenA(what), &written, NULL);
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "\r\n", 2, &written, NULL);
}

static HWND Make(const char *cls, DWORD style, HWND parent, UINT id)
{
    return CreateWindowExA(0, cls, "", style, 0, 0, 400, 300, parent, (HMENU)(UINT_PTR)id,
                           GetModuleHandleA(NULL), NULL);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show)
{
    static const char *const classes[] = {"AfxFrameOrView40su", "AfxControlBar40su"};
    DOCKSTATE state;
    HWND frame, bar;
    HMENU menu;
    char text[32];
    int i;
    (void)previous, (void)commandLine, (void)show;

    for (i = 0; i < 2; ++i) {
        WNDCLASSA wc;
        ZeroMemory(&wc, sizeof wc);
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = instance;
        wc.lpszClassName = classes[i];
        RegisterClassA(&wc);
    }

    /* Five arguments, each read where the call put it: the item's text and its state. */
    menu = CreatePopupMenu();
    AppendMenuA(menu, MF_STRING, 300, "old");
    Check(SetToolMenu(menu, 300, 0, L"new", TMI_TEXT) == 1, "SetToolMenu(TMI_TEXT) did not return 1");
    GetMenuStringA(menu, 300, text, sizeof text, MF_BYCOMMAND);
    Check(lstrcmpA(text, "new") == 0, "SetToolMenu(TMI_TEXT) did not set the item's text");
    Check(SetToolMenu(menu, 300, MFS_CHECKED, NULL, TMI_STATE) == 1, "SetToolMenu(TMI_STATE) did not return 1");
    Check((GetMenuState(menu, 300, MF_BYCOMMAND) & MF_CHECKED) != 0, "SetToolMenu(TMI_STATE) did not check the item");
    DestroyMenu(menu);

    /* A single-document frame, a bar docked on its left side and given back. */
    frame = Make(classes[0], WS_OVERLAPPEDWINDOW, NULL, 0);
    Make(classes[0], WS_CHILD | WS_VISIBLE, frame, VNX_ID_PANE);
    bar = Make("STATIC", WS_CHILD | WS_VISIBLE, frame, 0x700);
    Check(AttachFrame(NULL, AF_SDIFRAME) == 0, "AttachFrame(NULL) did not return 0");
    Check(AttachFrame(frame, AF_SDIFRAME) == 1, "AttachFrame did not return 1");
    ZeroMemory(&state, sizeof state);
    Check(SetDock(bar, frame, 0, 0, 40, 120, BFX_LEFT | BFX_ALLOW_LEFT, &state,
                  SD_ATTACH | SD_FLAGS | SD_SIZE | SD_LEFT | SD_RECALC) == 1,
          "SetDock did not return 1");
    Check(state.docked == 1 && state.side == 1, "SetDock did not record the left side in the DOCKSTATE");
    Check(state.cx == 40 && state.cy == 120, "SetDock did not record the size in the DOCKSTATE");
    Check(GetDlgCtrlID(GetParent(bar)) == VNX_ID_DOCK_LEFT, "the bar is not in the left dock site");
    Check(UnDock(bar) == 1 && GetParent(bar) == frame, "UnDock did not give the bar back");
    Check(RecalcFrame(frame) == 1, "RecalcFrame did not return 1");
    Check(DetachFrame(frame) == 1 && DetachFrame(frame) == 0, "DetachFrame did not return 1, then 0");
    DestroyWindow(frame);
    return failures;
}
