// libFuzzer entry for the JPEG decoding glue. Besides the sanitizers' own checks it
// holds the decoder to what callers rely on when it reports success.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "runtime/jpeg_decode.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rt::DecodedImage img;
    if (!rt::decode_jpeg(data, size, img)) {
        return 0;
    }
    const bool sane = img.width > 0 && img.height > 0 &&
                      img.width <= static_cast<int>(rt::kMaxJpegDimension) &&
                      img.height <= static_cast<int>(rt::kMaxJpegDimension) &&
                      img.pixels.size() == std::size_t(img.width) * std::size_t(img.height);
    if (!sane) {
        std::abort();
    }
    for (std::uint32_t p : img.pixels) {
        if ((p >> 24) != 0) {
            std::abort();
        }
    }
    return 0;
}
