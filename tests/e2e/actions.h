// What a person does with the program, each step waiting until the program has taken it,
// and a snapshot of the state a step may or may not change.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/app.h"
#include "tests/e2e/report.h"

namespace e2e {

// A point given in `hwnd`'s client coordinates, on the screen.
POINT on_screen(HWND hwnd, int x, int y);

// Clicks the list's selection field and waits for the list to drop down (or, when it is
// down already, to close).
bool click_list(const App& app, Report& report, bool expect_dropped);
// Opens the list and clicks entry `index`; waits for the list to close.
bool choose_entry(const App& app, int index, Report& report);
bool click_back(const App& app, Report& report);
// Presses Tab (or Shift+Tab) and waits for the focus to move; returns where it went.
HWND tab(const App& app, bool backward = false);
// Presses Tab until the focus is within `target`, at most four times.
bool tab_to(const App& app, HWND target, Report& report, const char* name);

// Which of the program's controls holds `focus`: "browser view", "list", "button",
// "cover", "label", "main window", "none" or "elsewhere".
std::string focus_name(const AppWindows& w, HWND focus);

struct Snapshot {
    bool running = false;
    bool cover = false, list = false, label = false, button = false, browser = false;  // visible
    int selection = -2;
    bool dropped = false;
    std::string focus;
    std::vector<HWND> main_order, cover_order;
    std::vector<HWND> top_levels;  // visible top-level windows of any program, e.g. a help viewer
};
Snapshot snapshot(const App& app);
// What differs, empty when nothing does. A click on a control gives it the focus, so
// checks after clicks can leave the focus out.
std::string differences(const Snapshot& before, const Snapshot& after, bool with_focus = true);

// The cover view: cover, list and label visible; the browser view in the back.
bool cover_shown(const Snapshot& s);
// The browser view: cover hidden (so are list and label), button still shown.
bool browser_shown(const Snapshot& s);

}  // namespace e2e
