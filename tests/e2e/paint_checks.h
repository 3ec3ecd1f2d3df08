// Checks of what the program's windows show on the screen, against the cover picture
// decoded by the program's own decoder and the system colours.
#pragma once

#include <string>

#include "runtime/jpeg_decode.h"
#include "tests/e2e/app.h"
#include "tests/e2e/report.h"
#include "tests/e2e/screen.h"

namespace e2e {

bool load_cover(const std::wstring& path, rt::DecodedImage& image, Report& report);

// Cover view: where no control stands, the cover shows the picture at natural size from
// its top-left corner and button face below and right of it. Waits for the paint.
bool check_cover_paint(const App& app, const rt::DecodedImage& image, Report& report);
// Browser view: the main window's client area outside the browser view and the button
// shows the picture tiled from the client area's top-left corner.
bool check_tiled_background(const App& app, const rt::DecodedImage& image, Report& report);
// The caption label is an opaque button-face patch with dark text on it.
bool check_label_patch(const App& app, Report& report);
// The list's selection field: white, and with `expect_text` dark text on it (none
// otherwise); never the highlight colour when the list has no focus.
bool check_list_field(const App& app, bool expect_text, Report& report);

// The caption shows the small version of the program's first icon group (the icon the
// window was given), found near the system menu's place.
bool check_caption_icon(const App& app, const std::wstring& exe, Report& report);

// Saves the whole screen as NAME.bmp in `dir` when `dir` is given.
void save_shot(const std::wstring& dir, const wchar_t* name, Report& report);

}  // namespace e2e
