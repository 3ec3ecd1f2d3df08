#include "tools/bench/program_ui.h"

#include "tests/e2e/input.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/wait.h"

namespace bench {

namespace {
// Polled this often: a step's own reaction is what is being waited for, and a long step
// would stretch every cycle of a long run.
constexpr DWORD kPollMs = 5;
}  // namespace

std::optional<ProgramWindows> find_controls(HWND main) {
    ProgramWindows w;
    w.main = main;
    w.cover = GetDlgItem(main, static_cast<int>(ui::kCover));
    w.list = w.cover ? GetDlgItem(w.cover, static_cast<int>(ui::kEpisodeList)) : nullptr;
    w.button = GetDlgItem(main, static_cast<int>(ui::kBackButton));
    w.browser = GetDlgItem(main, static_cast<int>(ui::kBrowserView));
    if (!w.cover || !w.list || !w.button || !w.browser) return std::nullopt;
    return w;
}

bool cover_visible(const ProgramWindows& w) { return IsWindowVisible(w.cover) != FALSE; }

bool list_dropped(const ProgramWindows& w, DWORD pid) {
    const auto state = e2e::send(w.list, CB_GETDROPPEDSTATE);
    return state && *state == TRUE && e2e::dropped_list(pid);
}

bool open_list(const ProgramWindows& w, DWORD pid) {
    e2e::click(e2e::centre(e2e::screen_rect(w.list)));
    return e2e::wait_until([&] { return list_dropped(w, pid); }, kStepTimeoutMs, kPollMs);
}

bool highlight_entry(const ProgramWindows& w, int index) {
    e2e::press(VK_HOME);
    for (int i = 0; i < index; ++i) e2e::press(VK_DOWN);
    return e2e::wait_until([&] { return e2e::send(w.list, CB_GETCURSEL) == index; }, kStepTimeoutMs, kPollMs);
}

bool choose_by_click(const ProgramWindows& w, DWORD pid, int index) {
    if (!open_list(w, pid)) return false;
    const HWND popup = e2e::dropped_list(pid);
    const auto height = e2e::send(w.list, CB_GETITEMHEIGHT, 0);
    if (!popup || !height || *height <= 0) return false;
    // The entries start at the top of the dropped list's client area.
    const RECT area = e2e::client_screen_rect(popup);
    const int entry_height = static_cast<int>(*height);
    e2e::click({(area.left + area.right) / 2, area.top + index * entry_height + entry_height / 2});
    return e2e::wait_until([&] { return !cover_visible(w) && !list_dropped(w, pid); }, kStepTimeoutMs, kPollMs);
}

bool go_back(const ProgramWindows& w) {
    e2e::click(e2e::centre(e2e::screen_rect(w.button)));
    return e2e::wait_until([&] { return cover_visible(w); }, kStepTimeoutMs, kPollMs);
}

}  // namespace bench
