// End-to-end driver: starts the program, gives it real mouse and keyboard input and
// checks what it shows and does from outside, one scenario per run.
//
//     e2e_driver SCENARIO APP_EXE [--node-log WINPATH] [--urls WINPATH] [--cover WINPATH] [--shots DIR]
//
// Prints each check and ends with `PASS` or `FAIL: reason`; exits 0 only on PASS.
#include <cstdio>
#include <cwchar>
#include <string_view>

#include "tests/e2e/scenarios.h"

namespace {

struct Scenario {
    const wchar_t* name;
    void (*run)(const e2e::Options&, e2e::Report&);
};

constexpr Scenario kScenarios[] = {
    {L"layout", e2e::run_layout},
    {L"keys", e2e::run_keys},
    {L"minimise", e2e::run_minimise},
    {L"close_button", e2e::run_close_button},
    {L"alt_f4", e2e::run_alt_f4},
    {L"system_menu", e2e::run_system_menu},
    {L"escape", e2e::run_escape},
    {L"escape_list_open", e2e::run_escape_list_open},
    {L"fatal", e2e::run_fatal},
    {L"choose_each", e2e::run_choose_each},
    {L"choose_same_again", e2e::run_choose_same_again},
    {L"open_close_no_choice", e2e::run_open_close_no_choice},
    {L"back_before_choice", e2e::run_back_before_choice},
    {L"cover_press", e2e::run_cover_press},
    {L"browser_view_tab", e2e::run_browser_view_tab},
    {L"escape_from_browser_view", e2e::run_escape_from_browser_view},
};

int usage() {
    std::fprintf(stderr,
                 "usage: e2e_driver SCENARIO APP_EXE [--node-log WINPATH] [--urls WINPATH] [--cover WINPATH] "
                 "[--shots DIR]\nscenarios:");
    for (const Scenario& s : kScenarios) std::fprintf(stderr, " %ls", s.name);
    std::fprintf(stderr, "\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return usage();
    e2e::Options options;
    options.app = argv[2];
    for (int i = 3; i < argc; i += 2) {
        const std::wstring_view flag = argv[i];
        if (i + 1 >= argc) return usage();
        if (flag == L"--node-log") options.node_log = argv[i + 1];
        else if (flag == L"--urls") options.urls = argv[i + 1];
        else if (flag == L"--cover") options.cover = argv[i + 1];
        else if (flag == L"--shots") options.shots = argv[i + 1];
        else return usage();
    }
    for (const Scenario& s : kScenarios) {
        if (std::wcscmp(s.name, argv[1]) != 0) continue;
        e2e::Report report;
        report.note(e2e::cat("scenario ", e2e::utf8(s.name), ": ", e2e::utf8(options.app)));
        s.run(options, report);
        return report.finish();
    }
    return usage();
}

namespace e2e {

std::unique_ptr<App> start_ready(const Options& options, Report& report) {
    auto app = App::start(options.app, report);
    if (app && !app->wait_ready(report)) return nullptr;
    return app;
}

}  // namespace e2e
