// The run time's one framework object: everything the run time owns between the start
// of the process and its end, on the UI thread.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "runtime/finalizers.h"
#include "runtime/list.h"
#include "runtime/ole_init.h"
#include "runtime/template.h"
#include "runtime/text.h"

namespace rt {

class Window;

class Framework {
public:
    explicit Framework(HINSTANCE instance);
    ~Framework();
    Framework(const Framework&) = delete;
    Framework& operator=(const Framework&) = delete;

    // The framework of this process; exists while the entry point runs.
    static Framework& get();

    HINSTANCE instance() const { return instance_; }

    void initialize(const Template& tmpl);
    FinalizerList& finalizers() { return finalizers_; }
    void load_window(WindowId id);
    void run_message_loop();
    // The end of a normal run, in this order: the window table, the finalisation list,
    // the rest of the run time, OLE last. Returns the exit code, the quit request's.
    int normal_end();
    // Tells the user, drops the finalisation list unrun, cleans up as at a normal end
    // and ends the process with exit code 0xFFFFFFFF.
    [[noreturn]] void fatal(const Text& what);

    // A live window of the table, or null.
    Window* find_window(WindowId id) const;
    // Calls the handler bound to the event, if any; the handler's result if it gave one.
    std::optional<bool> raise(WindowId window, ControlId control, std::int32_t event,
                              std::span<const std::int32_t> args = {});
    // Called whenever a program window has been destroyed.
    void window_destroyed();

private:
    struct BoundHandler {
        WindowId window = 0;
        ControlId control = kNoControl;
        std::int32_t event = 0;
        Handler handler = nullptr;
    };

    size_t live_windows() const;
    void release();
    void bind(WindowId window, ControlId control, std::int32_t event, Handler handler);
    BoundHandler* find_binding(WindowId window, ControlId control, std::int32_t event);

    HINSTANCE instance_;
    std::optional<OleInit> ole_;  // first in, last out
    const Template* template_ = nullptr;
    List<BoundHandler> bindings_;
    FinalizerList finalizers_;
    List<std::unique_ptr<Window>> windows_;
    bool loop_entered_ = false;
    bool building_ = false;
    int quit_code_ = 0;
};

}  // namespace rt
