// Soak run: one program process chooses an episode and goes back, cycle after cycle, with
// real mouse input, while its memory and its object counts are sampled.
//
//     soak_driver --program EXE --urls FILE --node-log FILE --cycles N --every K
//
// Cycle c chooses entry c mod 3. Passes when the program never ended or failed to take a
// step, every choice reached its node (the request is seen in the node's log before the
// cycle goes on), and from the sample after the first K cycles to the last one the working
// set grew by at most 2% and the window and GUI object counts did not grow. Prints the
// samples and ends with `PASS` or `FAIL: reasons`.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/e2e/probe.h"
#include "tests/e2e/wait.h"
#include "tools/bench/node_log.h"
#include "tools/bench/program_ui.h"
#include "tools/bench/readiness.h"
#include "tools/bench/watched_process.h"

namespace {

using namespace bench;

constexpr double kMemoryGrowthLimit = 0.02;
constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kRequestTimeoutMs = 5000;

struct Options {
    std::wstring program, urls, node_log;
    int cycles = 0;
    int every = 0;
};

struct Sample {
    int cycle = 0;
    double seconds = 0;  // since the first cycle began
    std::uint64_t working_set = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    int windows = 0;  // the program's windows, top-level and child
};

BOOL CALLBACK count_child(HWND, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int count_windows(DWORD pid) {
    int count = 0;
    for (HWND top : e2e::top_level_windows(pid)) {
        ++count;
        EnumChildWindows(top, &count_child, reinterpret_cast<LPARAM>(&count));
    }
    return count;
}

class Soak {
public:
    Soak(const Options& options, std::vector<Endpoint> endpoints)
        : options_(options), endpoints_(std::move(endpoints)), log_(options.node_log),
          counts_(endpoints_.size(), 0), choices_(endpoints_.size(), 0) {}

    // Runs the cycles; false (with the reason in `failures_`) when a cycle could not be
    // completed.
    bool run() {
        const auto desktop = settled_desktop_colour(10000);
        if (!desktop) return fail("the screen cannot be read");
        std::wstring error;
        const LONGLONG started = qpc_now();
        process_ = WatchedProcess::start(options_.program, L"", kProgramClass, error);
        if (!process_) return fail(narrow(error));
        const auto ready = wait_ready(*process_, *desktop, started, kStartTimeoutMs);
        if (!ready) return fail("the program did not come up");
        const auto controls = find_controls(ready->main);
        if (!controls) return fail("the program's controls are not where they belong");
        std::printf("the program is up after %.0f ms; %d cycles, sampled every %d\n", ready->ms, options_.cycles,
                    options_.every);

        begin_ = qpc_now();
        take_sample(0);
        for (int cycle = 1; cycle <= options_.cycles; ++cycle) {
            if (!one_cycle(*controls, cycle)) return false;
            if (cycle % options_.every == 0 || cycle == options_.cycles) take_sample(cycle);
        }
        return true;
    }

    // Ends the program; a close request must end it normally.
    void finish() {
        if (!process_) return;
        if (!process_->running()) {
            // A cycle that saw it go has said so already.
            const auto code = process_->exit_code();
            if (failures_.empty())
                fail("the program ended by itself" + (code ? ", exit code " + std::to_string(*code) : ""));
            return;
        }
        const Ending ending = process_->end(5000);
        const auto code = process_->exit_code();
        if (ending == Ending::kTerminated)
            fail("the program did not close when asked and was terminated");
        else if (code && *code != 0)
            fail("the program closed with exit code " + std::to_string(*code));
    }

    // Prints the samples; with `completed`, also holds them to the criteria.
    void judge(bool completed) {
        const int every = options_.every;
        std::printf("\n| cycle | time (s) | working set (KiB) | windows | GDI | USER |\n");
        std::printf("|------:|---------:|------------------:|--------:|----:|-----:|\n");
        for (const Sample& s : samples_)
            std::printf("| %5d | %8.1f | %17llu | %7d | %3lu | %4lu |\n", s.cycle, s.seconds,
                        static_cast<unsigned long long>(s.working_set / 1024), s.windows, s.gdi, s.user);

        if (!completed) return;

        std::printf("\nrequests per episode (choices):");
        for (size_t i = 0; i < endpoints_.size(); ++i) std::printf(" %d (%d)", counts_[i], choices_[i]);
        std::printf("\n");
        for (size_t i = 0; i < endpoints_.size(); ++i)
            if (counts_[i] < choices_[i])
                fail("episode " + std::to_string(i + 1) + " was chosen " + std::to_string(choices_[i]) +
                     " times but requested " + std::to_string(counts_[i]) + " times");

        const Sample* baseline = nullptr;
        for (const Sample& s : samples_)
            if (s.cycle == every) baseline = &s;
        if (!baseline || samples_.back().cycle <= every) {
            std::printf("too few cycles to compare anything with the sample after cycle %d\n", every);
            return;
        }
        const Sample& last = samples_.back();
        const double growth = static_cast<double>(last.working_set) / static_cast<double>(baseline->working_set) - 1;
        std::printf("working set from cycle %d to %d: %+.2f%% (limit +%.0f%%)\n", baseline->cycle, last.cycle,
                    growth * 100, kMemoryGrowthLimit * 100);
        if (growth > kMemoryGrowthLimit) fail("the working set grew by more than 2% after the first cycles");

        bool reported = false;
        for (const Sample& s : samples_) {
            if (s.cycle <= every) continue;
            if (s.windows > baseline->windows)
                fail("the program's windows grew from " + std::to_string(baseline->windows) + " to " +
                     std::to_string(s.windows) + " by cycle " + std::to_string(s.cycle));
            if (s.gdi > baseline->gdi || s.user > baseline->user) {
                if (!reported) fail("GUI object counts grew by cycle " + std::to_string(s.cycle));
                reported = true;
            }
        }
        bool any_objects = false;
        for (const Sample& s : samples_) any_objects = any_objects || s.gdi != 0 || s.user != 0;
        if (!any_objects)
            std::printf("GetGuiResources reports 0 GDI and 0 USER objects here (Wine does not count them): "
                        "that criterion is skipped; the window count stands in for leaked USER objects\n");
    }

    int verdict() const {
        if (failures_.empty()) {
            std::printf("PASS\n");
            return 0;
        }
        std::printf("FAIL: %s\n", failures_.c_str());
        return 1;
    }

private:
    static std::string narrow(std::wstring_view text) {
        std::string out;
        for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
        return out;
    }

    bool fail(const std::string& why) {
        failures_ += (failures_.empty() ? "" : "; ") + why;
        return false;
    }

    // Counts the requests logged since the last look, per episode.
    void tally() {
        const auto& requests = log_.refresh();
        for (; seen_ < requests.size(); ++seen_)
            if (const auto episode = endpoint_of(requests[seen_], endpoints_)) ++counts_[*episode];
    }

    bool one_cycle(const ProgramWindows& w, int cycle) {
        const size_t episode = static_cast<size_t>(cycle - 1) % endpoints_.size();
        const std::string where = "cycle " + std::to_string(cycle) + ", episode " + std::to_string(episode + 1) + ": ";
        tally();
        const int before = counts_[episode];
        ++choices_[episode];
        if (!choose_by_click(w, process_->pid(), static_cast<int>(episode)))
            return stopped(where + "the choice was not taken (cover still shown or list still open)");
        if (!e2e::wait_until([&] { tally(); return counts_[episode] > before; }, kRequestTimeoutMs, 5))
            return stopped(where + "no request reached the node");
        if (!go_back(w)) return stopped(where + "the back button did not bring the cover back");
        if (!process_->running()) return stopped(where + "the program ended");
        return true;
    }

    // A step failed: says whether the program is still there, which tells a crash from a
    // missed step.
    bool stopped(const std::string& why) {
        const auto code = process_->exit_code();
        return fail(why + (code ? " (the program has ended, exit code " + std::to_string(*code) + ")" : ""));
    }

    void take_sample(int cycle) {
        Sample s;
        s.cycle = cycle;
        s.seconds = elapsed_ms(begin_, qpc_now()) / 1000;
        if (const auto memory = process_->memory()) s.working_set = memory->working_set;
        // GetGuiResources wants a handle; the watched process keeps its own private.
        if (const Handle h(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process_->pid())); h) {
            s.gdi = GetGuiResources(h.get(), GR_GDIOBJECTS);
            s.user = GetGuiResources(h.get(), GR_USEROBJECTS);
        }
        s.windows = count_windows(process_->pid());
        samples_.push_back(s);
        std::printf("cycle %5d  %7.1f s  working set %llu KiB  windows %d  GDI %lu  USER %lu\n", s.cycle, s.seconds,
                    static_cast<unsigned long long>(s.working_set / 1024), s.windows, s.gdi, s.user);
        std::fflush(stdout);
    }

    const Options& options_;
    std::vector<Endpoint> endpoints_;
    NodeLog log_;
    size_t seen_ = 0;
    std::vector<int> counts_;   // requests logged per episode
    std::vector<int> choices_;  // choices made per episode
    std::unique_ptr<WatchedProcess> process_;
    LONGLONG begin_ = 0;
    std::vector<Sample> samples_;
    std::string failures_;
};

int usage() {
    std::fprintf(stderr, "usage: soak_driver --program EXE --urls FILE --node-log FILE --cycles N --every K\n");
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    for (int i = 1; i < argc; i += 2) {
        if (i + 1 >= argc) return usage();
        const std::wstring_view flag = argv[i];
        const std::wstring value = argv[i + 1];
        if (flag == L"--program") options.program = value;
        else if (flag == L"--urls") options.urls = value;
        else if (flag == L"--node-log") options.node_log = value;
        else if (flag == L"--cycles") options.cycles = _wtoi(value.c_str());
        else if (flag == L"--every") options.every = _wtoi(value.c_str());
        else return usage();
    }
    if (options.program.empty() || options.urls.empty() || options.node_log.empty() || options.cycles < 1 ||
        options.every < 1)
        return usage();
    auto endpoints = read_endpoints(options.urls);
    if (endpoints.empty()) {
        std::printf("FAIL: no episode addresses in the address list\n");
        return 1;
    }

    Soak soak(options, std::move(endpoints));
    const bool completed = soak.run();
    soak.finish();
    soak.judge(completed);
    return soak.verdict();
}
