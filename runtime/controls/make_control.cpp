#include "runtime/controls/controls.h"

namespace rt {

std::unique_ptr<Control> make_control(Window& owner, const ControlSpec& def) {
    switch (def.type) {
    case ControlType::Button: return make_button(owner, def);
    case ControlType::ComboBox: return make_combo_box(owner, def);
    case ControlType::Label: return make_label(owner, def);
    case ControlType::PicBox: return make_pic_box(owner, def);
    case ControlType::HtmlViewer: return make_html_viewer(owner, def);
    }
    return nullptr;
}

HWND create_child(const ControlSpec& def, HWND parent, const wchar_t* cls, const wchar_t* text,
                  DWORD style, DWORD ex_style) {
    // Controls are made visible or not as the template says, inside the window that is
    // still hidden: they appear together with it, and no control is shown on its own.
    style = (style | WS_CHILD) & ~WS_VISIBLE;
    if (def.visible) style |= WS_VISIBLE;
    if (def.disabled) style |= WS_DISABLED;
    if (def.tab_stop) style |= WS_TABSTOP;
    return CreateWindowExW(ex_style, cls, text, style, def.rect.left, def.rect.top, def.rect.width,
                           def.rect.height, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(def.id)),
                           reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
}

}  // namespace rt
