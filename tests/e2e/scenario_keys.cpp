// The keyboard: the Tab cycle, keys that must do nothing, and the focus across
// minimising.
#include "tests/e2e/actions.h"
#include "tests/e2e/input.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

// Presses Tab (or Shift+Tab) once for each expected stop and checks where the focus lands.
void check_cycle(const App& app, bool backward, std::initializer_list<const char*> stops, Report& report) {
    std::string path = focus_name(app.windows(), app.focus());
    std::string expected = path;
    for (const char* stop : stops) {
        path += " -> " + focus_name(app.windows(), tab(app, backward));
        expected += std::string(" -> ") + stop;
    }
    report.check(path == expected, cat(backward ? "Shift+Tab" : "Tab", " moves the focus ", path,
                                       path == expected ? "" : " (expected " + expected + ")"));
}

}  // namespace

void run_keys(const Options& options, Report& report) {
    auto app = start_ready(options, report);
    if (!app) return;
    const AppWindows& w = app->windows();
    report.check(focus_name(w, app->focus()) == "browser view", "the focus starts in the browser view");
    check_cycle(*app, false, {"list", "button", "browser view", "list"}, report);
    check_cycle(*app, true, {"browser view", "button", "list", "browser view"}, report);

    struct Place {
        const char* name;
        HWND hwnd;
    };
    struct Key {
        const char* name;
        WORD vk;
        std::initializer_list<WORD> modifiers;
    };
    const Place places[] = {{"browser view", w.browser}, {"list", w.list}, {"button", w.button}};
    // Esc closes the window only without modifiers.
    const Key keys[] = {{"Enter", VK_RETURN, {}}, {"F1", VK_F1, {}}, {"Shift+Esc", VK_ESCAPE, {VK_SHIFT}}};
    for (const Place& place : places) {
        if (!tab_to(*app, place.hwnd, report, place.name)) continue;
        for (const Key& key : keys) {
            const Snapshot before = snapshot(*app);
            press(key.vk, key.modifiers);
            Sleep(kSettleMs);
            const std::string changed = differences(before, snapshot(*app));
            report.check(changed.empty(), cat(key.name, " with the focus on the ", place.name, " changes nothing",
                                              changed.empty() ? "" : ": " + changed));
        }
    }
}

void run_minimise(const Options& options, Report& report) {
    auto app = start_ready(options, report);
    if (!app) return;
    const AppWindows& w = app->windows();
    if (!tab_to(*app, w.button, report, "button")) return;

    const auto min_box = find_hit(w.main, HTMINBUTTON);
    if (report.check(min_box.has_value(), "the caption has a minimise box")) click(*min_box);
    report.check(wait_until([&] { return IsIconic(w.main) != 0; }, kReactMs), "a click on it minimises the window");
    Sleep(kSettleMs);
    report.check(app->running(), "the program keeps running while minimised");
    report.note(cat("  (while minimised: focus ", focus_name(w, app->focus()), ", window ",
                    active_of_thread(app->thread()) == w.main ? "still active" : "not active", ")"));

    // Without a task bar the minimised window sits on the desktop as a small caption; a
    // double click on it restores the window.
    const RECT iconic = screen_rect(w.main);
    report.note(cat("  (minimised to ", describe(iconic), ")"));
    double_click(centre(iconic));
    const bool restored = wait_until([&] {
        return !IsIconic(w.main) && GetForegroundWindow() == w.main && app->focus() != nullptr;
    }, kReactMs);
    report.check(restored, "a double click on it brings the window back, active");
    const bool back = wait_until([&] { return app->focus() == w.button; }, kReactMs);
    report.check(back, cat("the focus is back on the button (it is on the ", focus_name(w, app->focus()), ")"));
    report.check(app->running(), "the program still runs");
}

}  // namespace e2e
