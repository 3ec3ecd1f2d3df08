#include "runtime/window.h"

#include "runtime/focus_order.h"
#include "runtime/framework.h"
#include "runtime/geometry.h"
#include "runtime/picture.h"
#include "runtime/text.h"

namespace rt {

namespace {

constexpr wchar_t kWindowClass[] = L"rt.Window";

bool is_key_message(UINT msg) { return msg >= WM_KEYFIRST && msg <= WM_KEYLAST; }

bool key_down(int vk) { return GetKeyState(vk) < 0; }

}  // namespace

std::unique_ptr<Window> Window::create(Framework& framework, const WindowSpec& def, Text& error) {
    std::unique_ptr<Window> window(new Window(framework, def));
    if (!window->build(error)) return nullptr;  // the destructor takes down what was made
    return window;
}

Window::~Window() {
    controls_.clear();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }
    if (icon_large_) DestroyIcon(icon_large_);
    if (icon_small_) DestroyIcon(icon_small_);
}

bool Window::build(Text& error) {
    const HINSTANCE instance = framework_.instance();
    if (def_.icon) {
        const Text name = from_gbk(def_.icon);
        icon_large_ = static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON,
            GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), 0));
        icon_small_ = static_cast<HICON>(LoadImageW(instance, name.c_str(), IMAGE_ICON,
            GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0));
    }

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, kWindowClass, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        // No background brush: the window paints its own tiled picture.
        wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        wc.lpfnWndProc = &Window::window_proc;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&wc)) {
            error = L"无法注册窗口类。";
            return false;
        }
    }

    if (def_.background && !picture(def_.background, &error)) return false;

    // A fixed dialog frame with caption, system menu and minimise box; without a
    // maximise box the system shows that button unavailable.
    constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    Point origin{def_.rect.left, def_.rect.top};
    if (def_.centred)
        origin = centred_origin(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                def_.rect.width, def_.rect.height);
    const Text title = from_gbk(def_.title);
    if (!CreateWindowExW(0, kWindowClass, title.c_str(), kStyle, origin.x, origin.y, def_.rect.width,
                         def_.rect.height, nullptr, nullptr, instance, this)) {
        error = L"无法创建窗口。";
        return false;
    }
    RECT r{};
    GetWindowRect(hwnd_, &r);
    if (r.left != origin.x || r.top != origin.y || r.right - r.left != def_.rect.width ||
        r.bottom - r.top != def_.rect.height)
        SetWindowPos(hwnd_, nullptr, origin.x, origin.y, def_.rect.width, def_.rect.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);

    for (const ControlSpec& c : def_.controls) controls_.push_back(make_control(*this, c));

    // Controls that live inside another control are made once their parent exists.
    for (bool nested : {false, true}) {
        for (auto& control : controls_) {
            const ControlId parent_id = control->def().parent;
            if ((parent_id != kNoControl) != nested) continue;
            Control* parent = nested ? find(parent_id) : nullptr;
            if (nested && (!parent || !parent->hwnd())) {
                error = L"控件 " + from_gbk(control->def().name) + L" 的父控件不存在。";
                return false;
            }
            if (!control->create(nested ? parent->hwnd() : hwnd_)) {
                error = L"无法创建控件 " + from_gbk(control->def().name) + L"。";
                return false;
            }
        }
    }

    // Of controls with the same parent, the earlier in template order lies in front:
    // each goes to the bottom in turn, so the first ends up on top. Children made one
    // after another usually come out in that order already, and then nothing is moved.
    if (!in_template_order())
        for (auto& control : controls_)
            SetWindowPos(control->hwnd(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return true;
}

// Whether each control's next sibling is the next control of the template with the same
// parent, and the last one of each parent lies at the bottom.
bool Window::in_template_order() const {
    for (size_t i = 0; i < controls_.size(); ++i) {
        HWND next = nullptr;
        for (size_t j = i + 1; j < controls_.size() && !next; ++j)
            if (controls_[j]->def().parent == controls_[i]->def().parent) next = controls_[j]->hwnd();
        if (GetWindow(controls_[i]->hwnd(), GW_HWNDNEXT) != next) return false;
    }
    return true;
}

// Done as the window is being created, before its frame exists: nothing ever shows the
// default icon, and Wine, which converts a window's icons for its X window whenever they
// change, takes them once with the frame instead of again for each WM_SETICON.
void Window::set_icons() {
    if (icon_large_) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_large_));
    if (icon_small_) SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_small_));
}

void Window::show() {
    // The controls were made visible inside the hidden window; they appear with it.
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

Control* Window::find(ControlId id) const {
    for (auto& control : controls_)
        if (control->def().id == id) return control.get();
    return nullptr;
}

Control* Window::find(HWND hwnd) const {
    if (!hwnd) return nullptr;
    for (auto& control : controls_)
        if (control->hwnd() == hwnd) return control.get();
    return nullptr;
}

HBITMAP Window::picture(PictureId id, Text* error) {
    for (const Picture& p : pictures_)
        if (p.id == id) return p.bitmap.get();
    Text why;
    Bitmap bitmap = load_picture(framework_.instance(), id, why);
    if (!bitmap) {
        if (error) *error = std::move(why);
        return nullptr;
    }
    const HBITMAP handle = bitmap.get();
    pictures_.push_back({id, std::move(bitmap)});
    return handle;
}

std::optional<LRESULT> Window::route_from_child(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
        if (Control* c = find(reinterpret_cast<HWND>(lp))) {
            c->on_command(HIWORD(wp));
            return 0;
        }
        break;
    case WM_MEASUREITEM: {
        // Sent while the control is still being created, before its window is known,
        // so it is found by identifier.
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (Control* c = find(static_cast<ControlId>(mis->CtlID)); c && c->on_measure_item(*mis)) return TRUE;
        break;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (Control* c = find(dis->hwndItem); c && c->on_draw_item(*dis)) return TRUE;
        break;
    }
    }
    return std::nullopt;
}

LRESULT CALLBACK Window::window_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->set_icons();
    }
    auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return self ? self->handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Window::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (auto routed = route_from_child(msg, wp, lp)) return *routed;
    switch (msg) {
    case WM_ERASEBKGND: paint_background(reinterpret_cast<HDC>(wp)); return 1;
    case WM_ACTIVATE: on_activate(wp); return 0;
    case WM_SETFOCUS: restore_focus(); return 0;
    case WM_SYSCOMMAND:
        // The only window on the desktop stays active while it is minimised, so no
        // deactivation tells us to remember the focus; the minimise command does.
        if ((wp & 0xFFF0) == SC_MINIMIZE) save_focus();
        break;
    case WM_NCDESTROY: {
        const HWND hwnd = std::exchange(hwnd_, nullptr);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        framework_.window_destroyed();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Window::paint_background(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    const HBITMAP bitmap = def_.background ? picture(def_.background) : nullptr;
    BITMAP bm{};
    if (!bitmap || !GetObjectW(bitmap, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        return;
    }
    MemoryDc source(dc, bitmap);
    for (int y = 0; y < client.bottom; y += bm.bmHeight)
        for (int x = 0; x < client.right; x += bm.bmWidth)
            BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void Window::on_activate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        save_focus();
        return;
    }
    if (HIWORD(wp)) return;  // activated while minimised: the focus comes back on restore
    restore_focus();
}

void Window::save_focus() {
    const HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) saved_focus_ = focus;
}

// The control that had the focus gets it back; the first time, the first control of
// the focus sequence gets it.
void Window::restore_focus() {
    if (IsIconic(hwnd_)) return;
    if (saved_focus_ && IsWindow(saved_focus_) && IsChild(hwnd_, saved_focus_)) {
        SetFocus(saved_focus_);
        return;
    }
    move_focus(false);
}

bool Window::owns(HWND hwnd) const {
    if (!hwnd_ || !hwnd) return false;
    if (hwnd == hwnd_ || IsChild(hwnd_, hwnd)) return true;
    for (auto& control : controls_)
        if (control->owns_popup(hwnd)) return true;
    return false;
}

Control* Window::control_with_focus() const {
    for (HWND h = GetFocus(); h && h != hwnd_; h = GetParent(h))
        if (Control* c = find(h)) return c;
    return nullptr;
}

void Window::move_focus(bool backward) {
    List<FocusCandidate> candidates(controls_.size());
    std::optional<size_t> current;
    const Control* focused = control_with_focus();
    for (size_t i = 0; i < controls_.size(); ++i) {
        const Control& c = *controls_[i];
        const HWND h = c.hwnd();
        candidates[i] = {c.def().focus_order, c.takes_focus() && c.def().tab_stop && h &&
                                                   IsWindowVisible(h) && IsWindowEnabled(h)};
        if (&c == focused) current = i;
    }
    const auto sequence = focus_sequence(candidates);
    if (auto next = step_focus(sequence, current, backward)) controls_[*next]->focus();
}

void Window::close() { SendMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0); }

bool Window::pre_translate(MSG& msg) {
    if (!owns(msg.hwnd)) return false;

    if (msg.message == WM_LBUTTONDOWN) {
        Control* target = find(msg.hwnd);
        if (!target) return false;
        const std::int32_t args[] = {
            static_cast<std::int32_t>(LOWORD(msg.lParam)), static_cast<std::int32_t>(HIWORD(msg.lParam)),
            (key_down(VK_CONTROL) ? 1 : 0) + (key_down(VK_SHIFT) ? 2 : 0) + (key_down(VK_MENU) ? 4 : 0)};
        const auto result = framework_.raise(def_.id, target->def().id, event::kLeftButtonDown, args);
        return result.has_value() && !*result;  // a handler's false swallows the press
    }
    if (!is_key_message(msg.message)) return false;

    // What the embedded component takes for itself goes no further.
    if (Control* focused = control_with_focus(); focused && focused->translate_key(msg)) return true;

    const bool ctrl = key_down(VK_CONTROL), shift = key_down(VK_SHIFT), alt = key_down(VK_MENU);
    if (msg.message == WM_KEYDOWN) {
        switch (msg.wParam) {
        case VK_ESCAPE:
            if (def_.esc_closes && !ctrl && !shift && !alt) {
                close();
                return true;
            }
            break;
        case VK_TAB:
            if (!ctrl && !alt) {
                move_focus(shift);
                return true;
            }
            break;
        }
    } else if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4 && !ctrl && !shift) {
        // Alt+F4 would reach the window through the focused control's default handling,
        // but Wine's combo box swallows Alt+key presses while it has the focus. Closing
        // here does the same as that default on Windows and works under Wine too.
        close();
        return true;
    }
    return false;
}

}  // namespace rt
