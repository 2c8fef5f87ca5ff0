// SetToolBar: the host's main toolbar attached as a stand-alone bar and configured, with its
// buttons and their records; and the shared text buffer.
#include "toolbar/main_toolbar.h"

#include <commctrl.h>

#include <cstring>
#include <cwchar>

#include "core/host.h"
#include "frame/frame_manager.h"
#include "core/registry.h"
#include "dock/tool_bar.h"

namespace varnex {

namespace {

char g_sharedText[kSharedTextSize];

// Bytes that the first `count` UTF-16 units take in the ANSI code page.
int AnsiLength(LPCWSTR text, int count) {
    return count > 0 ? WideCharToMultiByte(CP_ACP, 0, text, count, nullptr, 0, nullptr, nullptr) : 0;
}

}  // namespace

char* CutToAnsi(LPCWSTR text, char* dest, int room) {
    if (!dest || room <= 0) return dest;
    dest[0] = '\0';
    if (!text) return dest;
    const int length = static_cast<int>(std::wcslen(text));
    const int fit = room - 1;  // the terminator's byte is kept free
    int count = length;
    if (AnsiLength(text, length) > fit) {
        // The longest prefix that fits; the converted length never shrinks as the prefix grows.
        int low = 0, high = length - 1;
        while (low < high) {
            const int mid = (low + high + 1) / 2;
            if (AnsiLength(text, mid) <= fit)
                low = mid;
            else
                high = mid - 1;
        }
        count = low;
        if (count > 0 && IS_HIGH_SURROGATE(text[count - 1])) --count;  // never half a character
    }
    const int written = count > 0 ? WideCharToMultiByte(CP_ACP, 0, text, count, dest, fit, nullptr, nullptr) : 0;
    dest[written > 0 ? written : 0] = '\0';
    return dest;
}

char* ToSharedText(LPCWSTR text, int room) {
    return CutToAnsi(text, g_sharedText, room < kSharedTextSize ? room : kSharedTextSize);
}

const char* SharedText() { return g_sharedText; }

ToolButtonRecord* GetButtonRecord(CToolBarFx* bar, LONG command) {
    if (command) bar->menuCommand = command;
    const LRESULT index = bar->CallClassProc(TB_COMMANDTOINDEX, static_cast<WPARAM>(bar->menuCommand), 0);
    TBBUTTON button{};
    if (!bar->CallClassProc(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return nullptr;
    // Only a record the host bound: any other button data is the host's own business.
    auto* record = reinterpret_cast<ToolButtonRecord*>(button.dwData);
    return record && bar->records.Contains(record) ? record : nullptr;
}

}  // namespace varnex

using namespace varnex;

namespace {

// Only a toolbar control of this process with the main toolbar's id: toolbar messages carry
// pointers, which no other class or process may be handed.
bool IsMainToolBarWindow(HWND window) {
    if (!IsOwnWindow(window) || static_cast<UINT>(GetDlgCtrlID(window)) != kToolBarId) return false;
    char className[20] = {};
    GetClassNameA(window, className, sizeof className);
    return std::strcmp(className, TOOLBARCLASSNAMEA) == 0;
}

// A parent the toolbar can be put into: a live window of this process that is neither the
// toolbar nor inside it.
bool AcceptableParent(HWND toolbar, HWND parent) {
    return IsOwnWindow(parent) && parent != toolbar && !IsChild(toolbar, parent);
}

int Attach(HWND window, CToolBarFx* bar, HWND parent, HWND notify) {
    if (!parent) {
        // Given back whole and released, as UnDock does; without a bar there is nothing to give
        // back, which is done as well.
        if (bar) UnDock(window);
        return 1;
    }
    if (!AcceptableParent(window, parent)) return 0;
    if (!bar) {
        if (IsLibraryOwned(window)) return 0;
        bar = CToolBarFx::Create(nullptr, window, kToolBarId);
        if (!bar) return 0;
        bar->TakeFlags(BFX_STANDALONE | BFX_WRAPPABLE);
        bar->notifyWnd = notify;
    } else if (bar->frame) {
        return 0;  // a bar in a frame's dock site belongs to its site
    }
    Hold<CToolBarFx> hold(bar);
    SetParent(window, parent);
    return hold.Alive() ? 1 : 0;
}

// Re-measures a toolbar, and sizes a stand-alone one to its measure for its orientation.
void CloseStyleChange(CToolBarFx* bar) {
    bar->MeasureToolBar();
    if (!(bar->flags & BFX_STANDALONE)) return;
    const SIZE size = (bar->flags & BFX_HORZ) ? bar->horzSize : bar->vertSize;
    SetWindowPos(bar->hwnd, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

int SetStyle(CToolBarFx* bar, UINT style, UINT exStyle) {
    if (style) {
        if (style & CCS_NODIVIDER) {
            // A string list ends with an empty string: the buffer's text as the one entry, or a
            // blank.
            char list[kSharedTextSize + 1] = {};
            if (style & TBSTYLE_LIST)
                std::memcpy(list, SharedText(), kSharedTextSize);
            else
                list[0] = ' ';
            bar->CallClassProc(TB_ADDSTRINGA, 0, reinterpret_cast<LPARAM>(list));
            if (bar->released) return 0;
        }
        if (bar->flags & BFX_STANDALONE)
            bar->TakeFlags((bar->flags & ~kBarSides) | ((style & CCS_VERT) ? BFX_VERT : BFX_HORZ));
        // Control style bits only, on the style of the attach: never the window's visibility or
        // kind, nor the border that the attach took away.
        const DWORD current = static_cast<DWORD>(GetWindowLongA(bar->hwnd, GWL_STYLE));
        const DWORD kept = (bar->origStyle & ~(kBarStripStyles | WS_VISIBLE)) | (current & WS_VISIBLE);
        SetWindowLongA(bar->hwnd, GWL_STYLE, static_cast<LONG>(kept | (LOWORD(style) & ~CCS_VERT)));
    }
    // The control tells its parent of each change, and the host may take the bar away there.
    if (exStyle) bar->CallClassProc(TB_SETEXTENDEDSTYLE, 0, exStyle);
    if (!bar->released) bar->CallClassProc(TB_AUTOSIZE, 0, 0);
    if (!bar->released && (style & CCS_VERT)) CloseStyleChange(bar);
    return bar->released ? 0 : 1;
}

int WholeToolBar(HWND window, CToolBarFx* bar, int value1, int value2, UINT operation) {
    if (operation == STB_ATTACH)
        return Attach(window, bar, reinterpret_cast<HWND>(static_cast<INT_PTR>(value1)),
                      reinterpret_cast<HWND>(static_cast<INT_PTR>(value2)));
    if (!bar) return 0;
    switch (operation) {
    case STB_QUERY:
        return 1;
    case STB_STYLE:
        return SetStyle(bar, static_cast<UINT>(value1), static_cast<UINT>(value2));
    case STB_MOVE:
        // A stand-alone toolbar only: a bar docked or floating in a frame has the place its row
        // or floating window gives it.
        if (bar->frame) return 0;
        SetWindowPos(window, nullptr, value1, value2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        return 1;
    case STB_BITMAPSIZE:
        bar->CallClassProc(TB_SETBITMAPSIZE, 0, MAKELONG(value1, value2));
        return 1;
    case STB_BUTTONSIZE:
        if (value1) bar->CallClassProc(TB_SETBUTTONWIDTH, 0, MAKELONG(value1, value1));
        if (value2) bar->CallClassProc(TB_SETPADDING, 0, MAKELONG(value2, value2));
        return 1;
    case STB_AUTOSIZE:
        CloseStyleChange(bar);
        return 1;
    }
    return 0;
}

// Low byte of value2 added (STB_SETBITS), removed (STB_CLEARBITS) or put in place of `bits`.
BYTE ChangeBits(BYTE bits, int value2) {
    const BYTE change = LOBYTE(value2);
    if (value2 & STB_SETBITS) return bits | change;
    if (value2 & STB_CLEARBITS) return bits & ~change;
    return change;
}

int PerButton(CToolBarFx* bar, int index, int value2, void* pointer, UINT operation) {
    const int count = static_cast<int>(bar->CallClassProc(TB_BUTTONCOUNT, 0, 0));
    if (index < 0 || index >= count) return 0;
    TBBUTTONINFOA info{};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_BYINDEX | TBIF_STYLE | TBIF_STATE | TBIF_LPARAM;
    bar->CallClassProc(TB_GETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    // Only a record the host bound: any other button data is the host's own business.
    auto* record = reinterpret_cast<ToolButtonRecord*>(info.lParam);
    if (record && !bar->records.Contains(record)) record = nullptr;
    switch (operation) {
    case STB_BUTTONRECORD: {
        auto* bound = static_cast<ToolButtonRecord*>(pointer);
        if (!bound) return 0;
        if (!bar->records.Contains(bound) && !bar->records.Append(bound)) return 0;
        bound->fromControl = 0;
        bound->choice = 0;
        bound->menu = nullptr;
        bound->tipText = nullptr;
        bound->statusText = nullptr;
        info.lParam = reinterpret_cast<DWORD_PTR>(bound);
        info.dwMask = TBIF_BYINDEX | TBIF_LPARAM;
        break;
    }
    case STB_BUTTONSTYLE:
        info.fsStyle = ChangeBits(info.fsStyle, value2);
        info.dwMask = TBIF_BYINDEX | TBIF_STYLE;
        break;
    case STB_BUTTONSTATE:
        info.fsState = ChangeBits(info.fsState, value2);
        info.dwMask = TBIF_BYINDEX | TBIF_STATE;
        break;
    case STB_BUTTONTEXT:
        if (!record || !pointer) return 0;
        info.pszText = ToSharedText(static_cast<LPCWSTR>(pointer), kShortTextRoom);
        info.dwMask = TBIF_BYINDEX | TBIF_TEXT;
        break;
    case STB_BUTTONTIP:
        if (!record) return 0;
        record->tipText = static_cast<LPCWSTR>(pointer);
        info.dwMask = TBIF_BYINDEX | TBIF_LPARAM;
        break;
    case STB_BUTTONSTATUS:
        if (!record) return 0;
        record->statusText = static_cast<LPCWSTR>(pointer);
        info.dwMask = TBIF_BYINDEX | TBIF_LPARAM;
        break;
    case STB_BUTTONMENU: {
        HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(value2));
        if (!record || !IsMenu(menu)) return 0;
        record->menu = menu;
        info.dwMask = TBIF_BYINDEX | TBIF_LPARAM;
        break;
    }
    default:
        return 0;
    }
    bar->CallClassProc(TB_SETBUTTONINFOA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&info));
    return 1;
}

}  // namespace

extern "C" int WINAPI SetToolBar(HWND window, int value1, int value2, void* pointer, UINT operation) {
    if (!IsMainToolBarWindow(window)) return 0;
    CToolBarFx* bar = GetWindowObjectAs<CToolBarFx>(window, kBarProp);
    // The toolbar control tells its parent of what changes; a host may release the bar there.
    Hold<CToolBarFx> hold(bar);
    if (operation < STB_BUTTONRECORD) return WholeToolBar(window, bar, value1, value2, operation);
    if (!bar) return 0;
    return PerButton(bar, value1, value2, pointer, operation);
}
