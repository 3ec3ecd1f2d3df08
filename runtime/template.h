// The window template: windows, their controls and settings, as plain data.
//
// All texts are NUL-terminated code page 936 strings. The run time converts them to
// UTF-16 itself before handing them to the system, so they show right whatever the
// system's own code page is.
#pragma once

#include <cstdint>
#include <span>

#include "runtime/events.h"
#include "runtime/ids.h"

namespace rt {

enum class ControlType { Button, ComboBox, Label, PicBox, HtmlViewer };

struct Rect {
    int left = 0, top = 0, width = 0, height = 0;
};

struct Binding {
    std::int32_t event;
    Handler handler;
};

// A picture embedded in the executable as an RCDATA resource; 0 means none.
using PictureId = int;

struct HtmlViewerSettings {
    int font_size = 2;  // 0 smallest .. 4 largest
    bool offline = false;
    bool silent = false;
    const char* url = "";
};

struct ControlSpec {
    const char* name;
    ControlId id;
    ControlType type;
    ControlId parent;  // kNoControl: the window itself
    Rect rect;
    bool visible = true;
    bool disabled = false;
    bool tab_stop = false;
    int focus_order = 0;
    std::span<const Binding> bindings = {};

    // Settings of the type; each type reads only its own.
    const char* text = "";                     // Button caption, Label text
    std::span<const char* const> items = {};   // ComboBox entries, in list order
    PictureId picture = 0;                     // PicBox picture
    HtmlViewerSettings html = {};
};

struct WindowSpec {
    const char* name;
    WindowId id;
    Rect rect;  // left and top are unused when the window is centred
    const char* title;
    const char* icon = nullptr;    // icon group resource name
    PictureId background = 0;      // tiled over the client area
    bool centred = true;
    bool esc_closes = true;
    bool enter_moves_focus = false;
    bool f1_opens_help = false;
    std::span<const Binding> bindings = {};
    std::span<const ControlSpec> controls = {};  // in template order
};

struct Template {
    std::span<const WindowSpec> windows;
};

}  // namespace rt
