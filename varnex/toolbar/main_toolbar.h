// The host's main toolbar (child id 0xE800) as a stand-alone bar configured by SetToolBar, the
// lookup of a button's ToolButtonRecord, and the library's one shared text buffer.
#pragma once

#include <windows.h>

#include "varnex.h"

namespace varnex {

struct CToolBarFx;

constexpr int kSharedTextSize = 256;  // the shared buffer, and the room of a menu item text
constexpr int kShortTextRoom = 80;    // room of a tooltip or button text, terminator included

// Converts a UTF-16 text to the ANSI code page into dest. A text that does not fit `room` bytes
// (terminator included) is cut at a character boundary; dest is always zero-terminated and
// nothing is written past dest[room - 1]. Returns dest.
char* CutToAnsi(LPCWSTR text, char* dest, int room);
// The same into the shared text buffer (room at most its size). The text stays there only until
// the next conversion.
char* ToSharedText(LPCWSTR text, int room);
// The shared buffer's current text.
const char* SharedText();

// The record bound to the button with this command id; command 0 means the button that was
// looked up last (menuCommand), any other id becomes menuCommand. Null when there is none.
ToolButtonRecord* GetButtonRecord(CToolBarFx* bar, LONG command);

}  // namespace varnex
