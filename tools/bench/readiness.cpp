#include "tools/bench/readiness.h"

#include "tests/e2e/probe.h"
#include "tests/e2e/screen.h"

namespace bench {

std::optional<std::uint32_t> screen_pixel(POINT at) {
    const e2e::Shot shot = e2e::capture({at.x, at.y, at.x + 1, at.y + 1});
    if (shot.empty()) return std::nullopt;
    return shot.pixels.front();
}

POINT screen_centre() { return {GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2}; }

std::optional<std::uint32_t> settled_desktop_colour(DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    std::optional<std::uint32_t> last;
    do {
        const auto now = screen_pixel(screen_centre());
        if (now && last && *now == *last) return now;
        last = now;
        Sleep(200);
    } while (GetTickCount64() < end);
    return std::nullopt;
}

bool wait_desktop_clear(std::uint32_t desktop, DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (screen_pixel(screen_centre()) == desktop) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(10);
    }
}

LONGLONG qpc_now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double elapsed_ms(LONGLONG from, LONGLONG to) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to - from) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::optional<Ready> wait_ready(const WatchedProcess& process, std::uint32_t desktop, LONGLONG started,
                                DWORD timeout_ms) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    Ready ready;
    // The three conditions are checked cheapest first; the screen is read only once the
    // window is there with the focus set.
    for (;;) {
        if (!ready.main) ready.main = process.main_window();
        if (ready.main) {
            ready.thread = GetWindowThreadProcessId(ready.main, nullptr);
            if (IsWindowVisible(ready.main) && e2e::focus_of_thread(ready.thread)) {
                const POINT middle = e2e::centre(e2e::client_screen_rect(ready.main));
                const auto pixel = screen_pixel(middle);
                if (pixel && *pixel != desktop) {
                    ready.ms = elapsed_ms(started, qpc_now());
                    return ready;
                }
            }
        }
        if (!process.running() || GetTickCount64() >= end) return std::nullopt;
        Sleep(1);
    }
}

}  // namespace bench
