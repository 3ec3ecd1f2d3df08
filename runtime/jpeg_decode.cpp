#include "runtime/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>  // jpeglib.h needs FILE and size_t declared first
#include <cstdlib>
#include <limits>
#include <memory>
#include <utility>

#include <jpeglib.h>

namespace rt {
namespace {

// A progressive stream may split the picture into any number of scans; each one makes
// the decoder walk the whole coefficient buffer again, so a few hundred bytes could
// otherwise keep it busy for minutes. Real encoders write about ten.
constexpr int kMaxScans = 200;

// Coefficient buffers of progressive pictures come from this budget. Our build of the
// library has no backing store, so going over it is an error rather than a spill to disk.
constexpr long kMaxDecoderMemory = 256L * 1024 * 1024;

// libjpeg reports errors by calling error_exit, which must not return; we jump back to
// decode_rgb instead of letting the default handler end the process. jpeg_error_mgr
// comes first so the library's pointer to it is also a pointer to the whole trap.
struct ErrorTrap {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void trap_error(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<ErrorTrap*>(cinfo->err)->jump, 1);
}

// Warnings (level -1) are what libjpeg gives for damaged data it then papers over: a
// file cut short is padded with grey, a broken scan is resynchronised at the next
// restart marker. Either way the picture is not what the file was meant to show, and
// a half-grey cover is worse than none, so a warning ends the decode like an error.
// Trace messages (levels 0 and up) are chatter and are dropped.
void trap_warning(j_common_ptr cinfo, int msg_level) {
    if (msg_level < 0) {
        trap_error(cinfo);
    }
}

void discard_message(j_common_ptr) {}

// No message is ever shown, so none is ever formatted.
void no_text(j_common_ptr, char* buffer) { buffer[0] = '\0'; }

void reset_trap(j_common_ptr cinfo) {
    cinfo->err->num_warnings = 0;
    cinfo->err->msg_code = 0;
}

void limit_scans(j_common_ptr cinfo) {
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        trap_error(cinfo);
    }
}

// The decoded picture as packed RGB triples in a malloc'd block the caller frees.
struct RawRgb {
    unsigned char* rgb;
    int width;
    int height;
};

// Everything between setjmp and the library calls must be trivially destructible: a
// longjmp skips destructors. That is why this is a separate plain function writing into
// plain memory, and why the rows go into a malloc'd block and not a std::vector.
bool decode_rgb(const std::uint8_t* data, std::size_t size, RawRgb* raw) {
    raw->rgb = nullptr;
    // Zeroed so that destroying it is harmless even if creating it failed part-way.
    jpeg_decompress_struct cinfo{};
    ErrorTrap trap{};
    jpeg_progress_mgr progress{};
    // Set up in full here rather than by jpeg_std_error, which would bring the library's
    // message table and its printf-based formatting into the executable for nothing.
    trap.mgr.error_exit = trap_error;
    trap.mgr.emit_message = trap_warning;
    trap.mgr.output_message = discard_message;
    trap.mgr.format_message = no_text;
    trap.mgr.reset_error_mgr = reset_trap;
    cinfo.err = &trap.mgr;
    progress.progress_monitor = limit_scans;

    if (setjmp(trap.jump) != 0) {
        jpeg_destroy_decompress(&cinfo);
        std::free(raw->rgb);
        raw->rgb = nullptr;
        return false;
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    cinfo.progress = &progress;
    // The memory source never reads past insize: at the end it feeds the decoder a
    // made-up EOI marker and warns, which trap_warning turns into a failure.
    jpeg_mem_src(&cinfo, data, static_cast<unsigned long>(size));

    bool ok = jpeg_read_header(&cinfo, TRUE) == JPEG_HEADER_OK && cinfo.image_width > 0 &&
              cinfo.image_height > 0 && cinfo.image_width <= kMaxJpegDimension &&
              cinfo.image_height <= kMaxJpegDimension;
    if (ok) {
        cinfo.out_color_space = JCS_RGB;
        ok = jpeg_start_decompress(&cinfo) && cinfo.output_components == 3 &&
             cinfo.output_width == cinfo.image_width && cinfo.output_height == cinfo.image_height;
    }
    const std::size_t stride = std::size_t{cinfo.image_width} * 3;
    if (ok) {
        raw->rgb = static_cast<unsigned char*>(std::malloc(stride * cinfo.image_height));
        ok = raw->rgb != nullptr;
    }
    while (ok && cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = raw->rgb + stride * cinfo.output_scanline;
        // The memory source never suspends, so no rows read means the stream is unusable.
        ok = jpeg_read_scanlines(&cinfo, &row, 1) == 1;
    }
    if (ok) {
        // Reads on to EOI, so damage after the last row is noticed too.
        ok = jpeg_finish_decompress(&cinfo);
    }
    raw->width = static_cast<int>(cinfo.image_width);
    raw->height = static_cast<int>(cinfo.image_height);
    jpeg_destroy_decompress(&cinfo);
    if (!ok) {
        std::free(raw->rgb);
        raw->rgb = nullptr;
    }
    return ok;
}

struct FreeDeleter {
    void operator()(unsigned char* p) const { std::free(p); }
};

}  // namespace

bool decode_jpeg(const std::uint8_t* data, std::size_t size, DecodedImage& out) {
    // jpeg_mem_src takes an unsigned long, which is 32 bits on Windows.
    if (data == nullptr || size == 0 || size > std::numeric_limits<unsigned long>::max()) {
        return false;
    }
    RawRgb raw{};
    if (!decode_rgb(data, size, &raw)) {
        return false;
    }
    const std::unique_ptr<unsigned char, FreeDeleter> rgb(raw.rgb);
    const std::size_t count = std::size_t(raw.width) * std::size_t(raw.height);
    List<std::uint32_t> pixels(count);
    const unsigned char* p = rgb.get();
    for (std::size_t i = 0; i < count; ++i, p += 3) {
        pixels[i] = (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
    out.width = raw.width;
    out.height = raw.height;
    out.pixels = std::move(pixels);
    return true;
}

}  // namespace rt
