// The bars the demo docks, and the file that keeps their places between runs. SetDock binds each
// bar's DOCKSTATE, which the library keeps current while the bar lives; on exit the demo writes
// the records out, and on start hands them back to SetDock, so that the bars come back where the
// user left them. (The "Standard" toolbar that the library adopts from the frame's dock bar has
// no record: the library binds one only to a bar that SetDock makes.)
#pragma once

#include <windows.h>

#include <string>

#include "varnex_api.h"

namespace demo {

// A bar the demo docks: its name in the layout file, its window, its flags but for the side and
// floating bits, and the record the library keeps current.
struct DockedBar {
    const char* name = "";
    HWND window = nullptr;
    UINT look = 0;
    bool made = false;  // SetDock made it a bar: the record is the library's to write
    DOCKSTATE state{};
};

// The main toolbar, the "Format" and "Drawing" toolbars, the "Properties" panel and the "Colours"
// toolbar. The library writes to the records for as long as the bars live: the object stays put.
struct DemoBars {
    static constexpr int kCount = 5;
    DockedBar bars[kCount];

    DemoBars() = default;
    DemoBars(const DemoBars&) = delete;
    DemoBars& operator=(const DemoBars&) = delete;
};

// Makes the demo's bars in `frame` (its main toolbar, set up already, is `mainToolbar`) and docks
// each where the layout file last had it, or else at its first place: "Format" and the main
// toolbar on top, "Drawing" as a column on the left, "Properties" on the right, "Colours" floating
// by the frame's lower right corner. Toolbars wrap their buttons to their width, so that on the
// left or right they are columns.
void DockDemoBars(const Varnex& varnex, HWND frame, HWND mainToolbar, const std::string& layoutFile,
                  DemoBars* bars);

// Writes the record of every bar that was made to the layout file; false when it cannot be
// written.
bool SaveLayout(const DemoBars& bars, const std::string& layoutFile);

// The program's own path with ".layout" for ".exe".
std::string LayoutFileBesideProgram();

}  // namespace demo
