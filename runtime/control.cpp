#include "runtime/control.h"

#include <commctrl.h>

#include "runtime/framework.h"
#include "runtime/window.h"

namespace rt {

namespace {
constexpr UINT_PTR kSubclassId = 1;
}

Control::~Control() {
    if (hwnd_) {
        // Unhooked first: the window's last messages must not reach a half-destroyed object.
        RemoveWindowSubclass(hwnd_, &Control::subclass_proc, kSubclassId);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

bool Control::attach(HWND hwnd) {
    if (!hwnd) return false;
    hwnd_ = hwnd;
    SetWindowSubclass(hwnd, &Control::subclass_proc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT CALLBACK Control::subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<Control*>(data);
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &Control::subclass_proc, kSubclassId);
        self->hwnd_ = nullptr;
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    if (auto result = self->on_message(msg, wp, lp)) return *result;
    return DefSubclassProc(hwnd, msg, wp, lp);
}

std::optional<bool> Control::raise(std::int32_t event, std::span<const std::int32_t> args) {
    return Framework::get().raise(owner_.id(), def_.id, event, args);
}

RECT Control::rect_in_parent() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd_), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::optional<std::uint64_t> Control::get_property(int property) {
    const RECT r = rect_in_parent();
    switch (property) {
    case 0: return Value::integer(r.left).slot();
    case 1: return Value::integer(r.top).slot();
    case 2: return Value::integer(r.right - r.left).slot();
    case 3: return Value::integer(r.bottom - r.top).slot();
    case 4: return Value::text(tag_.c_str()).slot();
    case 5: return Value::logical(visible_).slot();
    case 6: return Value::logical(!IsWindowEnabled(hwnd_)).slot();
    case 7: return Value::integer(mouse_pointer_).slot();
    default: return get_own_property(property);
    }
}

bool Control::set_property(int property, Value value) {
    RECT r = rect_in_parent();
    const int v = value.as_int();
    constexpr UINT kMove = SWP_NOZORDER | SWP_NOACTIVATE;
    switch (property) {
    case 0: SetWindowPos(hwnd_, nullptr, v, r.top, 0, 0, kMove | SWP_NOSIZE); return true;
    case 1: SetWindowPos(hwnd_, nullptr, r.left, v, 0, 0, kMove | SWP_NOSIZE); return true;
    case 2: SetWindowPos(hwnd_, nullptr, 0, 0, v, r.bottom - r.top, kMove | SWP_NOMOVE); return true;
    case 3: SetWindowPos(hwnd_, nullptr, 0, 0, r.right - r.left, v, kMove | SWP_NOMOVE); return true;
    case 4: tag_ = value.as_text(); return true;
    case 5:
        // No comparison with the current state and no repaint of our own: the system
        // repaints whatever the change uncovers.
        visible_ = value.as_bool();
        ShowWindow(hwnd_, visible_ ? SW_SHOWNA : SW_HIDE);
        return true;
    case 6: EnableWindow(hwnd_, !value.as_bool()); return true;
    case 7: mouse_pointer_ = v; return true;
    default: return set_own_property(property, value);
    }
}

const wchar_t* pane_class(HINSTANCE instance, bool white) {
    const wchar_t* name = white ? L"rt.WhitePane" : L"rt.Pane";
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (!GetClassInfoExW(instance, name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = white ? static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)) : nullptr;
        wc.lpszClassName = name;
        if (!RegisterClassExW(&wc)) return nullptr;
    }
    return name;
}

}  // namespace rt
