// The program under test as a process of its own: started with CreateProcessW, watched
// from outside, and always ended before the driver exits.
#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "tests/e2e/report.h"

namespace e2e {

// The program's control identifiers, as GetDlgCtrlID gives them.
namespace id {
inline constexpr int kBackButton = 0x16010010;
inline constexpr int kCover = 0x16010003;
inline constexpr int kEpisodeList = 0x1601000A;
inline constexpr int kCaption = 0x16010009;
inline constexpr int kBrowserView = 0x16010002;
}  // namespace id

inline constexpr wchar_t kMainClass[] = L"rt.Window";

struct AppWindows {
    HWND main = nullptr;
    HWND button = nullptr;
    HWND cover = nullptr;
    HWND list = nullptr;
    HWND label = nullptr;
    HWND browser = nullptr;
};

class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (h_) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }

private:
    HANDLE h_ = nullptr;
};

class App {
public:
    // Starts `exe` in its own directory; null (reported) when that fails.
    static std::unique_ptr<App> start(const std::wstring& exe, Report& report);
    // Ends the program if it still runs: a close request first, then TerminateProcess.
    ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    DWORD pid() const { return pid_; }
    bool running() const;
    // The exit code once the process has ended within `timeout_ms`.
    std::optional<DWORD> wait_exit(DWORD timeout_ms) const;

    // Waits for the main window to be shown, active, with the focus set and painted, and
    // finds the controls. Reports what it waited for.
    bool wait_ready(Report& report);

    const AppWindows& windows() const { return windows_; }
    DWORD thread() const { return thread_; }
    HWND focus() const;

private:
    App(HANDLE process, DWORD pid) : process_(process), pid_(pid) {}

    Handle process_;
    DWORD pid_ = 0;
    DWORD thread_ = 0;
    AppWindows windows_;
};

}  // namespace e2e
