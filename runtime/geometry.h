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

// Height for a drop-down list box created at least `at_least` tall whose opened list,
// below a `field` pixels high selection field and inside a border of one pixel a side,
// holds whole entries of `entry` pixels: a list of that height never has to trim itself.
// A field of `at_least` or more, or an entry height of zero, leaves `at_least` alone.
constexpr int whole_entries_height(int at_least, int field, int entry) {
    const int room = at_least - field - 2;
    if (room <= 0 || entry <= 0) return at_least;
    return at_least + (entry - room % entry) % entry;
}

}  // namespace rt
