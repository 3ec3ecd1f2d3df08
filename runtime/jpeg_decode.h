// Decoding of JPEG pictures held in memory, kept free of Win32 so the same code is
// exercised by the native sanitizer and fuzzing builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/list.h"

namespace rt {

inline constexpr unsigned kMaxJpegDimension = 4096;

struct DecodedImage {
    int width = 0, height = 0;
    List<std::uint32_t> pixels;  // top-down rows, each pixel 0x00RRGGBB (a 32-bit BI_RGB DIB's layout)
};

// Decodes a JPEG held in memory. Returns false on any error: the library never ends the
// process, never prints, and never reads outside [data, data+size).
// Pictures wider or taller than kMaxJpegDimension are refused before anything is allocated.
// A stream the decoder has to patch up (cut short, damaged scan data) counts as an error.
bool decode_jpeg(const std::uint8_t* data, std::size_t size, DecodedImage& out);

}  // namespace rt
