// The scenarios the driver runs, each against a fresh start of the program.
#pragma once

#include <memory>
#include <string>

#include "tests/e2e/app.h"
#include "tests/e2e/report.h"

namespace e2e {

struct Options {
    std::wstring app;       // the program's exe
    std::wstring node_log;  // the delivery node's request log
    std::wstring urls;      // the episode addresses, one a line
    std::wstring cover;     // the cover picture as shipped
    std::wstring shots;     // where screen shots go, if anywhere
};

// Starts the program and waits until it is ready for input; null when it is not.
std::unique_ptr<App> start_ready(const Options& options, Report& report);

void run_layout(const Options& options, Report& report);
void run_keys(const Options& options, Report& report);
void run_minimise(const Options& options, Report& report);

void run_close_button(const Options& options, Report& report);
void run_alt_f4(const Options& options, Report& report);
void run_system_menu(const Options& options, Report& report);
void run_escape(const Options& options, Report& report);
void run_escape_list_open(const Options& options, Report& report);
void run_fatal(const Options& options, Report& report);

void run_choose_each(const Options& options, Report& report);
void run_choose_same_again(const Options& options, Report& report);
void run_open_close_no_choice(const Options& options, Report& report);
void run_back_before_choice(const Options& options, Report& report);
void run_cover_press(const Options& options, Report& report);
void run_browser_view_tab(const Options& options, Report& report);
void run_escape_from_browser_view(const Options& options, Report& report);

}  // namespace e2e
