// Stands in for the program running out of memory: asks the program's own allocation
// functions for more than any process can have. The driver's fatal scenario then expects
// the report and the fatal exit code, as for any other failure the program cannot go on from.
#include <windows.h>

#include <cstddef>

namespace {
char* volatile g_kept;  // so the allocation cannot be left out
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    volatile std::size_t huge = static_cast<std::size_t>(-1) / 2;
    g_kept = new char[huge];
    return 0;
}
