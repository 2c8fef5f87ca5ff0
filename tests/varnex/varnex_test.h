// Helpers shared by the library's test programs.
#pragma once

#include <windows.h>

#include <string>

#include "core/registry.h"

namespace varnex_test {

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
