// A window built from the template, with its controls.
#pragma once

#include <windows.h>

#include <memory>

#include "runtime/control.h"
#include "runtime/gdi.h"
#include "runtime/list.h"
#include "runtime/template.h"
#include "runtime/text.h"

namespace rt {

class Framework;

class Window {
public:
    // Builds the window and its controls, hidden. Returns null with `error` set when
    // something cannot be made; whatever was made is destroyed again then.
    static std::unique_ptr<Window> create(Framework& framework, const WindowSpec& def, Text& error);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Shows the window, activated, with the controls that are visible.
    void show();

    WindowId id() const { return def_.id; }
    HWND hwnd() const { return hwnd_; }
    bool alive() const { return hwnd_ != nullptr; }

    Control* find(ControlId id) const;
    // The control whose own window is `hwnd`, not one of its children.
    Control* find(HWND hwnd) const;

    // Looks at a queued message before it is dispatched: the keys of the window and its
    // controls and the left-button-down event. True when the message is used up.
    bool pre_translate(MSG& msg);

    // The picture of the template's `id`, decoded once and shared by everything that
    // shows it. Null, with the reason in `error` if given, when it cannot be had.
    HBITMAP picture(PictureId id, Text* error = nullptr);

    // Hands a notification that reached a container (the window or a picture box) to
    // the control it came from.
    std::optional<LRESULT> route_from_child(UINT msg, WPARAM wp, LPARAM lp);

private:
    Window(Framework& framework, const WindowSpec& def) : framework_(framework), def_(def) {}
    bool build(Text& error);
    static LRESULT CALLBACK window_proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void paint_background(HDC dc);
    void on_activate(WPARAM wp);
    void save_focus();
    void restore_focus();
    bool owns(HWND hwnd) const;
    bool in_template_order() const;
    void set_icons();
    Control* control_with_focus() const;
    void move_focus(bool backward);
    void close();

    Framework& framework_;
    const WindowSpec& def_;
    HWND hwnd_ = nullptr;
    HICON icon_large_ = nullptr;
    HICON icon_small_ = nullptr;
    struct Picture {
        PictureId id = 0;
        Bitmap bitmap;
    };

    List<Picture> pictures_;
    List<std::unique_ptr<Control>> controls_;  // in template order
    HWND saved_focus_ = nullptr;
};

}  // namespace rt
