/* The host's layout file: the frame's rectangle and each bar's DOCKSTATE, kept in an INI file
 * next to the program (minimal-host.ini beside minimal-host.exe). */
#ifndef LAYOUT_STORE_H
#define LAYOUT_STORE_H

#include <windows.h>

/* The frame's saved rectangle (screen coordinates); FALSE when there is none. */
BOOL LoadFrameRect(RECT *rect);
/* Each bar's saved DOCKSTATE over its default; a missing or damaged record keeps the default. */
void LoadBarStates(void);
/* Writes the frame's rectangle and every bar's DOCKSTATE as they are now. */
void SaveLayout(void);

#endif
