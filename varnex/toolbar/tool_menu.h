// The tool menu: drop-down menus, tooltip texts and status texts of the main toolbar's buttons,
// driven by their ToolButtonRecords, and SetToolMenu for the items of those menus.
#pragma once

#include <windows.h>
#include <commctrl.h>

namespace varnex {

struct CToolBarFx;

// A notification of the main toolbar: hot-item changes, drop-downs, tooltip text requests.
LRESULT OnToolNotify(CToolBarFx* bar, NMHDR* header);
// A WM_COMMAND that reached a toolbar bar: a drop-down menu's choice, or a control's command.
void OnToolCommand(CToolBarFx* bar, WPARAM wParam, LPARAM lParam);
// A WM_MENUSELECT that reached a toolbar bar: the highlighted item's status text.
void OnToolMenuSelect(CToolBarFx* bar, WPARAM wParam, HMENU menu);

}  // namespace varnex
