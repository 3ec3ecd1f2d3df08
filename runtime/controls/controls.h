// The control types the run time knows, one file each.
#pragma once

#include <memory>

#include "runtime/control.h"

namespace rt {

std::unique_ptr<Control> make_button(Window& owner, const ControlSpec& def);
std::unique_ptr<Control> make_combo_box(Window& owner, const ControlSpec& def);
std::unique_ptr<Control> make_label(Window& owner, const ControlSpec& def);
std::unique_ptr<Control> make_pic_box(Window& owner, const ControlSpec& def);
std::unique_ptr<Control> make_html_viewer(Window& owner, const ControlSpec& def);

// Creates a hidden child window with the control's identifier and rectangle.
HWND create_child(const ControlSpec& def, HWND parent, const wchar_t* cls, const wchar_t* text,
                  DWORD style, DWORD ex_style = 0);

}  // namespace rt
