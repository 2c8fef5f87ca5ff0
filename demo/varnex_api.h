// The exports of Varnex.dll that the demo calls, taken from the DLL at run time as a host loads
// it (a test fills the table with the library it links instead).
#pragma once

#include <windows.h>

#include "varnex.h"

namespace demo {

struct Varnex {
    decltype(&::AttachFrame) AttachFrame;
    decltype(&::DetachFrame) DetachFrame;
    decltype(&::RecalcFrame) RecalcFrame;
    decltype(&::SetDock) SetDock;
    decltype(&::UnDock) UnDock;
    decltype(&::AttachClass) AttachClass;
    decltype(&::SetTreeView) SetTreeView;
    decltype(&::SetNoteBook) SetNoteBook;
    decltype(&::SetStatusBar) SetStatusBar;
    decltype(&::SetScrollBar) SetScrollBar;
    decltype(&::SetToolBar) SetToolBar;
    decltype(&::SetToolMenu) SetToolMenu;
};

// Loads Varnex.dll and takes every export; false when the DLL or any export is missing.
bool LoadVarnex(Varnex* api);

}  // namespace demo
