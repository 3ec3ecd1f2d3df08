// Window placement arithmetic.
#pragma once

namespace rt {

struct Point {
    int x = 0, y = 0;
    friend bool operator==(Point, Point) = default;
};

// Top-left corner that centres a window of the given outer size on a screen, the
// fraction dropped (towards zero). A window larger than the screen gets a negative
// offset rather than being clamped.
constexpr Point centred_origin(int screen_w, int screen_h, int window_w, int window_h) {
    return {(screen_w - window_w) / 2, (screen_h - window_h) / 2};
}

}  // namespace rt
