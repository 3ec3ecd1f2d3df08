// Pictures embedded in the executable as JPEG resources.
#pragma once

#include <windows.h>

#include "runtime/gdi.h"
#include "runtime/template.h"
#include "runtime/text.h"

namespace rt {

// Decodes the RCDATA resource `id` into a 32-bit DIB section. An empty bitmap with
// `error` set when the resource is missing or is no JPEG that decodes cleanly.
Bitmap load_picture(HINSTANCE instance, PictureId id, Text& error);

}  // namespace rt
