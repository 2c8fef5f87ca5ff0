// The test programs' main: common controls loaded once, and after every case a check that it
// left nothing behind (no registered object alive, no window of the host stand-in left).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "core/memory.h"
#include "core/registry.h"
#include "hostkit.h"

namespace {

// Counts the library's properties left on a window.
BOOL CALLBACK CountWindowProperties(HWND hwnd, LPARAM count) {
    for (const char* name : {varnex::kFrameProp, varnex::kBarProp, varnex::kMiniFrameProp, varnex::kCtrlClassProp})
        if (GetPropA(hwnd, name)) ++*reinterpret_cast<int*>(count);
    return TRUE;
}

// ... on a top-level window of this thread and all its descendants.
BOOL CALLBACK CountProperties(HWND hwnd, LPARAM count) {
    CountWindowProperties(hwnd, count);
    EnumChildWindows(hwnd, CountWindowProperties, count);
    return TRUE;
}

class LeakCheck : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& info) override {
        int properties = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountProperties, reinterpret_cast<LPARAM>(&properties));
        EXPECT_EQ(properties, 0) << info.name() << " left library properties on windows";
        hostkit::DestroyAll();
        EXPECT_EQ(varnex::LiveWindowObjects(), 0) << info.name() << " left registered objects alive";
        EXPECT_EQ(varnex::LiveLibraryWindows(), 0) << info.name() << " left windows the library made";
        EXPECT_EQ(varnex::LiveHeapBlocks(), 0) << info.name() << " left library heap blocks allocated";
    }
};

// A crash ends the program with a line and status 3 instead of starting Wine's debugger, which
// would wait for someone to look.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "crash: exception 0x%08lx at %p\n", info->ExceptionRecord->ExceptionCode,
                 info->ExceptionRecord->ExceptionAddress);
    std::fflush(stderr);
    ExitProcess(3);
}

}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(ReportCrash);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LeakCheck);
    return RUN_ALL_TESTS();
}
