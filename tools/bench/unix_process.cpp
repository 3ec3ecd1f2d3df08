#include "tools/bench/unix_process.h"

#include <windows.h>

#include <cstdlib>
#include <vector>

#include "tools/bench/handle.h"

namespace bench {

namespace {

constexpr wchar_t kProc[] = L"Z:\\proc\\";

// Files under /proc report no size, so they are read until the end.
std::optional<std::string> read_all(const std::wstring& path) {
    const Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    return text;
}

// Names of the entries of a directory that are numbers (process and thread ids).
std::vector<std::wstring> numeric_entries(const std::wstring& directory) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((directory + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring name = found.cFileName;
        if (!name.empty() && name.find_first_not_of(L"0123456789") == std::wstring::npos) out.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return out;
}

std::string narrow(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

}  // namespace

std::optional<int> find_unix_process(const std::wstring& exe) {
    const size_t slash = exe.find_last_of(L"\\/");
    // The kernel keeps 15 characters of a process's name.
    const std::string name = narrow(exe.substr(slash == std::wstring::npos ? 0 : slash + 1)).substr(0, 15);
    wchar_t display[64] = {};
    if (!GetEnvironmentVariableW(L"DISPLAY", display, 64)) return std::nullopt;
    const std::string session = "DISPLAY=" + narrow(display) + std::string(1, '\0');

    std::optional<int> found;
    for (const std::wstring& pid : numeric_entries(kProc)) {
        const auto comm = read_all(kProc + pid + L"\\comm");
        if (!comm || *comm != name + "\n") continue;
        const auto stat = read_all(kProc + pid + L"\\stat");
        const size_t paren = stat ? stat->rfind(')') : std::string::npos;
        if (paren == std::string::npos || paren + 2 >= stat->size() || (*stat)[paren + 2] == 'Z') continue;
        const auto environment = read_all(kProc + pid + L"\\environ");
        if (!environment || (std::string(1, '\0') + *environment).find(std::string(1, '\0') + session) ==
                                std::string::npos)
            continue;
        if (found) return std::nullopt;  // two candidates: cannot tell which
        found = std::atoi(narrow(pid).c_str());
    }
    return found;
}

std::optional<std::uint64_t> unix_cpu_ns(int pid) {
    const std::wstring tasks = kProc + std::to_wstring(pid) + L"\\task\\";
    const auto threads = numeric_entries(tasks);
    if (threads.empty()) return std::nullopt;
    std::uint64_t total = 0;
    for (const std::wstring& tid : threads) {
        // "<ns on the CPU> <ns waiting to run> <time slices>"
        const auto line = read_all(tasks + tid + L"\\schedstat");
        if (!line) continue;  // the thread has just ended
        total += std::strtoull(line->c_str(), nullptr, 10);
    }
    return total;
}

}  // namespace bench
