#include "runtime/controls/controls.h"

namespace rt {

std::unique_ptr<Control> make_control(Window& owner, const ControlSpec& spec) {
    switch (spec.type) {
    case ControlType::Button: return make_button(owner, spec);
    case ControlType::ComboBox: return make_combo_box(owner, spec);
    case ControlType::Label: return make_label(owner, spec);
    case ControlType::PicBox: return make_pic_box(owner, spec);
    case ControlType::HtmlViewer: return make_html_viewer(owner, spec);
    }
    return nullptr;
}

HWND create_child(const ControlSpec& spec, HWND parent, const wchar_t* cls, const wchar_t* text,
                  DWORD style, DWORD ex_style) {
    // Controls are made hidden and shown together once the window is complete.
    style = (style | WS_CHILD) & ~WS_VISIBLE;
    if (spec.disabled) style |= WS_DISABLED;
    if (spec.tab_stop) style |= WS_TABSTOP;
    return CreateWindowExW(ex_style, cls, text, style, spec.rect.left, spec.rect.top, spec.rect.width,
                           spec.rect.height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(spec.id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace rt
