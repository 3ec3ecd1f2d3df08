#include <algorithm>

#include "runtime/browser_host.h"
#include "runtime/controls/controls.h"
#include "runtime/properties.h"
#include "runtime/text.h"

namespace rt {

namespace {

// A child window that hosts the system's WebBrowser control and keeps it filling its
// client area. Writing the address hands it to the component at once.
class HtmlViewer final : public Control {
public:
    using Control::Control;

    ~HtmlViewer() override { host_.reset(); }  // before the base destroys the window

    bool create(HWND parent) override {
        const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
        // The component's window always fills the view, so the view's own background is
        // never seen. Clipping its child keeps the view from painting white under the
        // component each time the cover comes off (on Windows, a possible flash), and
        // saves that erase under Wine, where it runs inside the handler that hides the cover.
        if (!attach(create_child(def(), parent, pane_class(instance, true), L"", WS_CLIPSIBLINGS | WS_CLIPCHILDREN)))
            return false;
        const BrowserSettings settings{std::clamp(def().html.font_size, 0, 4), def().html.offline,
                                       def().html.silent};
        host_ = BrowserHost::create(hwnd(), settings, &HtmlViewer::on_browser_event, this);
        if (!host_) return false;
        address_ = def().html.url;
        if (!address_.empty()) navigate();
        return true;
    }

    bool takes_focus() const override { return true; }
    void focus() override { SetFocus(hwnd()); }

    bool translate_key(MSG& msg) override {
        return host_ && host_->has_focus() && host_->translate_accelerator(msg);
    }

protected:
    std::optional<LRESULT> on_message(UINT msg, WPARAM, LPARAM lp) override {
        switch (msg) {
        case WM_SIZE:
            if (host_) host_->resize(LOWORD(lp), HIWORD(lp));
            return 0;
        case WM_SETFOCUS:
            if (host_) host_->focus();
            return 0;
        case WM_DESTROY:
            host_.reset();
            break;
        }
        return std::nullopt;
    }

    std::optional<std::uint64_t> get_own_property(int property) override {
        if (property != prop::kAddress) return std::nullopt;
        return Value::text(address_.c_str()).slot();
    }

    bool set_own_property(int property, Value value) override {
        if (property != prop::kAddress) return false;
        // Every address goes to the component as it is, also the one already shown.
        address_ = value.as_text();
        navigate();
        return true;
    }

private:
    void navigate() {
        if (host_) host_->navigate(from_gbk(address_.c_str()).c_str());
    }

    static std::optional<bool> on_browser_event(void* context, int event) {
        return static_cast<HtmlViewer*>(context)->raise(event);
    }

    std::unique_ptr<BrowserHost> host_;
    GbkText address_;
};

}  // namespace

std::unique_ptr<Control> make_html_viewer(Window& owner, const ControlSpec& def) {
    return std::make_unique<HtmlViewer>(owner, def);
}

}  // namespace rt
