/* minimal-host: a host application for Varnex in plain C and the Win32 API, linked through the
 * import library. What its parts share: the frame, and the bars the library docks for it. */
#ifndef MINIMAL_HOST_H
#define MINIMAL_HOST_H

#include <windows.h>

#include "varnex.h"

/* A window the host docks through the library, and its DOCKSTATE, which the library keeps
 * current while the bar lives: where the bar is when the host saves its layout, and where it
 * goes again when the host starts. */
typedef struct HostBar {
    const char *name; /* key in the layout file */
    HWND window;
    UINT flags;       /* BFX_* for SetDock, without the side and BFX_FLOATING */
    UINT homeSide;    /* BFX_TOP...BFX_BOTTOM: the side a floating bar belongs to */
    DOCKSTATE state;
} HostBar;

enum { BAR_MAIN, BAR_TOOLS, BAR_PANEL, BAR_COUNT };

extern HWND g_frame;
extern HostBar g_bars[BAR_COUNT];

/* Docks or floats a bar as its DOCKSTATE says. */
int DockBar(HostBar *bar);

#endif
