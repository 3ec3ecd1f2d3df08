// The process entry: sets up the run time, calls the program's start-up routine and
// ends the program with the quit request's code.
#include <windows.h>

#include "runtime/framework.h"
#include "runtime/runtime.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    // No DLL is ever looked up beside the exe or in the current directory.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    SetDllDirectoryW(L"");

    rt::Framework framework(instance);
    program_start();
    return framework.normal_end();
}
