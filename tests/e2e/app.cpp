#include "tests/e2e/app.h"

#include <vector>

#include "tests/e2e/probe.h"
#include "tests/e2e/screen.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {
// Wine may still be bringing up its desktop and services when the first program of a
// session starts, so the first window can take a while.
constexpr DWORD kStartMs = 20000;
}  // namespace

std::unique_ptr<App> App::start(const std::wstring& exe, Report& report) {
    std::wstring directory = exe;
    const size_t slash = directory.find_last_of(L"\\/");
    directory = slash == std::wstring::npos ? L"." : directory.substr(0, slash);
    std::wstring command_line = L"\"" + exe + L"\"";

    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(),
                        &si, &pi)) {
        report.check(false, cat("start ", utf8(exe), " (error ", GetLastError(), ")"));
        return nullptr;
    }
    CloseHandle(pi.hThread);
    report.note(cat("started the program, process ", pi.dwProcessId));
    return std::unique_ptr<App>(new App(pi.hProcess, pi.dwProcessId));
}

App::~App() {
    if (!running()) return;
    // Whatever the scenario left behind, nothing of the program may outlive the driver.
    for (HWND h : top_level_windows(pid_, kMainClass)) PostMessageW(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    if (wait_exit(3000)) return;
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), 5000);
    std::printf("  (the program had to be terminated)\n");
}

bool App::running() const { return WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT; }

std::optional<DWORD> App::wait_exit(DWORD timeout_ms) const {
    if (WaitForSingleObject(process_.get(), timeout_ms) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    if (!GetExitCodeProcess(process_.get(), &code)) return std::nullopt;
    return code;
}

HWND App::focus() const { return focus_of_thread(thread_); }

bool App::wait_ready(Report& report) {
    const bool shown = wait_until([&] {
        const auto mains = top_level_windows(pid_, kMainClass, true);
        if (mains.empty()) return !running();
        windows_.main = mains.front();
        return true;
    }, kStartMs);
    if (!report.check(shown && windows_.main, "the main window is shown")) return false;
    thread_ = GetWindowThreadProcessId(windows_.main, nullptr);

    const bool focused = wait_until([&] {
        return GetForegroundWindow() == windows_.main && focus_of_thread(thread_) != nullptr;
    }, kReactMs);
    if (!report.check(focused, "the main window is active and has the focus set")) return false;
    WaitForInputIdle(process_.get(), kReactMs);

    AppWindows& w = windows_;
    w.button = GetDlgItem(w.main, id::kBackButton);
    w.cover = GetDlgItem(w.main, id::kCover);
    w.browser = GetDlgItem(w.main, id::kBrowserView);
    w.list = w.cover ? GetDlgItem(w.cover, id::kEpisodeList) : nullptr;
    w.label = w.cover ? GetDlgItem(w.cover, id::kCaption) : nullptr;
    if (!report.check(w.button && w.cover && w.browser && w.list && w.label,
                      "every control is found by its identifier under its parent"))
        return false;

    // Painted: two looks at the window a moment apart agree.
    Shot last;
    const bool painted = wait_until([&] {
        Shot now = capture(screen_rect(w.main));
        const bool same = !now.empty() && now.pixels == last.pixels;
        last = std::move(now);
        return same;
    }, kReactMs, 150);
    return report.check(painted, "the main window is painted");
}

}  // namespace e2e
