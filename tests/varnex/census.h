// What the library and the whole process hold, for the checks that nothing is left behind.
#pragma once

#include <windows.h>

#include <string>

namespace varnex_test {

// The library's properties on every window of this thread, and the objects they name.
int LibraryProperties();

// Busy heap blocks and bytes over every process heap, GDI objects and USER objects. Wine answers
// GetGuiResources with 0, so the GDI count comes from the process's GDI handle table and the USER
// count from probing user handle values.
struct ProcessCounts {
    long heapBlocks = 0;
    long heapBytes = 0;
    long gdiObjects = 0;
    long userObjects = 0;  // windows and menus of this process
};

ProcessCounts MeasureProcess();
std::string Describe(const ProcessCounts& counts);

}  // namespace varnex_test
