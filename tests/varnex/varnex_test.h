// Helpers shared by the library's test programs.
#pragma once

#include <windows.h>

#include <string>

#include "frame/frame_manager.h"
#include "core/registry.h"
#include "dock/tool_bar.h"
#include "varnex.h"

namespace varnex_test {

// The frame manager attached to a frame, and the bar attached to a window, or null.
inline varnex::CCtrlFrameFx* ManagerOf(HWND frame) {
    return varnex::GetWindowObjectAs<varnex::CCtrlFrameFx>(frame, varnex::kFrameProp);
}
inline varnex::CToolBarFx* BarOf(HWND window) {
    return varnex::GetWindowObjectAs<varnex::CToolBarFx>(window, varnex::kBarProp);
}

// Every side a bar may dock on.
constexpr UINT kAllSides = BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM;

inline HWND ChildById(HWND parent, UINT id) { return GetDlgItem(parent, static_cast<int>(id)); }

inline std::string ClassOf(HWND hwnd) {
    char name[64] = {};
    GetClassNameA(hwnd, name, sizeof name);
    return name;
}

inline WNDPROC ProcOf(HWND hwnd) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC)); }

inline RECT WindowRectIn(HWND hwnd, HWND parent) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline RECT ClientOf(HWND hwnd) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    return rect;
}

// Runs every message waiting in the thread's queue (posted WM_FXRECALC and the like).
inline void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

}  // namespace varnex_test

inline bool operator==(const RECT& a, const RECT& b) { return EqualRect(&a, &b); }
