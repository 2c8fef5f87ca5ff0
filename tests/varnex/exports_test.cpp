#include <gtest/gtest.h>

#include "hostkit.h"
#include "varnex.h"

extern "C" int varnex_header_c_sizes(int which);

namespace {

// Through void (*)(), the one function type any function pointer converts to without warning.
template <class Function>
Function Export(HMODULE dll, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(dll, name)));
}

TEST(Exports, TheDllExportsEveryBuiltNameUndecorated) {
    HMODULE dll = LoadLibraryA(VARNEX_DLL_PATH);
    ASSERT_TRUE(dll) << VARNEX_DLL_PATH;
    for (const char* name : {"AttachFrame", "DetachFrame", "RecalcFrame", "SetDock", "UnDock",
                             "SetScrollBar", "SetClientRange", "SetStatusBar",
                             "AttachClass", "DetachClass", "SetTreeView", "SetNoteBook", "SetToolMenu",
                             "SetToolBar"})
        EXPECT_TRUE(GetProcAddress(dll, name)) << name;

    // Bad handles through the real export table: refused, no crash.
    auto attach = Export<int(WINAPI*)(HWND, UINT)>(dll, "AttachFrame");
    auto detach = Export<int(WINAPI*)(HWND)>(dll, "DetachFrame");
    auto recalc = Export<int(WINAPI*)(HWND)>(dll, "RecalcFrame");
    auto setDock = Export<decltype(&SetDock)>(dll, "SetDock");
    auto unDock = Export<int(WINAPI*)(HWND)>(dll, "UnDock");
    HWND stale = hostkit::CreateSdiFrame("stale", 0, 0, 100, 100);
    DestroyWindow(stale);
    for (HWND bad : {HWND{}, stale, reinterpret_cast<HWND>(-1), GetDesktopWindow()}) {
        EXPECT_EQ(attach(bad, AF_SDIFRAME), 0);
        EXPECT_EQ(detach(bad), 0);
        EXPECT_EQ(recalc(bad), 0);
        EXPECT_EQ(unDock(bad), 0);
        EXPECT_EQ(setDock(bad, nullptr, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 0);
        EXPECT_EQ(setDock(bad, bad, 0, 0, 0, 0, 0x110, nullptr, SD_ATTACH | SD_FLAGS | SD_RECALC), 0);
        EXPECT_EQ(setDock(bad, nullptr, 1, 2, 3, 4, 0, nullptr, SD_POSITION | SD_SIZE | SD_TOP | SD_RECALC), 0);
    }
    FreeLibrary(dll);
}

TEST(Exports, HostRecordsHaveTheSameLayoutInC) {
    EXPECT_EQ(varnex_header_c_sizes(0), 20);
    EXPECT_EQ(varnex_header_c_sizes(1), 16);
    EXPECT_EQ(sizeof(DOCKSTATE), 20u);
    EXPECT_EQ(sizeof(ToolButtonRecord), 16u);
}

}  // namespace
