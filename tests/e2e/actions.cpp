#include "tests/e2e/actions.h"

#include "tests/e2e/input.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/wait.h"

namespace e2e {

POINT on_screen(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    return p;
}

namespace {
bool dropped(const App& app) { return combo_state(app.windows().list).dropped && dropped_list(app.pid()); }
}  // namespace

bool click_list(const App& app, Report& report, bool expect_dropped) {
    click(centre(screen_rect(app.windows().list)));
    const bool ok = wait_until([&] { return dropped(app) == expect_dropped; }, kReactMs);
    return report.check(ok, expect_dropped ? "a click on the list drops it down" : "a click on the list closes it");
}

bool choose_entry(const App& app, int index, Report& report) {
    if (!click_list(app, report, true)) return false;
    const HWND popup = dropped_list(app.pid());
    const int height = combo_state(app.windows().list).entry_height;
    if (!report.check(popup && height > 0, cat("the dropped list is found, entries ", height, " px tall")))
        return false;
    // The entries start at the top of the dropped list's client area.
    const RECT area = client_screen_rect(popup);
    click({(area.left + area.right) / 2, area.top + index * height + height / 2});
    return report.check(wait_until([&] { return !dropped(app); }, kReactMs),
                        cat("a click on entry ", index + 1, " closes the list"));
}

bool click_back(const App& app, Report& report) {
    const HWND button = app.windows().button;
    click(centre(screen_rect(button)));
    return report.check(wait_until([&] { return app.focus() == button; }, kReactMs),
                        "the back button takes the click (and the focus)");
}

HWND tab(const App& app, bool backward) {
    const HWND before = app.focus();
    if (backward)
        press(VK_TAB, {VK_SHIFT});
    else
        press(VK_TAB);
    wait_until([&] { return app.focus() != before; }, 2000);
    return app.focus();
}

bool tab_to(const App& app, HWND target, Report& report, const char* name) {
    for (int i = 0; i < 4 && !is_within(app.focus(), target); ++i) tab(app);
    return report.check(is_within(app.focus(), target), cat("Tab brings the focus to the ", name));
}

std::string focus_name(const AppWindows& w, HWND focus) {
    if (!focus) return "none";
    if (is_within(focus, w.browser)) return "browser view";
    if (focus == w.list) return "list";
    if (focus == w.button) return "button";
    if (focus == w.label) return "label";
    if (focus == w.cover) return "cover";
    if (focus == w.main) return "main window";
    return "elsewhere";
}

Snapshot snapshot(const App& app) {
    const AppWindows& w = app.windows();
    Snapshot s;
    s.running = app.running();
    s.cover = IsWindowVisible(w.cover);
    s.list = IsWindowVisible(w.list);
    s.label = IsWindowVisible(w.label);
    s.button = IsWindowVisible(w.button);
    s.browser = IsWindowVisible(w.browser);
    const ComboState combo = combo_state(w.list);
    s.selection = combo.selection;
    s.dropped = combo.dropped;
    s.focus = focus_name(w, app.focus());
    s.main_order = children_front_to_back(w.main);
    s.cover_order = children_front_to_back(w.cover);
    s.top_levels = top_level_windows(0, nullptr, true);
    return s;
}

std::string differences(const Snapshot& a, const Snapshot& b, bool with_focus) {
    std::string out;
    auto note = [&](bool differs, const std::string& what) {
        if (differs) out += (out.empty() ? "" : "; ") + what;
    };
    auto flag = [](bool v) { return v ? "shown" : "hidden"; };
    note(a.running != b.running, b.running ? "the program started running" : "the program ended");
    note(a.cover != b.cover, cat("cover ", flag(a.cover), " -> ", flag(b.cover)));
    note(a.list != b.list, cat("list ", flag(a.list), " -> ", flag(b.list)));
    note(a.label != b.label, cat("label ", flag(a.label), " -> ", flag(b.label)));
    note(a.button != b.button, cat("button ", flag(a.button), " -> ", flag(b.button)));
    note(a.browser != b.browser, cat("browser view ", flag(a.browser), " -> ", flag(b.browser)));
    note(a.selection != b.selection, cat("selection ", a.selection, " -> ", b.selection));
    note(a.dropped != b.dropped, cat("list dropped ", a.dropped, " -> ", b.dropped));
    note(with_focus && a.focus != b.focus, cat("focus ", a.focus, " -> ", b.focus));
    note(a.main_order != b.main_order, "stacking of the main window's children");
    note(a.cover_order != b.cover_order, "stacking inside the cover");
    note(a.top_levels != b.top_levels, cat("visible top-level windows ", a.top_levels.size(), " -> ",
                                           b.top_levels.size()));
    return out;
}

bool cover_shown(const Snapshot& s) { return s.cover && s.list && s.label && s.button && s.browser; }

bool browser_shown(const Snapshot& s) { return !s.cover && !s.list && !s.label && s.button && s.browser; }

}  // namespace e2e
