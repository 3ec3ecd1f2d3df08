// Real input through SendInput: mouse clicks at screen points and key presses, the way
// a person at the machine would give them.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace e2e {

void move_mouse(POINT screen);
void click(POINT screen);
void double_click(POINT screen);
// Presses and releases `vk` while `modifiers` are held (pressed in order, released in
// reverse).
void press(WORD vk, std::initializer_list<WORD> modifiers = {});

// Holds keys down for as long as it lives, e.g. a modifier during a click.
class HeldKeys {
public:
    explicit HeldKeys(std::initializer_list<WORD> keys);
    ~HeldKeys();
    HeldKeys(const HeldKeys&) = delete;
    HeldKeys& operator=(const HeldKeys&) = delete;

private:
    WORD keys_[4] = {};
    size_t count_ = 0;
};

}  // namespace e2e
