// The program's start-up routine and its data set-up and clean-up steps.
#include "runtime/runtime.h"
#include "ui/ids.h"

namespace {

// The program keeps no data of its own beyond constants, so there is nothing to set up
// or release; the steps stay so the lifecycle has its usual shape.
void set_up_data() {}
void clean_up_data() {}

}  // namespace

int program_start() {
    rt::initialize();
    set_up_data();
    rt::add_finalizer(clean_up_data);
    rt::load_window(ui::kMainWindow);
    rt::run_message_loop();
    return 0;
}
