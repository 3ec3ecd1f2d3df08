// Choosing episodes: what the view asks the delivery node for, and how the cover view
// and the browser view take turns.
#include <vector>

#include "tests/e2e/actions.h"
#include "tests/e2e/input.h"
#include "tests/e2e/node_watch.h"
#include "tests/e2e/paint_checks.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

// Waits for the browser view after a choice and checks what stands in front.
bool expect_browser_view(const App& app, Report& report) {
    const bool shown = wait_until([&] { return browser_shown(snapshot(app)); }, kReactMs);
    const Snapshot s = snapshot(app);
    report.check(shown, cat("the cover hides (with the list and label); the button and the browser view show",
                            shown ? "" : cat(": cover ", s.cover, " list ", s.list, " label ", s.label, " button ",
                                             s.button, " browser ", s.browser)));
    const AppWindows& w = app.windows();
    const int button = position(s.main_order, w.button), browser = position(s.main_order, w.browser);
    return report.check(shown && button >= 0 && button < browser, "the button stands in front of the browser view");
}

bool expect_cover_view(const App& app, int selection, Report& report) {
    const bool shown = wait_until([&] { return cover_shown(snapshot(app)); }, kReactMs);
    report.check(shown, "the cover shows again, with the list and the label");
    const AppWindows& w = app.windows();
    report.check(children_front_to_back(w.main) == std::vector<HWND>{w.button, w.cover, w.browser},
                 "the stacking is back to button, cover, browser view");
    const ComboState combo = combo_state(w.list);
    return report.check(combo.selection == selection,
                        cat("the list's selection is ", combo.selection, " (expected ", selection, ")"));
}

// Chooses episode `index` and checks the request and the browser view.
bool choose_and_check(const App& app, const NodeWatch& node, int index, Report& report) {
    report.note(cat("-- choose episode ", index + 1));
    const size_t mark = node.mark();
    if (!choose_entry(app, index, report)) return false;
    const bool view = expect_browser_view(app, report);
    return node.expect_one(mark, static_cast<size_t>(index), report) && view;
}

bool back_and_check(const App& app, const NodeWatch& node, int selection, Report& report) {
    report.note("-- back");
    const size_t mark = node.mark();
    if (!click_back(app, report)) return false;
    const bool view = expect_cover_view(app, selection, report);
    return node.expect_none(mark, "the back button", report) && view;
}

struct EpisodeRun {
    NodeWatch node;
    std::unique_ptr<App> app;

    bool start(const Options& options, Report& report) {
        if (!node.open(options.urls, options.node_log, report)) return false;
        app = start_ready(options, report);
        return app != nullptr;
    }
};

}  // namespace

void run_choose_each(const Options& options, Report& report) {
    rt::DecodedImage image;
    if (!load_cover(options.cover, image, report)) return;
    EpisodeRun run;
    if (!run.start(options, report)) return;
    for (int i = 0; i < 3; ++i) {
        if (!choose_and_check(*run.app, run.node, i, report)) break;
        if (i == 0) {
            check_tiled_background(*run.app, image, report);
            save_shot(options.shots, L"browser_view", report);
        }
        if (!back_and_check(*run.app, run.node, i, report)) break;
        check_list_field(*run.app, true, report);
        if (i == 0) save_shot(options.shots, L"cover_view_after_back", report);
    }
    run.node.expect_only_episodes(report);
}

void run_choose_same_again(const Options& options, Report& report) {
    EpisodeRun run;
    if (!run.start(options, report)) return;
    for (int round = 0; round < 2; ++round) {
        if (!choose_and_check(*run.app, run.node, 1, report)) break;
        if (!back_and_check(*run.app, run.node, 1, report)) break;
    }
    run.node.expect_only_episodes(report);
}

void run_open_close_no_choice(const Options& options, Report& report) {
    EpisodeRun run;
    if (!run.start(options, report)) return;
    const App& app = *run.app;
    // Once before any choice, once with an episode chosen and the cover back.
    for (int selected : {-1, 2}) {
        if (selected >= 0 && !(choose_and_check(app, run.node, selected, report) &&
                               back_and_check(app, run.node, selected, report)))
            break;
        report.note(cat("-- open and close the list with selection ", selected));
        const Snapshot before = snapshot(app);
        const size_t mark = run.node.mark();
        if (!click_list(app, report, true)) break;
        if (selected < 0) save_shot(options.shots, L"list_dropped", report);
        if (!click_list(app, report, false)) break;
        run.node.expect_none(mark, "opening and closing the list", report);
        const std::string changed = differences(before, snapshot(app), false);
        report.check(changed.empty(), cat("nothing else changes", changed.empty() ? "" : ": " + changed));
    }
    run.node.expect_only_episodes(report);
}

void run_back_before_choice(const Options& options, Report& report) {
    EpisodeRun run;
    if (!run.start(options, report)) return;
    const Snapshot before = snapshot(*run.app);
    for (int round = 0; round < 2; ++round) {
        if (!back_and_check(*run.app, run.node, CB_ERR, report)) break;
        const std::string changed = differences(before, snapshot(*run.app), false);
        report.check(changed.empty(), cat("nothing else changes", changed.empty() ? "" : ": " + changed));
    }
    run.node.expect_only_episodes(report);
}

void run_cover_press(const Options& options, Report& report) {
    rt::DecodedImage image;
    if (!load_cover(options.cover, image, report)) return;
    EpisodeRun run;
    if (!run.start(options, report)) return;
    const App& app = *run.app;
    // A spot of the picture away from every control.
    const POINT spot = on_screen(app.windows().cover, 150, 40);
    struct Press {
        const char* name;
        std::initializer_list<WORD> keys;
    };
    const Press presses[] = {
        {"a plain press", {}}, {"Ctrl+press", {VK_CONTROL}}, {"Shift+press", {VK_SHIFT}}, {"Alt+press", {VK_MENU}}};
    for (const Press& p : presses) {
        const Snapshot before = snapshot(app);
        const size_t mark = run.node.mark();
        {
            HeldKeys held(p.keys);
            click(spot);
        }
        run.node.expect_none(mark, cat(p.name, " on the cover"), report);
        const std::string changed = differences(before, snapshot(app));
        report.check(changed.empty(), cat(p.name, " on the cover changes nothing", changed.empty() ? "" : ": " + changed));
    }
    check_cover_paint(app, image, report);
    run.node.expect_only_episodes(report);
}

void run_browser_view_tab(const Options& options, Report& report) {
    EpisodeRun run;
    if (!run.start(options, report)) return;
    const App& app = *run.app;
    if (!choose_and_check(app, run.node, 0, report)) return;
    for (bool backward : {false, true}) {
        std::string path;
        bool ok = true;
        std::string previous;
        for (int i = 0; i < 4; ++i) {
            const std::string now = focus_name(app.windows(), tab(app, backward));
            path += (i ? " -> " : "") + now;
            ok = ok && (now == "browser view" || now == "button") && now != previous;
            previous = now;
        }
        report.check(ok, cat(backward ? "Shift+Tab" : "Tab", " alternates between the browser view and the button: ",
                             path));
    }
    report.check(browser_shown(snapshot(app)), "the browser view is still shown");
    run.node.expect_only_episodes(report);
}

void run_escape_from_browser_view(const Options& options, Report& report) {
    // Right after a choice the focus is on the hidden list; the other two can be reached
    // with Tab.
    struct Case {
        const char* focus;
        bool browser;
        bool button;
    };
    const Case cases[] = {{"left on the hidden list", false, false},
                          {"in the browser view", true, false},
                          {"on the button", false, true}};
    for (const Case& c : cases) {
        report.note(cat("-- Esc with the focus ", c.focus));
        EpisodeRun run;
        if (!run.start(options, report)) return;
        const App& app = *run.app;
        if (!choose_and_check(app, run.node, 2, report)) return;
        if (c.browser && !tab_to(app, app.windows().browser, report, "browser view")) return;
        if (c.button && !tab_to(app, app.windows().button, report, "button")) return;
        press(VK_ESCAPE);
        const auto code = app.wait_exit(kReactMs);
        report.check(code == 0u, cat("Esc ends the program with exit code 0 (",
                                     code ? hex(*code) : std::string("still running"), ")"));
        run.node.expect_only_episodes(report);
    }
}

}  // namespace e2e
