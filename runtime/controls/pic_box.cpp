#include "runtime/controls/controls.h"
#include "runtime/gdi.h"
#include "runtime/window.h"

namespace rt {

namespace {

// Fills itself with the button-face colour, then draws its picture at natural size from
// the top-left corner; what does not fit is cut off. It holds other controls, so the
// notifications of those reach it and are handed on.
class PicBox final : public Control {
public:
    using Control::Control;

    bool create(HWND parent) override {
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
        picture_ = def().picture ? owner().picture(def().picture) : nullptr;
        if (def().picture && !picture_) return false;
        return attach(create_child(def(), parent, pane_class(instance, false), L"",
                                   WS_CLIPSIBLINGS | WS_CLIPCHILDREN));
    }

protected:
    std::optional<LRESULT> on_message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (auto routed = owner().route_from_child(msg, wp, lp)) return routed;
        switch (msg) {
        case WM_ERASEBKGND: paint(reinterpret_cast<HDC>(wp)); return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            BeginPaint(hwnd(), &ps);
            EndPaint(hwnd(), &ps);
            return 0;
        }
        }
        return std::nullopt;
    }

private:
    void paint(HDC dc) {
        RECT r{};
        GetClientRect(hwnd(), &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        BITMAP bm{};
        if (!picture_ || !GetObjectW(picture_, sizeof bm, &bm)) return;
        MemoryDc source(dc, picture_);
        BitBlt(dc, 0, 0, bm.bmWidth, bm.bmHeight, source.get(), 0, 0, SRCCOPY);
    }

    HBITMAP picture_ = nullptr;  // owned by the window, shared with its background
};

}  // namespace

std::unique_ptr<Control> make_pic_box(Window& owner, const ControlSpec& def) {
    return std::make_unique<PicBox>(owner, def);
}

}  // namespace rt
