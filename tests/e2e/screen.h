// Pixels as they are on the screen, read through the screen's device context.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

// Colours are 0x00RRGGBB, as the picture decoder gives them.
std::uint32_t to_rgb(COLORREF c);
int luminance(std::uint32_t rgb);
int channel_distance(std::uint32_t a, std::uint32_t b);  // largest difference of R, G, B

struct Shot {
    RECT area{};  // screen coordinates
    std::vector<std::uint32_t> pixels;

    bool empty() const { return pixels.empty(); }
    // Pixel at a screen point inside `area`.
    std::uint32_t at(int x, int y) const {
        return pixels[static_cast<size_t>(y - area.top) * static_cast<size_t>(area.right - area.left) +
                      static_cast<size_t>(x - area.left)];
    }
};

Shot capture(const RECT& area);
Shot capture_screen();
// Writes a 24-bit BMP; `path` is a Windows path.
bool save_bmp(const Shot& shot, const std::wstring& path);

}  // namespace e2e
