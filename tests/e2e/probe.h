// Reading another process's windows from outside, the way any tool can: geometry,
// styles, classes, texts, stacking, the focus of a thread and the combo box's contents.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace e2e {

std::wstring class_name(HWND hwnd);
std::wstring window_text(HWND hwnd);
RECT screen_rect(HWND hwnd);
// The window's rectangle in its parent's client coordinates.
RECT rect_in_parent(HWND hwnd);
// The client area's rectangle in screen coordinates.
RECT client_screen_rect(HWND hwnd);
POINT centre(const RECT& r);
bool contains(const RECT& r, POINT p);
bool same_rect(const RECT& a, int left, int top, int width, int height);

// Children of `parent`, front to back.
std::vector<HWND> children_front_to_back(HWND parent);
// Index of `hwnd` in `order`, or -1.
int position(const std::vector<HWND>& order, HWND hwnd);

// The window with the keyboard focus on `thread`, null when none.
HWND focus_of_thread(DWORD thread);
HWND active_of_thread(DWORD thread);
// True for `hwnd` itself and for any window inside it.
bool is_within(HWND hwnd, HWND ancestor);

// Top-level windows of the process (of every process for 0); with `cls`, only those of
// that class.
std::vector<HWND> top_level_windows(DWORD process, const wchar_t* cls = nullptr, bool visible_only = false);

// Messages that wait at most a couple of seconds for a busy or hung receiver.
std::optional<LRESULT> send(HWND hwnd, UINT msg, WPARAM wp = 0, LPARAM lp = 0);

struct ComboState {
    int count = -1;
    int selection = -2;
    std::vector<std::wstring> entries;
    int field_height = -1;  // CB_GETITEMHEIGHT of the selection field
    int entry_height = -1;
    bool dropped = false;
};
ComboState combo_state(HWND combo);
// The combo's drop-down list window while it is shown, else null.
HWND dropped_list(DWORD process);

// The non-client hit-test code at a screen point, as the window itself answers it.
LRESULT hit_test(HWND hwnd, POINT screen);
// A point of the window's caption area answering `code` (HTCLOSE, HTSYSMENU, ...).
std::optional<POINT> find_hit(HWND hwnd, LRESULT code);

}  // namespace e2e
