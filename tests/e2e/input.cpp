#include "tests/e2e/input.h"

namespace e2e {

namespace {

// Input is given a moment to be taken from the queue before the next event, like the
// gaps between a person's key strokes; the checks themselves poll with time-outs.
constexpr DWORD kGapMs = 30;

void send_key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
    Sleep(kGapMs);
}

void send_mouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = dx;
    in.mi.dy = dy;
    in.mi.dwFlags = flags;
    SendInput(1, &in, sizeof in);
    Sleep(kGapMs);
}

}  // namespace

void move_mouse(POINT p) {
    const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    // Absolute coordinates are in 1/65536 of the screen; aim at the pixel's middle.
    const LONG dx = static_cast<LONG>((p.x * 65536LL + 32768) / width);
    const LONG dy = static_cast<LONG>((p.y * 65536LL + 32768) / height);
    send_mouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, dx, dy);
    POINT at{};
    if (GetCursorPos(&at) && (at.x != p.x || at.y != p.y)) {
        SetCursorPos(p.x, p.y);
        Sleep(kGapMs);
    }
}

void click(POINT p) {
    move_mouse(p);
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    send_mouse(MOUSEEVENTF_LEFTUP);
}

void double_click(POINT p) {
    move_mouse(p);
    for (int i = 0; i < 2; ++i) {
        send_mouse(MOUSEEVENTF_LEFTDOWN);
        send_mouse(MOUSEEVENTF_LEFTUP);
    }
}

void press(WORD vk, std::initializer_list<WORD> modifiers) {
    HeldKeys held(modifiers);
    send_key(vk, false);
    send_key(vk, true);
}

HeldKeys::HeldKeys(std::initializer_list<WORD> keys) {
    for (WORD k : keys) {
        if (count_ == 4) break;
        keys_[count_++] = k;
        send_key(k, false);
    }
}

HeldKeys::~HeldKeys() {
    while (count_ > 0) send_key(keys_[--count_], true);
}

}  // namespace e2e
