// The program's allocation functions. The run time is built without exceptions, so
// running out of memory cannot be reported by throwing; it is reported to the user and
// ends the process with the fatal exit code, like every other failure the program cannot
// go on from. Nothing here allocates, so the report still works when the heap is spent.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void out_of_memory() {
    MessageBoxW(nullptr, L"内存不足，程序无法继续运行。", L"错误",
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    ExitProcess(0xFFFFFFFF);
}

void* allocate(std::size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) out_of_memory();
    return p;
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
// The non-throwing forms keep their promise of a null result instead.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size ? size : 1); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
