// Stands in for a system DLL planted beside a program. Being loaded leaves a marker file
// next to the DLL, <its path>.loaded, naming the process that loaded it; then the load is
// refused, so a program that picks the DLL up also fails where it can be seen.
#include <windows.h>

#include <memory>
#include <string>

namespace {

struct HandleCloser {
    void operator()(HANDLE h) const { CloseHandle(h); }
};
using UniqueFile = std::unique_ptr<void, HandleCloser>;

std::wstring module_path(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr,
                        nullptr);
    return out;
}

void leave_marker(HMODULE self) {
    const std::wstring marker = module_path(self) + L".loaded";
    UniqueFile file(CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.get() == INVALID_HANDLE_VALUE) {
        file.release();
        return;
    }
    const std::string host = utf8(module_path(nullptr)) + "\n";
    DWORD written = 0;
    WriteFile(file.get(), host.data(), static_cast<DWORD>(host.size()), &written, nullptr);
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    leave_marker(self);
    return FALSE;
}
