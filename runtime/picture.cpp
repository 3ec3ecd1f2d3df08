#include "runtime/picture.h"

#include <cstring>

#include "runtime/jpeg_decode.h"
#include "runtime/text.h"

namespace rt {

Bitmap load_picture(HINSTANCE instance, PictureId id, Text& error) {
    HRSRC res = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = res ? LoadResource(instance, res) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) {
        error = L"图片资源 " + decimal(id) + L" 不存在。";
        return {};
    }
    DecodedImage image;
    if (!decode_jpeg(static_cast<const std::uint8_t*>(bytes), SizeofResource(instance, res), image)) {
        error = L"图片资源 " + decimal(id) + L" 已损坏，无法解码。";
        return {};
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top-down, as decoded
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) {
        error = L"无法为图片分配位图。";
        return {};
    }
    std::memcpy(bits, image.pixels.data(), image.pixels.size() * sizeof image.pixels[0]);
    GdiFlush();
    return bitmap;
}

}  // namespace rt
