// A control of a window built from the template: owns its child window and answers for
// its properties and events.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "runtime/template.h"
#include "runtime/text.h"
#include "runtime/value.h"

namespace rt {

class Window;

class Control {
public:
    Control(Window& owner, const ControlSpec& def) : owner_(owner), def_(def), visible_(def.visible) {}
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // Creates the control's window, hidden, inside `parent`. False when it cannot be made;
    // whatever was made is destroyed with the object.
    virtual bool create(HWND parent) = 0;

    const ControlSpec& def() const { return def_; }
    HWND hwnd() const { return hwnd_; }

    virtual bool takes_focus() const { return false; }
    virtual void focus() { SetFocus(hwnd_); }
    // The component keys of a control type that claims keys while it has the focus.
    virtual bool translate_key(MSG&) { return false; }
    // Whether `hwnd` is a window of this control that lives outside its own window
    // (the drop-down list of a combo box).
    virtual bool owns_popup(HWND) const { return false; }

    // Notifications that reach the control's parent and are handed on to the control.
    virtual void on_command(int /*code*/) {}
    virtual bool on_measure_item(MEASUREITEMSTRUCT&) { return false; }
    virtual bool on_draw_item(const DRAWITEMSTRUCT&) { return false; }

    // Property numbers 0 to 7 are handled here, the rest by the type. Nothing when the
    // type has no such property.
    std::optional<std::uint64_t> get_property(int property);
    bool set_property(int property, Value value);

protected:
    virtual std::optional<std::uint64_t> get_own_property(int) { return std::nullopt; }
    virtual bool set_own_property(int, Value) { return false; }
    // Messages of the control's own window, seen before its window procedure.
    virtual std::optional<LRESULT> on_message(UINT, WPARAM, LPARAM) { return std::nullopt; }

    // Takes ownership of a freshly created window and starts seeing its messages.
    bool attach(HWND hwnd);
    std::optional<bool> raise(std::int32_t event, std::span<const std::int32_t> args = {});
    Window& owner() const { return owner_; }

private:
    static LRESULT CALLBACK subclass_proc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    RECT rect_in_parent() const;

    Window& owner_;
    const ControlSpec& def_;
    HWND hwnd_ = nullptr;
    bool visible_;
    GbkText tag_;
    std::int32_t mouse_pointer_ = 0;
};

// Makes the control of the template's type.
std::unique_ptr<Control> make_control(Window& owner, const ControlSpec& def);

// The class of the run time's own plain child windows; `white` gives one with a white
// background brush.
const wchar_t* pane_class(HINSTANCE instance, bool white);

}  // namespace rt
