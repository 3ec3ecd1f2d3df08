// Loads the DLLs named on its command line by bare name, the way a program does when it
// leaves the DLL search order as it is; with --restricted it first narrows the search to
// the system directory as the program's entry does. Prints where each DLL came from and
// exits 0 only if every one of them loaded.
#include <windows.h>

#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

std::wstring module_path(HMODULE module) {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    int first = 1;
    if (argc > 1 && std::wstring_view(argv[1]) == L"--restricted") {
        SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
        SetDllDirectoryW(L"");
        first = 2;
    }
    if (first >= argc) {
        std::fputs("usage: dll_probe [--restricted] NAME.dll...\n", stderr);
        return 2;
    }
    bool all_loaded = true;
    for (int i = first; i < argc; ++i) {
        // Kept loaded until the process ends, as a program's own DLLs would be.
        const HMODULE module = LoadLibraryW(argv[i]);
        const DWORD error = GetLastError();
        if (module) {
            std::printf("%s: %s\n", utf8(argv[i]).c_str(), utf8(module_path(module)).c_str());
        } else {
            std::printf("%s: not loaded (error %lu)\n", utf8(argv[i]).c_str(), error);
            all_loaded = false;
        }
    }
    std::fflush(stdout);
    return all_loaded ? 0 : 1;
}
