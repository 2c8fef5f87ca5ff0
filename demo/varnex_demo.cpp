// varnex-demo: a host application built on the host stand-in that hands its frame to Varnex.
// An MDI frame with the "Standard" toolbar in its top dock bar, a status bar and two MDI
// children, attached with AttachFrame; then more bars docked with SetDock: a toolbar on the top
// side beside "Standard", one on the bottom, and a "Properties" list on the right.
//   varnex-demo.exe [--seconds N]   runs N seconds (for a screenshot), else until closed
#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "hostkit.h"
#include "varnex.h"

namespace {

// The exports, taken from Varnex.dll as a host loads it.
struct Varnex {
    decltype(&::AttachFrame) AttachFrame;
    decltype(&::DetachFrame) DetachFrame;
    decltype(&::RecalcFrame) RecalcFrame;
    decltype(&::SetDock) SetDock;
    decltype(&::UnDock) UnDock;
};

template <class Function>
Function Export(HMODULE dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

bool LoadVarnex(Varnex* api) {
    HMODULE dll = LoadLibraryA("Varnex.dll");
    if (!dll) return false;
    api->AttachFrame = Export<decltype(api->AttachFrame)>(dll, "AttachFrame");
    api->DetachFrame = Export<decltype(api->DetachFrame)>(dll, "DetachFrame");
    api->RecalcFrame = Export<decltype(api->RecalcFrame)>(dll, "RecalcFrame");
    api->SetDock = Export<decltype(api->SetDock)>(dll, "SetDock");
    api->UnDock = Export<decltype(api->UnDock)>(dll, "UnDock");
    return api->AttachFrame && api->DetachFrame && api->RecalcFrame && api->SetDock && api->UnDock;
}

}  // namespace

int main(int argc, char** argv) {
    Varnex varnex{};
    if (!LoadVarnex(&varnex)) {
        MessageBoxA(nullptr, "Varnex.dll could not be loaded", "varnex-demo", MB_OK);
        return 1;
    }

    int seconds = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);

    HWND frame = hostkit::CreateMdiFrame("Varnex demo", 40, 40, 720, 480, WS_OVERLAPPEDWINDOW);
    HWND dock = hostkit::CreateDockBar(frame, 0xE81B);
    hostkit::CreateToolBar(dock, 0xE800, "Standard", 8);
    HWND status = hostkit::CreateStatusBar(frame, 22);
    hostkit::CreateMdiChild(frame, "Document 1");
    HWND second = hostkit::CreateMdiChild(frame, "Document 2");
    MoveWindow(second, 180, 90, 320, 220, TRUE);

    // Shown first: the library takes the status bar's visibility from the screen when it attaches.
    ShowWindow(frame, SW_SHOW);
    const UINT flags = AF_MDIFRAME | AF_SYSMENU | AF_THICKFRAME | AF_MINIMIZEBOX | AF_MAXIMIZEBOX |
                       AF_CAPTIONMOVE | AF_BORDERSIZE;
    if (!varnex.AttachFrame(frame, flags)) {
        MessageBoxA(nullptr, "AttachFrame refused the frame", "varnex-demo", MB_OK);
        return 1;
    }

    // More bars, docked by the host.
    const UINT allSides = BFX_ALLOW_TOP | BFX_ALLOW_LEFT | BFX_ALLOW_RIGHT | BFX_ALLOW_BOTTOM;
    const UINT toolbarLook = BFX_RAISEDBORDER | BFX_GRIPPER | BFX_MOVABLE | BFX_FLOATABLE;
    HWND format = hostkit::CreateToolBar(frame, 0x700, "Format", 5);
    varnex.SetDock(format, frame, 400, 0, 0, 0, BFX_TOP | allSides | toolbarLook, nullptr,
                   SD_ATTACH | SD_FLAGS | SD_POSITION | SD_TOP);
    HWND drawing = hostkit::CreateToolBar(frame, 0x701, "Drawing", 7);
    varnex.SetDock(drawing, frame, 0, 0, 0, 0, BFX_BOTTOM | allSides | toolbarLook, nullptr,
                   SD_ATTACH | SD_FLAGS | SD_POSITION | SD_BOTTOM);
    HWND properties = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "Properties",
                                      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 160, 200,
                                      frame, reinterpret_cast<HMENU>(0x500), GetModuleHandleA(nullptr), nullptr);
    for (const char* item : {"Name: Document 2", "Width: 320", "Height: 220", "Docked: right", "Sizable: yes"})
        SendMessageA(properties, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    varnex.SetDock(properties, frame, 0, 0, 160, 0, BFX_RIGHT | allSides | BFX_SUNKENBORDER | BFX_SPACING, nullptr,
                   SD_ATTACH | SD_FLAGS | SD_SIZE | SD_RIGHT);

    SetWindowTextA(status, "Frame attached: the library lays out the client area");
    varnex.RecalcFrame(frame);

    if (seconds > 0) SetTimer(nullptr, 0, static_cast<UINT>(seconds) * 1000, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr) break;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    if (IsWindow(frame)) {
        varnex.DetachFrame(frame);
        DestroyWindow(frame);
    }
    return 0;
}
