#include "tools/bench/watched_process.h"

#include <psapi.h>

#include "tests/e2e/probe.h"

namespace bench {

std::unique_ptr<WatchedProcess> WatchedProcess::start(const std::wstring& exe, const std::wstring& args,
                                                      const wchar_t* window_class, std::wstring& error) {
    const size_t slash = exe.find_last_of(L"\\/");
    const std::wstring directory = slash == std::wstring::npos ? L"." : exe.substr(0, slash);
    std::wstring command_line = L"\"" + exe + L"\"";
    if (!args.empty()) command_line += L" " + args;

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &si, &pi)) {
        error = L"cannot start " + exe + L" (error " + std::to_wstring(GetLastError()) + L")";
        return nullptr;
    }
    CloseHandle(pi.hThread);
    return std::unique_ptr<WatchedProcess>(new WatchedProcess(pi.hProcess, pi.dwProcessId, window_class));
}

WatchedProcess::~WatchedProcess() {
    if (running()) end(3000);
}

bool WatchedProcess::running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> WatchedProcess::exit_code() const {
    DWORD code = 0;
    if (running() || !GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

HWND WatchedProcess::main_window() const {
    const auto windows = e2e::top_level_windows(pid_, class_, true);
    return windows.empty() ? nullptr : windows.front();
}

std::optional<Memory> WatchedProcess::memory() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_.get(), &counters, sizeof counters)) return std::nullopt;
    return Memory{counters.WorkingSetSize, counters.PeakWorkingSetSize};
}

std::optional<std::uint64_t> WatchedProcess::cpu_time() const {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return std::nullopt;
    auto value = [](const FILETIME& t) {
        return (static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

Ending WatchedProcess::end(DWORD timeout_ms) {
    if (!running()) return Ending::kAlreadyGone;
    for (HWND h : e2e::top_level_windows(pid_, class_)) PostMessageW(h, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), timeout_ms) == WAIT_OBJECT_0) return Ending::kClosed;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
    return Ending::kTerminated;
}

}  // namespace bench
