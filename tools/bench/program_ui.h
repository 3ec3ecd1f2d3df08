// Our program's window seen from outside, and the steps a person takes with it, each given
// as real input and each waiting (by polling, never by a fixed sleep) for the program to
// have taken it.
#pragma once

#include <windows.h>

#include <optional>

#include "ui/ids.h"

namespace bench {

inline constexpr wchar_t kProgramClass[] = L"rt.Window";
inline constexpr wchar_t kReferenceClass[] = L"bench.ReferenceHost";

struct ProgramWindows {
    HWND main = nullptr;
    HWND cover = nullptr;
    HWND list = nullptr;
    HWND button = nullptr;
    HWND browser = nullptr;
};

// Null when a control is missing from where it belongs.
std::optional<ProgramWindows> find_controls(HWND main);

bool cover_visible(const ProgramWindows& w);
bool list_dropped(const ProgramWindows& w, DWORD pid);

// How long one step may take before it counts as not taken.
inline constexpr DWORD kStepTimeoutMs = 5000;

// Clicks the list's selection field and waits for the list to drop down.
bool open_list(const ProgramWindows& w, DWORD pid);
// With the list down: Home, then Down `index` times; waits for the entry to be
// highlighted. Enter then accepts it.
bool highlight_entry(const ProgramWindows& w, int index);
// Opens the list and clicks entry `index`, which accepts it; waits for the cover to go.
bool choose_by_click(const ProgramWindows& w, DWORD pid, int index);
// Clicks the back button and waits for the cover to come back.
bool go_back(const ProgramWindows& w);

}  // namespace bench
