#include "tests/e2e/probe.h"

namespace e2e {

std::wstring class_name(HWND hwnd) {
    wchar_t buffer[256] = {};
    const int n = GetClassNameW(hwnd, buffer, 256);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

std::wstring window_text(HWND hwnd) {
    // For another process's window this reads the text the system keeps for it, so a
    // busy program cannot stall the driver.
    wchar_t buffer[512] = {};
    const int n = GetWindowTextW(hwnd, buffer, 512);
    return std::wstring(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

RECT screen_rect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

RECT rect_in_parent(HWND hwnd) {
    RECT r = screen_rect(hwnd);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT client_screen_rect(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, HWND_DESKTOP, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

POINT centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

bool contains(const RECT& r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

bool same_rect(const RECT& a, int left, int top, int width, int height) {
    return a.left == left && a.top == top && a.right - a.left == width && a.bottom - a.top == height;
}

std::vector<HWND> children_front_to_back(HWND parent) {
    std::vector<HWND> out;
    for (HWND h = GetWindow(parent, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) out.push_back(h);
    return out;
}

int position(const std::vector<HWND>& order, HWND hwnd) {
    for (size_t i = 0; i < order.size(); ++i)
        if (order[i] == hwnd) return static_cast<int>(i);
    return -1;
}

namespace {
GUITHREADINFO thread_info(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(thread, &info)) return GUITHREADINFO{};
    return info;
}
}  // namespace

HWND focus_of_thread(DWORD thread) { return thread_info(thread).hwndFocus; }
HWND active_of_thread(DWORD thread) { return thread_info(thread).hwndActive; }

bool is_within(HWND hwnd, HWND ancestor) {
    return hwnd && ancestor && (hwnd == ancestor || IsChild(ancestor, hwnd));
}

namespace {
struct EnumRequest {
    DWORD process;
    const wchar_t* cls;
    bool visible_only;
    std::vector<HWND> found;
};

BOOL CALLBACK collect(HWND hwnd, LPARAM lp) {
    auto& request = *reinterpret_cast<EnumRequest*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (request.process && pid != request.process) return TRUE;
    if (request.visible_only && !IsWindowVisible(hwnd)) return TRUE;
    if (request.cls && class_name(hwnd) != request.cls) return TRUE;
    request.found.push_back(hwnd);
    return TRUE;
}
}  // namespace

std::vector<HWND> top_level_windows(DWORD process, const wchar_t* cls, bool visible_only) {
    EnumRequest request{process, cls, visible_only, {}};
    EnumWindows(&collect, reinterpret_cast<LPARAM>(&request));
    return request.found;
}

std::optional<LRESULT> send(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(hwnd, msg, wp, lp, SMTO_ABORTIFHUNG, 2000, &result)) return std::nullopt;
    return static_cast<LRESULT>(result);
}

ComboState combo_state(HWND combo) {
    ComboState s;
    auto value = [&](UINT msg, WPARAM wp = 0) {
        const auto r = send(combo, msg, wp, 0);
        return r ? static_cast<int>(*r) : -99;
    };
    s.count = value(CB_GETCOUNT);
    s.selection = value(CB_GETCURSEL);
    s.field_height = value(CB_GETITEMHEIGHT, static_cast<WPARAM>(-1));
    s.entry_height = value(CB_GETITEMHEIGHT, 0);
    s.dropped = value(CB_GETDROPPEDSTATE) == TRUE;
    for (int i = 0; i < s.count && i < 100; ++i) {
        const int len = value(CB_GETLBTEXTLEN, static_cast<WPARAM>(i));
        std::wstring text(len > 0 ? static_cast<size_t>(len) + 1 : 1, L'\0');
        const auto got = send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(got && *got > 0 ? static_cast<size_t>(*got) : 0);
        s.entries.push_back(text);
    }
    return s;
}

HWND dropped_list(DWORD process) {
    const auto lists = top_level_windows(process, L"ComboLBox", true);
    return lists.empty() ? nullptr : lists.front();
}

LRESULT hit_test(HWND hwnd, POINT screen) {
    const auto r = send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y));
    return r ? *r : HTNOWHERE;
}

std::optional<POINT> find_hit(HWND hwnd, LRESULT code) {
    const RECT window = screen_rect(hwnd);
    const RECT client = client_screen_rect(hwnd);
    // The caption buttons and the icon sit in the band above the client area; scan its
    // middle row and take the middle of the run that answers `code`.
    const int y = (window.top + client.top) / 2 + 1;
    int first = -1, last = -1;
    for (int x = window.left; x < window.right; ++x) {
        if (hit_test(hwnd, {x, y}) == code) {
            if (first < 0) first = x;
            last = x;
        } else if (first >= 0) {
            break;
        }
    }
    if (first < 0) return std::nullopt;
    return POINT{(first + last) / 2, y};
}

}  // namespace e2e
