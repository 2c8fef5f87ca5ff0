/* The entry point that the Microsoft C runtime's startup code gives a program, for the programs
 * tools/msvc-cc builds: that runtime is not here. WinMain gets the command line without the
 * program's name, and its result ends the process. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPSTR commandLine, int show);

void __cdecl WinMainCRTStartup(void)
{
    char *line = GetCommandLineA();
    /* The name ends at its closing quote when quoted, else at the first blank. */
    if (*line == '"') {
        for (++line; *line && *line != '"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    ExitProcess((UINT)WinMain(GetModuleHandleA(NULL), NULL, line, SW_SHOWDEFAULT));
}
