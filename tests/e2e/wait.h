// Polling with a time-out: the program runs on its own schedule, so every check of a
// state it should reach waits for it, and every check that nothing happens waits a
// little before it looks.
#pragma once

#include <windows.h>

namespace e2e {

template <class Predicate>
bool wait_until(Predicate done, DWORD timeout_ms, DWORD step_ms = 25) {
    const ULONGLONG end = GetTickCount64() + timeout_ms;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= end) return false;
        Sleep(step_ms);
    }
}

// How long something that should not happen is given to happen anyway.
inline constexpr DWORD kSettleMs = 1500;
// How long something that should happen may take.
inline constexpr DWORD kReactMs = 5000;

}  // namespace e2e
