// Every way of closing the window ends the program with exit code 0; a missing browser
// component ends it with a message and 0xFFFFFFFF.
#include "tests/e2e/actions.h"
#include "tests/e2e/input.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/scenarios.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

enum class Before { Nothing, FocusList, FocusButton, ListDropped };
enum class Close { CloseBox, AltF4, SystemMenu, Escape };

struct CloseCase {
    const char* what;
    Before before;
    Close close;
};

bool prepare(const App& app, Before before, Report& report) {
    const AppWindows& w = app.windows();
    switch (before) {
    case Before::Nothing: return true;
    case Before::FocusList: return tab_to(app, w.list, report, "list");
    case Before::FocusButton: return tab_to(app, w.button, report, "button");
    case Before::ListDropped: return click_list(app, report, true);
    }
    return false;
}

bool close_by_system_menu(const App& app, Report& report) {
    const auto icon = find_hit(app.windows().main, HTSYSMENU);
    if (!report.check(icon.has_value(), "the caption has a system menu icon")) return false;
    click(*icon);
    const bool open =
        wait_until([&] { return !top_level_windows(app.pid(), L"#32768", true).empty(); }, kReactMs);
    if (!report.check(open, "a click on the icon opens the system menu")) return false;
    // Which entries the menu has depends on the system (Wine adds one after Close), but
    // Close always answers to C.
    press('C');
    return true;
}

void close_once(const Options& options, const CloseCase& c, Report& report) {
    report.note(cat("-- ", c.what));
    auto app = start_ready(options, report);
    if (!app || !prepare(*app, c.before, report)) return;
    switch (c.close) {
    case Close::CloseBox: {
        const auto box = find_hit(app->windows().main, HTCLOSE);
        if (!report.check(box.has_value(), "the caption has a close box")) return;
        click(*box);
        break;
    }
    case Close::AltF4: press(VK_F4, {VK_MENU}); break;
    case Close::SystemMenu:
        if (!close_by_system_menu(*app, report)) return;
        break;
    case Close::Escape: press(VK_ESCAPE); break;
    }
    const auto code = app->wait_exit(kReactMs);
    report.check(code == 0u, cat(c.what, " ends the program with exit code 0 (",
                                 code ? hex(*code) : std::string("still running"), ")"));
}

void close_each(const Options& options, std::initializer_list<CloseCase> cases, Report& report) {
    for (const CloseCase& c : cases) close_once(options, c, report);
}

}  // namespace

void run_close_button(const Options& options, Report& report) {
    close_each(options, {{"a click on the close box", Before::Nothing, Close::CloseBox}}, report);
}

void run_alt_f4(const Options& options, Report& report) {
    close_each(options,
               {{"Alt+F4 with the focus in the browser view", Before::Nothing, Close::AltF4},
                {"Alt+F4 with the focus on the list", Before::FocusList, Close::AltF4},
                {"Alt+F4 with the focus on the button", Before::FocusButton, Close::AltF4}},
               report);
}

void run_system_menu(const Options& options, Report& report) {
    close_each(options, {{"Close in the system menu", Before::Nothing, Close::SystemMenu}}, report);
}

void run_escape(const Options& options, Report& report) {
    close_each(options,
               {{"Esc with the focus in the browser view", Before::Nothing, Close::Escape},
                {"Esc with the focus on the list", Before::FocusList, Close::Escape},
                {"Esc with the focus on the button", Before::FocusButton, Close::Escape}},
               report);
}

void run_escape_list_open(const Options& options, Report& report) {
    close_each(options, {{"Esc while the list is dropped down", Before::ListDropped, Close::Escape}}, report);
}

void run_fatal(const Options& options, Report& report) {
    auto app = App::start(options.app, report);
    if (!app) return;
    HWND box = nullptr;
    const bool shown = wait_until([&] {
        const auto boxes = top_level_windows(app->pid(), L"#32770", true);
        box = boxes.empty() ? nullptr : boxes.front();
        return box != nullptr || !app->running();
    }, 20000);
    if (!report.check(shown && box, "a message box of the program appears")) return;
    Sleep(500);  // anything else the program would show comes with it
    std::wstring message;
    for (HWND h : children_front_to_back(box))
        if (class_name(h) == L"Static" && !window_text(h).empty()) message = window_text(h);
    report.check(!message.empty(), cat("it says \"", utf8(message), "\" (titled \"", utf8(window_text(box)), "\")"));
    report.check(top_level_windows(app->pid(), kMainClass, true).empty(), "no main window is shown");

    if (GetForegroundWindow() != box) SetForegroundWindow(box);
    press(VK_RETURN);
    const auto code = app->wait_exit(kReactMs);
    report.check(code == 0xFFFFFFFFu, cat("acknowledged with Enter, the program exits with 0xFFFFFFFF (",
                                          code ? hex(*code) : std::string("still running"), ")"));
}

}  // namespace e2e
