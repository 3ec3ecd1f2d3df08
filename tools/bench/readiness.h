// When a started program counts as up: its main window is shown, its thread has put the
// keyboard focus somewhere, and the window has painted over the desktop.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

#include "tools/bench/watched_process.h"

namespace bench {

// One pixel of the screen as 0x00RRGGBB, none when the screen cannot be read.
std::optional<std::uint32_t> screen_pixel(POINT at);
POINT screen_centre();

// The desktop's colour where windows of our size come up (the middle of the screen).
// Waits up to `timeout_ms` for two looks a moment apart to agree, so a window that has
// just gone is not taken for the desktop.
std::optional<std::uint32_t> settled_desktop_colour(DWORD timeout_ms);
// Waits until the middle of the screen shows `desktop` again: the last window is gone.
bool wait_desktop_clear(std::uint32_t desktop, DWORD timeout_ms);

struct Ready {
    HWND main = nullptr;
    DWORD thread = 0;
    double ms = 0;  // since `started`
};

// Polls (every millisecond or so) until the process is up as above; `started` is the
// QueryPerformanceCounter value taken just before CreateProcessW.
std::optional<Ready> wait_ready(const WatchedProcess& process, std::uint32_t desktop, LONGLONG started,
                                DWORD timeout_ms);

// Milliseconds between two QueryPerformanceCounter values.
double elapsed_ms(LONGLONG from, LONGLONG to);
LONGLONG qpc_now();

}  // namespace bench
