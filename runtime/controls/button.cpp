#include "runtime/controls/controls.h"
#include "runtime/text.h"

namespace rt {

namespace {

class Button final : public Control {
public:
    using Control::Control;

    bool create(HWND parent) override {
        // A caption wider than the button wraps onto more lines.
        const Text caption = from_gbk(def().text);
        if (!attach(create_child(def(), parent, L"BUTTON", caption.c_str(),
                                 BS_PUSHBUTTON | BS_MULTILINE | BS_CENTER | BS_VCENTER | WS_CLIPSIBLINGS)))
            return false;
        SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
        return true;
    }

    bool takes_focus() const override { return true; }

    void on_command(int code) override {
        if (code == BN_CLICKED) raise(event::kClicked);
    }
};

}  // namespace

std::unique_ptr<Control> make_button(Window& owner, const ControlSpec& def) {
    return std::make_unique<Button>(owner, def);
}

}  // namespace rt
