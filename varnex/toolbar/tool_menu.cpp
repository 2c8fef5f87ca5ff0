// The tool menu: what the main toolbar's buttons show through their ToolButtonRecords, and
// SetToolMenu.
#include "toolbar/tool_menu.h"

#include "core/host.h"
#include "toolbar/main_toolbar.h"
#include "dock/tool_bar.h"
#include "varnex.h"

namespace varnex {

namespace {

// One blank that reads the same as UTF-16 and in the ANSI code page: the host may take the
// status text either way.
alignas(4) constexpr char kBlankStatus[4] = {' ', 0, 0, 0};

// MENUITEMINFOA as far as dwTypeData's length: the size every system version accepts.
constexpr UINT kMenuItemInfoSize = 44;

void ShowStatus(const CToolBarFx* bar, const void* text) {
    SendMessageA(bar->notifyWnd, kWmSetMessageString, 0, reinterpret_cast<LPARAM>(text));
}

void OnHotItemChange(CToolBarFx* bar, const NMTBHOTITEM* hot) {
    if (!(hot->dwFlags & HICF_MOUSE)) return;  // keyboard and accelerators leave the text alone
    const void* text = kBlankStatus;
    if (!(hot->dwFlags & HICF_LEAVING)) {
        const ToolButtonRecord* record = GetButtonRecord(bar, hot->idNew);
        if (record && record->statusText) text = record->statusText;
    }
    ShowStatus(bar, text);
}

void OnDropDown(CToolBarFx* bar, const NMTOOLBARA* drop) {
    const ToolButtonRecord* record = GetButtonRecord(bar, drop->iItem);
    if (!record || !record->menu) return;
    RECT button{};
    bar->CallClassProc(TB_GETRECT, static_cast<WPARAM>(drop->iItem), reinterpret_cast<LPARAM>(&button));
    MapWindowPoints(bar->hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&button), 2);
    TPMPARAMS params{sizeof params, button};
    // Modal; the choice comes back as WM_COMMAND to the toolbar, the menu's owner.
    TrackPopupMenuEx(record->menu, TPM_VERTICAL, button.left, button.bottom, bar->hwnd, &params);
}

}  // namespace

LRESULT OnToolNotify(CToolBarFx* bar, NMHDR* header) {
    if (!header) return 0;
    switch (header->code) {
    case TBN_HOTITEMCHANGE:
        OnHotItemChange(bar, reinterpret_cast<const NMTBHOTITEM*>(header));
        return 0;
    case TBN_DROPDOWN:
        OnDropDown(bar, reinterpret_cast<const NMTOOLBARA*>(header));
        return 0;
    case TTN_NEEDTEXTA: {
        const ToolButtonRecord* record = GetButtonRecord(bar, static_cast<LONG>(header->idFrom));
        if (record && record->tipText)
            reinterpret_cast<NMTTDISPINFOA*>(header)->lpszText = ToSharedText(record->tipText, kShortTextRoom);
        return 1;
    }
    case TTN_NEEDTEXTW: {
        // A tooltip that asks in UTF-16 gets the record's text as it is.
        const ToolButtonRecord* record = GetButtonRecord(bar, static_cast<LONG>(header->idFrom));
        if (record && record->tipText)
            reinterpret_cast<NMTTDISPINFOW*>(header)->lpszText = const_cast<LPWSTR>(record->tipText);
        return 1;
    }
    }
    return 0;
}

void OnToolCommand(CToolBarFx* bar, WPARAM wParam, LPARAM lParam) {
    if (!LOWORD(wParam)) return;
    ToolButtonRecord* record = GetButtonRecord(bar, 0);  // the drop-down button shown last
    if (!record) return;
    if (lParam) {
        record->fromControl = 1;
        return;
    }
    record->fromControl = 0;
    record->choice = LOBYTE(wParam);
    // With no window to tell, the choice stays in the record: posted to no window, it would
    // reach whatever message loop runs next as a thread message.
    if (IsWindow(bar->notifyWnd))
        PostMessageA(bar->notifyWnd, WM_COMMAND, LOWORD(bar->menuCommand), reinterpret_cast<LPARAM>(bar->hwnd));
}

void OnToolMenuSelect(CToolBarFx* bar, WPARAM wParam, HMENU menu) {
    const void* text = kBlankStatus;
    if (menu && (HIWORD(wParam) & MF_HILITE)) {
        MENUITEMINFOA info{};
        info.cbSize = kMenuItemInfoSize;
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfoA(menu, LOWORD(wParam), FALSE, &info) && info.dwItemData)
            text = reinterpret_cast<const void*>(info.dwItemData);
    }
    ShowStatus(bar, text);
}

}  // namespace varnex

using namespace varnex;

extern "C" int WINAPI SetToolMenu(HMENU menu, UINT item, UINT value, LPCWSTR address, UINT selector) {
    if (!IsMenu(menu)) return 0;
    // Only the one field named is written: the rest of the item stays as it is.
    MENUITEMINFOA info{};
    info.cbSize = kMenuItemInfoSize;
    switch (selector) {
    case TMI_TYPE:
        info.fMask = MIIM_FTYPE;
        info.fType = value;
        break;
    case TMI_STATE:
        info.fMask = MIIM_STATE;
        info.fState = value;
        break;
    case TMI_TEXT:
        if (!address) return 0;
        info.fMask = MIIM_STRING;
        info.dwTypeData = ToSharedText(address, kSharedTextSize);
        break;
    case TMI_DATA:
        info.fMask = MIIM_DATA;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(address);
        break;
    case TMI_SUBMENU: {
        HMENU submenu = reinterpret_cast<HMENU>(static_cast<UINT_PTR>(value));
        if (submenu && (!IsMenu(submenu) || submenu == menu)) return 0;
        info.fMask = MIIM_SUBMENU;
        info.hSubMenu = submenu;
        break;
    }
    default:
        return 0;
    }
    return SetMenuItemInfoA(menu, item, FALSE, &info);
}
