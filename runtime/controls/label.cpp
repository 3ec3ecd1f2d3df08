#include "runtime/controls/controls.h"
#include "runtime/gdi.h"
#include "runtime/text.h"

namespace rt {

namespace {

// An opaque patch of the button-face colour with one line of black text, left-aligned
// and centred in height, drawn transparently over the fill.
class Label final : public Control {
public:
    using Control::Control;

    bool create(HWND parent) override {
        text_ = from_gbk(def().text);
        return attach(create_child(def(), parent, pane_class(reinterpret_cast<HINSTANCE>(
                          GetWindowLongPtrW(parent, GWLP_HINSTANCE)), false),
                                   text_.c_str(), WS_CLIPSIBLINGS));
    }

protected:
    std::optional<LRESULT> on_message(UINT msg, WPARAM, LPARAM) override {
        switch (msg) {
        case WM_ERASEBKGND: return 1;
        case WM_PAINT: paint(); return 0;
        }
        return std::nullopt;
    }

private:
    void paint() {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        RECT r{};
        GetClientRect(hwnd(), &r);
        FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
        Selected font(dc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        DrawTextW(dc, text_.c_str(), -1, &r, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        EndPaint(hwnd(), &ps);
    }

    Text text_;
};

}  // namespace

std::unique_ptr<Control> make_label(Window& owner, const ControlSpec& def) {
    return std::make_unique<Label>(owner, def);
}

}  // namespace rt
