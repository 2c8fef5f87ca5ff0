/* The sample's test channel: steps given on the command line, run one at a time once the frame
 * is up, and a report of where every window is. It belongs to this host, not to the library. */
#ifndef LAYOUT_SCRIPT_H
#define LAYOUT_SCRIPT_H

#include <windows.h>

/* Posted to the frame for each step. */
#define WM_SCRIPT_STEP (WM_APP + 1)

/* Takes the steps from the command line and posts the first; nothing without steps. */
void StartScript(const char *commandLine);
/* Runs one step and posts the next. */
void RunScriptStep(void);
/* Remembers the last command the frame received, for the report. */
void NoteCommand(UINT command);

#endif
