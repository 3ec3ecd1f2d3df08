// The yardstick for the program's own cost: a bare top-level window of the program's outer
// size and frame, holding nothing but the WebBrowser control through the same host and
// with the same settings. Whatever the program needs beyond this is its own overhead.
//
//     reference_host.exe URL
//
// Enter (a real key press, the way the program's list accepts an episode) makes the
// control navigate to URL. Closing the window ends the process.
#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>

#include "runtime/browser_host.h"
#include "runtime/geometry.h"
#include "runtime/ole_init.h"

namespace {

constexpr wchar_t kClass[] = L"bench.ReferenceHost";
// The program's own title: drawing it makes Wine open the same CJK font, which would
// otherwise count against the program alone.
constexpr wchar_t kTitle[] = L"砚川谣下载器";
// The program's window: outer size and frame style.
constexpr int kWidth = 212;
constexpr int kHeight = 185;
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// As the program's browser view is configured.
constexpr rt::BrowserSettings kSettings{.font_size = 2, .offline = false, .silent = false};

// What the window procedure reaches through GWLP_USERDATA.
struct State {
    std::unique_ptr<rt::BrowserHost> browser;
};

State* state_of(HWND hwnd) { return reinterpret_cast<State*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

LRESULT CALLBACK window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lp);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    State* state = state_of(hwnd);
    switch (msg) {
    case WM_SETFOCUS:
        // Like the program, whose first tab stop is its browser view.
        if (state && state->browser) state->browser->focus();
        return 0;
    case WM_SIZE:
        if (state && state->browser) state->browser->resize(LOWORD(lp), HIWORD(lp));
        return 0;
    case WM_DESTROY:
        // The control's windows go while ours still exists.
        if (state) state->browser.reset();
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

// Owns the top-level window, so every way out of wWinMain takes it down.
class Window {
public:
    explicit Window(HWND hwnd) : hwnd_(hwnd) {}
    ~Window() {
        if (hwnd_ && IsWindow(hwnd_)) DestroyWindow(hwnd_);
    }
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

bool is_own(HWND root, HWND hwnd) { return hwnd && (hwnd == root || IsChild(root, hwnd)); }

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    const std::wstring url = argc == 2 ? argv[1] : L"";
    LocalFree(argv);
    if (url.empty()) {
        MessageBoxW(nullptr, L"usage: reference_host.exe URL", kTitle, MB_ICONERROR);
        return 2;
    }

    const rt::OleInit ole;
    if (!ole.ok()) return 3;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = &window_proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kClass;
    if (!RegisterClassExW(&wc)) return 4;

    State state;
    const rt::Point origin =
        rt::centred_origin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), kWidth, kHeight);
    const Window window(CreateWindowExW(0, kClass, kTitle, kStyle, origin.x, origin.y, kWidth, kHeight, nullptr,
                                        nullptr, instance, &state));
    if (!window.get()) return 5;
    state.browser = rt::BrowserHost::create(window.get(), kSettings, nullptr, nullptr);
    if (!state.browser) return 6;
    ShowWindow(window.get(), SW_SHOW);
    UpdateWindow(window.get());

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_KEYDOWN && msg.wParam == VK_RETURN && is_own(window.get(), msg.hwnd)) {
            if (state.browser) state.browser->navigate(url.c_str());
            continue;
        }
        if (state.browser && state.browser->has_focus() && state.browser->translate_accelerator(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
