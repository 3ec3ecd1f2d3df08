// Measures the program (A) against the reference host (B), a bare window with the same
// WebBrowser control, in one Wine session with the local delivery node:
//
//     bench_driver --program EXE --reference EXE --urls FILE --node-log FILE
//                  [--x86 EXE] [--x64 EXE] [--runs N] [--startup-runs N] [--idle-ms N]
//     bench_driver --program EXE --baseline EXE --urls FILE --node-log FILE [...]
//
// With --baseline, B is another build of the program instead of the reference host, driven
// exactly as A is: a change to the program is measured against the build before it, side by
// side in one invocation. The goals do not apply to such a comparison and are not judged.
//
// Every run starts a fresh process. A and B take turns (A B, then B A, and so on, so
// neither always goes first), and each figure is the median over the runs, its ratio the
// median of the ratios pair by pair. Start-up varies most from run to run, so after the
// full pairs come --startup-runs more pairs that only time the start-up, each process
// closed as soon as it is up; the start-up figure is taken over all of them. Prints each run
// as it goes, then the table. The figures are reported, not judged: the exit code only says
// whether measuring worked.
#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "tests/e2e/input.h"
#include "tests/e2e/screen.h"
#include "tests/e2e/wait.h"
#include "tools/bench/node_log.h"
#include "tools/bench/program_ui.h"
#include "tools/bench/readiness.h"
#include "tools/bench/stats.h"
#include "tools/bench/unix_process.h"
#include "tools/bench/watched_process.h"

namespace bench {
namespace {

// The goals the figures are held against.
constexpr double kStartupRatioGoal = 1.05;
constexpr double kNavigationRatioGoal = 1.10;
constexpr double kMemoryRatioGoal = 1.05;
constexpr double kIdleGoalMs = 10;
constexpr std::uint64_t kSizeGoalX86 = 256 * 1024;

// Wine brings up its desktop and services with the first windows of a session; those
// costs are nobody's start-up.
constexpr DWORD kStartTimeoutMs = 30000;
// Left alone this long after coming up before the idle time is taken, and after the
// request before the working set counts as settled.
constexpr DWORD kSettleMs = 2000;
constexpr DWORD kRequestTimeoutMs = 10000;

struct Options {
    std::wstring program, reference, baseline, urls, node_log, x86, x64;
    int runs = 10;
    int startup_runs = 0;
    DWORD idle_ms = 10000;
};

enum class Subject { kProgram, kReference };

struct Run {
    std::optional<double> startup_ms, navigation_ms, idle_ms, idle_run_time_ms, settled_kib, peak_kib;
    std::string problems;  // empty when everything could be measured
};

std::string narrow(std::wstring_view text) {
    std::string out;
    for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

std::wstring widen(std::string_view text) { return std::wstring(text.begin(), text.end()); }

std::optional<std::uint64_t> file_size(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

class Bench {
public:
    Bench(const Options& options, std::vector<Endpoint> endpoints, std::uint32_t desktop)
        : options_(options), endpoints_(std::move(endpoints)), log_(options.node_log), desktop_(desktop) {}

    void set_desktop(std::uint32_t desktop) { desktop_ = desktop; }

    Run measure(Subject subject, size_t episode) {
        Run run;
        const bool program = driven_as_program(subject);
        auto problem = [&](const std::string& what) {
            add_problem(run, what);
            return run;
        };
        const auto [process, ready] = start(subject, episode, run);
        if (!ready) return run;

        measure_idle(*process, exe_of(subject), run);
        if (!measure_navigation(*process, *ready, program, episode, run)) {
            process->end(5000);
            return run;
        }

        Sleep(kSettleMs);
        if (const auto memory = process->memory()) {
            run.settled_kib = static_cast<double>(memory->working_set) / 1024;
            run.peak_kib = static_cast<double>(memory->peak_working_set) / 1024;
        } else {
            problem("no memory figures");
        }
        if (process->end(5000) == Ending::kTerminated) problem("did not close when asked, terminated");
        return run;
    }

    // Only the start-up: the process is closed as soon as it is up.
    Run measure_startup(Subject subject, size_t episode) {
        Run run;
        const Started started = start(subject, episode, run);
        if (started.process && started.process->end(5000) == Ending::kTerminated)
            add_problem(run, "did not close when asked, terminated");
        return run;
    }

private:
    struct Started {
        std::unique_ptr<WatchedProcess> process;  // null when it could not be started
        std::optional<Ready> ready;               // empty when it did not come up
    };

    // B is driven as the program when it is a baseline build of it.
    bool driven_as_program(Subject subject) const {
        return subject == Subject::kProgram || !options_.baseline.empty();
    }
    const std::wstring& exe_of(Subject subject) const {
        if (subject == Subject::kProgram) return options_.program;
        return options_.baseline.empty() ? options_.reference : options_.baseline;
    }

    static void add_problem(Run& run, const std::string& what) {
        run.problems += (run.problems.empty() ? "" : "; ") + what;
    }

    // Starts a fresh process once the last one's window has gone and times it until it is
    // up, noting in `run` what went wrong.
    Started start(Subject subject, size_t episode, Run& run) {
        if (!wait_desktop_clear(desktop_, 10000)) {
            add_problem(run, "the desktop did not clear after the last run");
            return {};
        }
        const bool program = driven_as_program(subject);
        const std::wstring args = program ? L"" : L"\"" + widen(endpoints_[episode].url) + L"\"";
        std::wstring error;
        const LONGLONG started = qpc_now();
        Started result{WatchedProcess::start(exe_of(subject), args, program ? kProgramClass : kReferenceClass, error),
                       std::nullopt};
        if (!result.process) {
            add_problem(run, narrow(error));
            return result;
        }
        result.ready = wait_ready(*result.process, desktop_, started, kStartTimeoutMs);
        if (result.ready)
            run.startup_ms = result.ready->ms;
        else
            add_problem(run, result.process->running() ? "did not come up" : "ended while starting");
        return result;
    }

    void measure_idle(const WatchedProcess& process, const std::wstring& exe, Run& run) {
        Sleep(kSettleMs);
        const auto unix_pid = find_unix_process(exe);
        auto read_run_time = [&](std::uint64_t& ns) {
            const auto value = unix_pid ? unix_cpu_ns(*unix_pid) : std::nullopt;
            if (value) ns = *value;
            return value.has_value();
        };
        // The finer window encloses the coarser one, so whatever one counts the other saw too.
        std::uint64_t ns_before = 0, ns_after = 0;
        const bool have_before = read_run_time(ns_before);
        const auto cpu_before = process.cpu_time();
        Sleep(options_.idle_ms);
        const auto cpu_after = process.cpu_time();
        const bool have_after = read_run_time(ns_after);
        if (cpu_before && cpu_after) run.idle_ms = static_cast<double>(*cpu_after - *cpu_before) / 1e4;
        // A thread that ended meanwhile takes its time with it; such a run says nothing.
        if (have_before && have_after && ns_after >= ns_before)
            run.idle_run_time_ms = static_cast<double>(ns_after - ns_before) / 1e6;
    }

    // From the key press that accepts the episode to the node logging the request.
    bool measure_navigation(const WatchedProcess& process, const Ready& ready, bool program, size_t episode,
                            Run& run) {
        auto problem = [&](const std::string& what) {
            run.problems += (run.problems.empty() ? "" : "; ") + what;
            return false;
        };
        std::optional<ProgramWindows> controls;
        if (program) {
            controls = find_controls(ready.main);
            if (!controls) return problem("controls not found");
            if (!open_list(*controls, process.pid())) return problem("the list did not drop down");
            if (!highlight_entry(*controls, static_cast<int>(episode))) return problem("the entry was not highlighted");
        } else if (!e2e::wait_until([&] { return GetForegroundWindow() == ready.main; }, 5000)) {
            return problem("the window is not in the foreground");
        }

        const size_t mark = log_.refresh().size();
        const std::uint64_t pressed = utc_now();
        e2e::press(VK_RETURN);
        std::optional<LoggedRequest> arrived;
        e2e::wait_until([&] {
            const auto& requests = log_.refresh();
            for (size_t i = mark; i < requests.size() && !arrived; ++i)
                if (endpoint_of(requests[i], endpoints_) == episode) arrived = requests[i];
            return arrived.has_value();
        }, kRequestTimeoutMs, 2);
        if (!arrived) return problem("no request reached the node");
        if (!arrived->time) return problem("the node logged a time that cannot be read");
        run.navigation_ms = (static_cast<double>(*arrived->time) - static_cast<double>(pressed)) / 1e4;
        if (controls && !e2e::wait_until([&] { return !cover_visible(*controls); }, kStepTimeoutMs))
            problem("the cover stayed");
        return true;
    }

    const Options& options_;
    std::vector<Endpoint> endpoints_;
    NodeLog log_;
    std::uint32_t desktop_;
};

std::string format(std::optional<double> v, const char* pattern) {
    if (!v) return "-";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, pattern, *v);
    return buffer;
}

void print_run(const char* name, const Run& r) {
    std::printf("    %s start-up %s ms, navigation %s ms, idle %s ms (run time %s ms), working set %s / peak %s KiB",
                name, format(r.startup_ms, "%.1f").c_str(), format(r.navigation_ms, "%.1f").c_str(),
                format(r.idle_ms, "%.0f").c_str(), format(r.idle_run_time_ms, "%.2f").c_str(),
                format(r.settled_kib, "%.0f").c_str(), format(r.peak_kib, "%.0f").c_str());
    if (!r.problems.empty()) std::printf("  [%s]", r.problems.c_str());
    std::printf("\n");
    std::fflush(stdout);
}

struct Series {
    std::vector<std::optional<double>> a, b;
};

void print_row(const char* label, const std::string& a, const std::string& b, const std::string& ratio,
               const std::string& goal, const char* verdict) {
    std::printf("| %-32s | %10s | %10s | %6s | %-20s | %-6s |\n", label, a.c_str(), b.c_str(), ratio.c_str(),
                goal.c_str(), verdict);
}

// A row whose goal is a bound on the median ratio A/B; not judged when B is not the
// reference host.
void ratio_row(const char* label, const Series& s, const char* pattern, double goal, bool judged) {
    const auto ratio = median(pair_ratios(s.a, s.b));
    char goal_text[32];
    std::snprintf(goal_text, sizeof goal_text, "A/B <= %.2f", goal);
    print_row(label, format(median(present(s.a)), pattern), format(median(present(s.b)), pattern), format(ratio, "%.2f"),
              judged ? goal_text : "-", !judged || !ratio ? "-" : *ratio <= goal ? "met" : "missed");
}

// One pair of runs: A first in even pairs, B first in odd ones, so neither always goes first.
template <class Measure>
std::pair<Run, Run> measure_pair(int pair, Measure measure) {
    Run a, b;
    if (pair % 2 == 0) {
        a = measure(Subject::kProgram);
        b = measure(Subject::kReference);
    } else {
        b = measure(Subject::kReference);
        a = measure(Subject::kProgram);
    }
    return {std::move(a), std::move(b)};
}

int usage() {
    std::fprintf(stderr,
                 "usage: bench_driver --program EXE (--reference EXE | --baseline EXE) --urls FILE "
                 "--node-log FILE [--x86 EXE] [--x64 EXE] [--runs N] [--startup-runs N] [--idle-ms N]\n");
    return 2;
}

}  // namespace
}  // namespace bench

int wmain(int argc, wchar_t** argv) {
    using namespace bench;
    Options options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return usage();
        const std::wstring_view flag = argv[i];
        const std::wstring value = argv[i + 1];
        if (flag == L"--program") options.program = value;
        else if (flag == L"--reference") options.reference = value;
        else if (flag == L"--baseline") options.baseline = value;
        else if (flag == L"--urls") options.urls = value;
        else if (flag == L"--node-log") options.node_log = value;
        else if (flag == L"--x86") options.x86 = value;
        else if (flag == L"--x64") options.x64 = value;
        else if (flag == L"--runs") options.runs = _wtoi(value.c_str());
        else if (flag == L"--startup-runs") options.startup_runs = _wtoi(value.c_str());
        else if (flag == L"--idle-ms") options.idle_ms = static_cast<DWORD>(_wtoi(value.c_str()));
        else return usage();
    }
    // Exactly one B; a comparison of two builds may time the start-up alone.
    if (options.program.empty() || options.reference.empty() == options.baseline.empty() || options.urls.empty() ||
        options.node_log.empty() || options.runs < 0 || options.startup_runs < 0 ||
        options.runs + options.startup_runs < 1 || (options.runs < 1 && options.baseline.empty()))
        return usage();
    const bool judged = options.baseline.empty();
    std::vector<Endpoint> endpoints = read_endpoints(options.urls);
    if (endpoints.empty()) {
        std::fprintf(stderr, "bench_driver: no episode addresses in %ls\n", options.urls.c_str());
        return 1;
    }

    const auto first_look = settled_desktop_colour(10000);
    if (!first_look) {
        std::fprintf(stderr, "bench_driver: the screen cannot be read\n");
        return 1;
    }
    Bench bench(options, endpoints, *first_look);

    // One run of each first, not counted: the session's first windows also start Wine's
    // own desktop and services.
    std::printf("warm-up\n");
    print_run("A", bench.measure(Subject::kProgram, 0));
    print_run("B", bench.measure(Subject::kReference, 0));
    const auto desktop = settled_desktop_colour(10000);
    if (!desktop) {
        std::fprintf(stderr, "bench_driver: the desktop does not settle\n");
        return 1;
    }
    bench.set_desktop(*desktop);
    std::printf("desktop colour #%06X (system colour #%06X)\n", static_cast<unsigned>(*desktop),
                static_cast<unsigned>(e2e::to_rgb(GetSysColor(COLOR_DESKTOP))));

    Series startup, navigation, idle, idle_run_time, settled, peak;
    auto keep = [](Series& s, const Run& a, const Run& b, std::optional<double> Run::*field) {
        s.a.push_back(a.*field);
        s.b.push_back(b.*field);
    };
    int complete = 0;
    for (int pair = 0; pair < options.runs; ++pair) {
        const size_t episode = static_cast<size_t>(pair) % endpoints.size();
        std::printf("pair %d (episode %zu)\n", pair + 1, episode + 1);
        const auto [a, b] = measure_pair(pair, [&](Subject s) { return bench.measure(s, episode); });
        print_run("A", a);
        print_run("B", b);
        if (a.problems.empty() && b.problems.empty()) ++complete;
        keep(startup, a, b, &Run::startup_ms);
        keep(navigation, a, b, &Run::navigation_ms);
        keep(idle, a, b, &Run::idle_ms);
        keep(idle_run_time, a, b, &Run::idle_run_time_ms);
        keep(settled, a, b, &Run::settled_kib);
        keep(peak, a, b, &Run::peak_kib);
    }

    if (options.startup_runs > 0) std::printf("start-up only\n");
    int startup_complete = 0;
    for (int pair = 0; pair < options.startup_runs; ++pair) {
        const size_t episode = static_cast<size_t>(pair) % endpoints.size();
        const auto [a, b] = measure_pair(pair, [&](Subject s) { return bench.measure_startup(s, episode); });
        std::printf("    pair %d: A %s ms, B %s ms", options.runs + pair + 1, format(a.startup_ms, "%.1f").c_str(),
                    format(b.startup_ms, "%.1f").c_str());
        if (!a.problems.empty()) std::printf("  [A: %s]", a.problems.c_str());
        if (!b.problems.empty()) std::printf("  [B: %s]", b.problems.c_str());
        std::printf("\n");
        std::fflush(stdout);
        if (a.problems.empty() && b.problems.empty()) ++startup_complete;
        keep(startup, a, b, &Run::startup_ms);
    }

    std::printf("\nA = %ls\nB = %ls%s\n", options.program.c_str(),
                judged ? options.reference.c_str() : options.baseline.c_str(),
                judged ? "" : " (a baseline build of the program, driven as A; the goals do not apply)");
    std::printf("%d pairs (%d complete), medians; A/B is the median of the pairs' ratios\n", options.runs, complete);
    if (options.startup_runs > 0)
        std::printf("start-up over those and %d more start-up-only pairs (%d complete)\n", options.startup_runs,
                    startup_complete);
    std::printf("\n");
    print_row("figure", "A", "B", "A/B", "goal", "");
    std::printf("|%s|%s|%s|%s|%s|%s|\n", std::string(34, '-').c_str(), std::string(12, '-').c_str(),
                std::string(12, '-').c_str(), std::string(8, '-').c_str(), std::string(22, '-').c_str(),
                std::string(8, '-').c_str());
    ratio_row("start-up (ms)", startup, "%.1f", kStartupRatioGoal, judged);
    ratio_row("navigation (ms)", navigation, "%.1f", kNavigationRatioGoal, judged);
    ratio_row("working set, peak (KiB)", peak, "%.0f", kMemoryRatioGoal, judged);
    ratio_row("working set, settled (KiB)", settled, "%.0f", kMemoryRatioGoal, judged);

    char idle_label[64];
    std::snprintf(idle_label, sizeof idle_label, "idle CPU in %g s (ms)", options.idle_ms / 1000.0);
    const auto idle_a = median(present(idle.a));
    print_row(idle_label, format(idle_a, "%.0f"), format(median(present(idle.b)), "%.0f"), "-", "A <= 10 ms",
              !idle_a ? "-" : *idle_a <= kIdleGoalMs ? "met" : "missed");
    std::snprintf(idle_label, sizeof idle_label, "idle run time in %g s (ms)", options.idle_ms / 1000.0);
    const auto run_time_a = median(present(idle_run_time.a));
    print_row(idle_label, format(run_time_a, "%.2f"), format(median(present(idle_run_time.b)), "%.2f"), "-",
              "A <= 10 ms", !run_time_a ? "-" : *run_time_a <= kIdleGoalMs ? "met" : "missed");

    const auto x86 = file_size(options.x86);
    const auto x64 = file_size(options.x64);
    auto bytes = [](std::optional<std::uint64_t> v) { return v ? std::to_string(*v) : std::string("-"); };
    print_row("size, x86 exe (bytes)", bytes(x86), "-", "-", "<= 262144 (256 KiB)",
              !x86 ? "-" : *x86 <= kSizeGoalX86 ? "met" : "missed");
    print_row("size, x64 exe (bytes)", bytes(x64), "-", "-", "-", "");

    std::printf("\nStart-up: CreateProcess to the main window shown, a focus window on its thread and the middle\n"
                "of its client area no longer the desktop's colour. Navigation: Enter accepting the episode (%s)\n"
                "to the request in the node's log (microsecond clock).\n"
                "Working set: GetProcessMemoryInfo, which Wine fills from the Linux process's VmRSS/VmHWM; settled\n"
                "= %u ms after the request. Idle CPU: GetProcessTimes (Wine counts 10 ms scheduler ticks) and,\n"
                "finer, the Linux threads' run time from /proc/PID/task/*/schedstat, %u ms after coming up.\n",
                judged ? "A: in the dropped list; B: the host's own Navigate" : "in the dropped list",
                static_cast<unsigned>(kSettleMs), static_cast<unsigned>(kSettleMs));
    return complete > 0 || (options.runs == 0 && startup_complete > 0) ? 0 : 1;
}
