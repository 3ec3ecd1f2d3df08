// A program under measurement, as a process of its own: started with CreateProcessW,
// observed from outside (windows, memory, CPU time), and always ended before its owner
// goes away.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "tools/bench/handle.h"

namespace bench {

struct Memory {
    std::uint64_t working_set = 0;
    std::uint64_t peak_working_set = 0;
};

// How a process came to its end when asked to.
enum class Ending { kClosed, kTerminated, kAlreadyGone };

class WatchedProcess {
public:
    // Starts `exe` with `args` (already quoted as needed) in the exe's directory, with
    // `window_class` naming its main window. Null, with `error` set, when that fails.
    static std::unique_ptr<WatchedProcess> start(const std::wstring& exe, const std::wstring& args,
                                                 const wchar_t* window_class, std::wstring& error);
    // Ends the process if it still runs.
    ~WatchedProcess();
    WatchedProcess(const WatchedProcess&) = delete;
    WatchedProcess& operator=(const WatchedProcess&) = delete;

    DWORD pid() const { return pid_; }
    bool running() const;
    std::optional<DWORD> exit_code() const;

    // The visible main window, null while there is none.
    HWND main_window() const;

    // Working set now and its peak so far, as the system reports them.
    std::optional<Memory> memory() const;
    // Kernel plus user time so far, in 100 ns units.
    std::optional<std::uint64_t> cpu_time() const;

    // Asks the main window to close, waits for the exit, terminates after `timeout_ms`.
    Ending end(DWORD timeout_ms);

private:
    WatchedProcess(HANDLE process, DWORD pid, const wchar_t* window_class)
        : process_(process), pid_(pid), class_(window_class) {}

    Handle process_;
    DWORD pid_ = 0;
    const wchar_t* class_;
};

}  // namespace bench
