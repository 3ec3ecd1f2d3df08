#include "runtime/properties.h"

#include "runtime/framework.h"
#include "runtime/text.h"
#include "runtime/window.h"

namespace rt {

namespace {

// Every property of these control types is addressed as a whole, so the selector is
// not looked at.
Control& control_or_fatal(WindowId window, ControlId control) {
    Framework& fw = Framework::get();
    Window* w = fw.find_window(window);
    if (!w) fw.fatal(L"窗口 " + hex(window) + L" 不存在。");
    Control* c = w->find(control);
    if (!c || !c->hwnd()) fw.fatal(L"控件 " + hex(control) + L" 不存在。");
    return *c;
}

}  // namespace

std::uint64_t get_property(WindowId window, ControlId control, int property, std::int32_t) {
    auto value = control_or_fatal(window, control).get_property(property);
    if (!value) Framework::get().fatal(L"控件没有属性 " + decimal(property) + L"。");
    return *value;
}

void set_property(WindowId window, ControlId control, int property, std::int32_t, std::uint32_t lo,
                  std::uint32_t hi) {
    if (!control_or_fatal(window, control).set_property(property, Value{lo, hi}))
        Framework::get().fatal(L"控件没有属性 " + decimal(property) + L"。");
}

}  // namespace rt
