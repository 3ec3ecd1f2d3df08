#include "runtime/framework.h"

#include <commctrl.h>

#include "runtime/runtime.h"
#include "runtime/text.h"
#include "runtime/window.h"

namespace rt {

namespace {
Framework* g_framework = nullptr;
constexpr UINT kFatalExitCode = 0xFFFFFFFF;
}  // namespace

Framework::Framework(HINSTANCE instance) : instance_(instance) { g_framework = this; }

Framework::~Framework() {
    release();
    g_framework = nullptr;
}

Framework& Framework::get() { return *g_framework; }

void Framework::initialize(const Template& tmpl) {
    ole_.emplace();
    if (!ole_->ok()) fatal(L"无法初始化 OLE。");
    INITCOMMONCONTROLSEX icc{};
    icc.dwSize = sizeof icc;
    icc.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&icc);

    template_ = &tmpl;
    bindings_.clear();
    for (const WindowSpec& w : tmpl.windows) {
        for (const Binding& b : w.bindings) bind(w.id, kNoControl, b.event, b.handler);
        for (const ControlSpec& c : w.controls)
            for (const Binding& b : c.bindings) bind(w.id, c.id, b.event, b.handler);
    }
}

// A second binding of the same event replaces the first.
void Framework::bind(WindowId window, ControlId control, std::int32_t event, Handler handler) {
    if (BoundHandler* bound = find_binding(window, control, event))
        bound->handler = handler;
    else
        bindings_.push_back({window, control, event, handler});
}

Framework::BoundHandler* Framework::find_binding(WindowId window, ControlId control, std::int32_t event) {
    for (BoundHandler& b : bindings_)
        if (b.window == window && b.control == control && b.event == event) return &b;
    return nullptr;
}

void Framework::load_window(WindowId id) {
    const WindowSpec* def = nullptr;
    if (template_)
        for (const WindowSpec& w : template_->windows)
            if (w.id == id) def = &w;
    if (!def) fatal(L"窗口模板中没有窗口 " + hex(id) + L"。");

    // No handler runs while a window is being built.
    building_ = true;
    Text error;
    auto window = Window::create(*this, *def, error);
    if (!window) {
        building_ = false;
        fatal(L"无法载入窗口：" + error);
    }
    windows_.push_back(std::move(window));
    windows_.back()->show();
    building_ = false;
}

void Framework::run_message_loop() {
    loop_entered_ = true;
    if (live_windows() == 0) return;
    MSG msg;
    BOOL got;
    // GetMessage blocks while the queue is empty: there is no idle-time work to do.
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        bool used = false;
        for (size_t i = 0; i < windows_.size() && !used; ++i)
            if (windows_[i]->alive()) used = windows_[i]->pre_translate(msg);
        if (used) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    if (got == 0) quit_code_ = static_cast<int>(msg.wParam);
}

int Framework::normal_end() {
    windows_.clear();
    finalizers_.run_all();
    release();
    return quit_code_;
}

void Framework::fatal(const Text& what) {
    building_ = true;  // nothing of the program runs from here on
    // The report carries the program's name where the template gives one.
    Text caption = L"错误";
    if (template_ && !template_->windows.empty() && template_->windows.front().title)
        caption = from_gbk(template_->windows.front().title);
    MessageBoxW(nullptr, what.c_str(), caption.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
    finalizers_.discard();
    windows_.clear();
    release();
    ExitProcess(kFatalExitCode);
}

void Framework::release() {
    windows_.clear();
    bindings_.clear();
    template_ = nullptr;
    ole_.reset();
}

Window* Framework::find_window(WindowId id) const {
    for (auto& w : windows_)
        if (w->alive() && w->id() == id) return w.get();
    return nullptr;
}

std::optional<bool> Framework::raise(WindowId window, ControlId control, std::int32_t event,
                                     std::span<const std::int32_t> args) {
    if (building_) return std::nullopt;
    const BoundHandler* bound = find_binding(window, control, event);
    if (!bound) return std::nullopt;
    EventCall call{args, std::nullopt};
    bound->handler(call);
    return call.result;
}

size_t Framework::live_windows() const {
    size_t n = 0;
    for (auto& w : windows_) n += w->alive() ? 1 : 0;
    return n;
}

void Framework::window_destroyed() {
    if (loop_entered_ && live_windows() == 0) PostQuitMessage(0);
}

// What the program calls.

void initialize() { Framework::get().initialize(program_template()); }
void add_finalizer(Routine routine) { Framework::get().finalizers().add(routine); }
void load_window(WindowId window) { Framework::get().load_window(window); }
void run_message_loop() { Framework::get().run_message_loop(); }

}  // namespace rt
