#include "tests/e2e/paint_checks.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <memory>
#include <type_traits>
#include <vector>

#include "runtime/gdi.h"
#include "tests/e2e/probe.h"
#include "tests/e2e/wait.h"

namespace e2e {

namespace {

// The screen has 24-bit colour and the program blits the decoded pixels unchanged, so
// the picture must come out exactly.
constexpr int kTolerance = 0;
constexpr int kDark = 96;  // luminance below which a pixel counts as text
// Glyphs of a linked CJK font under a non-Chinese locale are drawn thinner and lighter;
// on the button-face patch they still stand out below this.
constexpr int kInk = 170;

std::uint32_t image_at(const rt::DecodedImage& image, int x, int y) {
    return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

RECT intersect(const RECT& a, const RECT& b) {
    RECT r{};
    IntersectRect(&r, &a, &b);
    return r;
}

struct Tally {
    long checked = 0, wrong = 0;
    std::string first;
    void add(bool ok, int x, int y, std::uint32_t got, std::uint32_t want) {
        ++checked;
        if (ok) return;
        if (++wrong == 1) first = cat(" (first at ", x, ",", y, ": ", hex(got), " instead of ", hex(want), ")");
    }
    std::string summary() const { return cat(wrong, " of ", checked, " differ", first); }
};

bool under_any(const std::vector<RECT>& rects, POINT p) {
    return std::any_of(rects.begin(), rects.end(), [&](const RECT& r) { return contains(r, p); });
}

// A pixel of anti-aliased black text on `face`: each channel the same fraction of the
// face's channel.
bool text_on(std::uint32_t p, std::uint32_t face) {
    double lo = 2, hi = -1;
    for (int shift : {16, 8, 0}) {
        const int c = static_cast<int>((p >> shift) & 0xFF), f = static_cast<int>((face >> shift) & 0xFF);
        if (c > f + 2) return false;
        const double t = f ? static_cast<double>(c) / f : 0;
        lo = std::min(lo, t);
        hi = std::max(hi, t);
    }
    return hi - lo <= 0.12;
}

}  // namespace

bool load_cover(const std::wstring& path, rt::DecodedImage& image, Report& report) {
    std::ifstream in(path.c_str(), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const bool ok = !bytes.empty() && rt::decode_jpeg(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                      bytes.size(), image);
    return report.check(ok && image.width == 209 && image.height == 116,
                        cat("the cover picture decodes (", image.width, "x", image.height, ")"));
}

bool check_cover_paint(const App& app, const rt::DecodedImage& image, Report& report) {
    const AppWindows& w = app.windows();
    const std::uint32_t face = to_rgb(GetSysColor(COLOR_BTNFACE));
    const RECT cover = screen_rect(w.cover);
    const RECT area = intersect(cover, client_screen_rect(w.main));
    const std::vector<RECT> controls = {screen_rect(w.button), screen_rect(w.label), screen_rect(w.list)};
    Tally picture, below;
    const bool painted = wait_until([&] {
        const Shot shot = capture(area);
        if (shot.empty()) return false;
        picture = below = Tally{};
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (under_any(controls, {x, y})) continue;
                const int cx = x - cover.left, cy = y - cover.top;
                const std::uint32_t got = shot.at(x, y);
                if (cy < image.height && cx < image.width) {
                    const std::uint32_t want = image_at(image, cx, cy);
                    picture.add(channel_distance(got, want) <= kTolerance, cx, cy, got, want);
                } else {
                    below.add(got == face, cx, cy, got, face);
                }
            }
        }
        return picture.wrong == 0 && below.wrong == 0;
    }, kReactMs, 100);
    report.check(picture.checked > 0 && picture.wrong == 0,
                 cat("the cover shows the picture at natural size from its top-left: ", picture.summary()));
    report.check(below.checked > 0 && below.wrong == 0,
                 cat("the cover's rows below the picture show button face ", hex(face), ": ", below.summary()));
    return painted;
}

bool check_tiled_background(const App& app, const rt::DecodedImage& image, Report& report) {
    const AppWindows& w = app.windows();
    const RECT client = client_screen_rect(w.main);
    const std::vector<RECT> controls = {screen_rect(w.button), screen_rect(w.browser)};
    Tally tiles;
    wait_until([&] {
        const Shot shot = capture(client);
        if (shot.empty()) return false;
        tiles = Tally{};
        for (int y = client.top; y < client.bottom; ++y) {
            for (int x = client.left; x < client.right; ++x) {
                if (under_any(controls, {x, y})) continue;
                const int cx = x - client.left, cy = y - client.top;
                const std::uint32_t want = image_at(image, cx % image.width, cy % image.height);
                const std::uint32_t got = shot.at(x, y);
                tiles.add(channel_distance(got, want) <= kTolerance, cx, cy, got, want);
            }
        }
        return tiles.wrong == 0;
    }, kReactMs, 100);
    return report.check(tiles.checked > 0 && tiles.wrong == 0,
                        cat("the window's own background shows the picture tiled from the client area's top-left: ",
                            tiles.summary()));
}

bool check_label_patch(const App& app, Report& report) {
    const std::uint32_t face = to_rgb(GetSysColor(COLOR_BTNFACE));
    const RECT r = screen_rect(app.windows().label);
    const Shot shot = capture(r);
    long faces = 0, dark = 0, foreign = 0;
    for (std::uint32_t p : shot.pixels) {
        if (p == face) ++faces;
        else if (!text_on(p, face)) ++foreign;
        if (luminance(p) < kInk) ++dark;
    }
    const long total = static_cast<long>(shot.pixels.size());
    return report.check(total > 0 && foreign == 0 && faces * 2 > total && dark >= 10,
                        cat("the label is an opaque button-face patch with dark text: ", faces, " face, ", dark,
                            " dark, ", foreign, " other of ", total, " pixels"));
}

bool check_list_field(const App& app, bool expect_text, Report& report) {
    const RECT field = screen_rect(app.windows().list);
    // Inside the sunken border and left of the drop-down button.
    const int button = GetSystemMetrics(SM_CXVSCROLL);
    const RECT inner{field.left + 3, field.top + 3, field.right - 3 - button, field.bottom - 3};
    const std::uint32_t highlight = to_rgb(GetSysColor(COLOR_HIGHLIGHT));
    long white = 0, dark = 0, lit = 0;
    const Shot shot = capture(inner);
    for (std::uint32_t p : shot.pixels) {
        white += p == 0xFFFFFF;
        dark += luminance(p) < kDark;
        lit += p == highlight;
    }
    const long total = static_cast<long>(shot.pixels.size());
    const bool ok = total > 0 && lit == 0 && white * 2 > total && (expect_text ? dark >= 10 : white == total);
    return report.check(ok, cat("the list's field is white", expect_text ? " with dark text" : " and empty", ": ",
                                white, " white, ", dark, " dark, ", lit, " highlight of ", total, " pixels"));
}

namespace {

struct ModuleDeleter {
    void operator()(HMODULE m) const { FreeLibrary(m); }
};
using Module = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleDeleter>;

struct IconDeleter {
    void operator()(HICON i) const { DestroyIcon(i); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

BOOL CALLBACK first_name(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR out) {
    auto& found = *reinterpret_cast<std::wstring*>(out);
    found = IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : std::wstring(name);
    return FALSE;
}

// The icon drawn at its size on a plain background.
std::vector<std::uint32_t> render(HICON icon, int size, std::uint32_t background) {
    std::vector<std::uint32_t> out;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    rt::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return out;
    auto* pixels = static_cast<std::uint32_t*>(bits);
    std::fill(pixels, pixels + size * size, background);
    rt::MemoryDc dc(nullptr, bitmap.get());
    if (!dc.get() || !DrawIconEx(dc.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL)) return out;
    GdiFlush();
    out.assign(pixels, pixels + size * size);
    for (auto& p : out) p &= 0x00FFFFFF;
    return out;
}

}  // namespace

bool check_caption_icon(const App& app, const std::wstring& exe, Report& report) {
    // Another process's WM_GETICON answer cannot be had under Wine, so the icon is
    // looked for where a person sees it.
    const Module module(LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    std::wstring group;
    if (module) EnumResourceNamesW(module.get(), RT_GROUP_ICON, &first_name, reinterpret_cast<LONG_PTR>(&group));
    const int size = GetSystemMetrics(SM_CXSMICON);
    const Icon icon(group.empty() ? nullptr
                                  : static_cast<HICON>(LoadImageW(module.get(), group.c_str(), IMAGE_ICON, size, size, 0)));
    if (!report.check(icon != nullptr, cat("the program has an icon group ", utf8(group)))) return false;
    // Pixels that come out the same on black and on white are the icon's opaque ones.
    const auto on_black = render(icon.get(), size, 0x000000), on_white = render(icon.get(), size, 0xFFFFFF);
    if (!report.check(!on_black.empty() && on_black.size() == on_white.size(), "the icon can be drawn")) return false;
    std::vector<std::pair<POINT, std::uint32_t>> opaque;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t i = static_cast<size_t>(y * size + x);
            if (on_black[i] == on_white[i]) opaque.push_back({{x, y}, on_black[i]});
        }

    const RECT window = screen_rect(app.windows().main), client = client_screen_rect(app.windows().main);
    const RECT band{window.left, window.top, window.left + 3 * size, client.top};
    const Shot shot = capture(band);
    for (int top = band.top; !shot.empty() && top + size <= band.bottom; ++top)
        for (int left = band.left; left + size <= band.right; ++left) {
            const bool all = std::all_of(opaque.begin(), opaque.end(), [&](const auto& p) {
                return shot.at(left + p.first.x, top + p.first.y) == p.second;
            });
            if (all && hit_test(app.windows().main, {left + size / 2, top + size / 2}) == HTSYSMENU)
                return report.check(true, cat("the caption shows the program's ", size, "x", size, " icon at ",
                                              left - window.left, ",", top - window.top, " (", opaque.size(),
                                              " opaque pixels)"));
        }
    return report.check(false, "the caption shows the program's small icon on the system menu's place");
}

void save_shot(const std::wstring& dir, const wchar_t* name, Report& report) {
    if (dir.empty()) return;
    const std::wstring path = dir + L"\\" + name + L".bmp";
    report.check(save_bmp(capture_screen(), path), cat("screen saved as ", utf8(path)));
}

}  // namespace e2e
