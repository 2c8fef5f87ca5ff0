// The library does nothing when it is loaded: everything happens inside an export or a window
// procedure that an export installed.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
