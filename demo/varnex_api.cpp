#include "varnex_api.h"

namespace demo {

namespace {

template <class Function>
Function Export(HMODULE dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

}  // namespace

bool LoadVarnex(Varnex* api) {
    HMODULE dll = LoadLibraryA("Varnex.dll");
    if (!dll) return false;
    api->AttachFrame = Export<decltype(api->AttachFrame)>(dll, "AttachFrame");
    api->DetachFrame = Export<decltype(api->DetachFrame)>(dll, "DetachFrame");
    api->RecalcFrame = Export<decltype(api->RecalcFrame)>(dll, "RecalcFrame");
    api->SetDock = Export<decltype(api->SetDock)>(dll, "SetDock");
    api->UnDock = Export<decltype(api->UnDock)>(dll, "UnDock");
    api->AttachClass = Export<decltype(api->AttachClass)>(dll, "AttachClass");
    api->SetTreeView = Export<decltype(api->SetTreeView)>(dll, "SetTreeView");
    api->SetNoteBook = Export<decltype(api->SetNoteBook)>(dll, "SetNoteBook");
    api->SetStatusBar = Export<decltype(api->SetStatusBar)>(dll, "SetStatusBar");
    api->SetScrollBar = Export<decltype(api->SetScrollBar)>(dll, "SetScrollBar");
    api->SetToolBar = Export<decltype(api->SetToolBar)>(dll, "SetToolBar");
    api->SetToolMenu = Export<decltype(api->SetToolMenu)>(dll, "SetToolMenu");
    return api->AttachFrame && api->DetachFrame && api->RecalcFrame && api->SetDock && api->UnDock &&
           api->AttachClass && api->SetTreeView && api->SetNoteBook && api->SetStatusBar && api->SetScrollBar &&
           api->SetToolBar && api->SetToolMenu;
}

}  // namespace demo
