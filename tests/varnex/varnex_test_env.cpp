// The test programs' main: common controls loaded once, and after every case a check that it
// left nothing behind (no registered object alive, no window of the host stand-in left).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>

#include "census.h"
#include "core/memory.h"
#include "core/registry.h"
#include "hostkit.h"

namespace {

class LeakCheck : public testing::EmptyTestEventListener {
    void OnTestEnd(const testing::TestInfo& info) override {
        EXPECT_EQ(varnex_test::LibraryProperties(), 0) << info.name() << " left library properties on windows";
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

// The system swallows a fault inside a window procedure it calls for some messages and goes on
// as if the procedure had returned, skipping every destructor on the way: a fault in this
// program's own code is reported the moment it happens instead.
LONG WINAPI ReportFaultHere(EXCEPTION_POINTERS* info) {
    const DWORD code = info->ExceptionRecord->ExceptionCode;
    if (code != EXCEPTION_ACCESS_VIOLATION && code != EXCEPTION_ILLEGAL_INSTRUCTION &&
        code != EXCEPTION_INT_DIVIDE_BY_ZERO && code != EXCEPTION_STACK_OVERFLOW)
        return EXCEPTION_CONTINUE_SEARCH;
    MEMORY_BASIC_INFORMATION where;
    if (!VirtualQuery(info->ExceptionRecord->ExceptionAddress, &where, sizeof where) ||
        where.AllocationBase != GetModuleHandleA(nullptr))
        return EXCEPTION_CONTINUE_SEARCH;
    return ReportCrash(info);
}

}  // namespace

int main(int argc, char** argv) {
    SetUnhandledExceptionFilter(ReportCrash);
    AddVectoredExceptionHandler(1, ReportFaultHere);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LeakCheck);
    return RUN_ALL_TESTS();
}
