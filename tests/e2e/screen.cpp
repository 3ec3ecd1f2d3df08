#include "tests/e2e/screen.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "runtime/gdi.h"

namespace e2e {

std::uint32_t to_rgb(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

int luminance(std::uint32_t rgb) {
    const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
    return (299 * r + 587 * g + 114 * b) / 1000;
}

int channel_distance(std::uint32_t a, std::uint32_t b) {
    int worst = 0;
    for (int shift : {16, 8, 0})
        worst = std::max(worst, std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)));
    return worst;
}

namespace {

// The screen's device context, given back when done.
class ScreenDc {
public:
    ScreenDc() : dc_(GetDC(nullptr)) {}
    ~ScreenDc() {
        if (dc_) ReleaseDC(nullptr, dc_);
    }
    ScreenDc(const ScreenDc&) = delete;
    ScreenDc& operator=(const ScreenDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
};

}  // namespace

Shot capture(const RECT& area) {
    Shot shot;
    const int width = area.right - area.left, height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return shot;
    ScreenDc screen;
    if (!screen.get()) return shot;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    rt::Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return shot;
    rt::MemoryDc memory(screen.get(), bitmap.get());
    if (!memory.get() || !BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY))
        return shot;
    GdiFlush();
    shot.area = area;
    shot.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
    std::memcpy(shot.pixels.data(), bits, shot.pixels.size() * sizeof(std::uint32_t));
    for (auto& p : shot.pixels) p &= 0x00FFFFFF;
    return shot;
}

Shot capture_screen() {
    return capture({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

bool save_bmp(const Shot& shot, const std::wstring& path) {
    if (shot.empty()) return false;
    const int width = shot.area.right - shot.area.left, height = shot.area.bottom - shot.area.top;
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;  // bottom-up, as every reader expects
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + header.biSizeImage;

    std::vector<unsigned char> rows(header.biSizeImage, 0);
    for (int y = 0; y < height; ++y) {
        unsigned char* row = rows.data() + static_cast<size_t>(height - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = shot.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
            row[x * 3] = static_cast<unsigned char>(p & 0xFF);
            row[x * 3 + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            row[x * 3 + 2] = static_cast<unsigned char>((p >> 16) & 0xFF);
        }
    }
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(rows.data()), static_cast<std::streamsize>(rows.size()));
    return static_cast<bool>(out);
}

}  // namespace e2e
