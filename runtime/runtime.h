// What the program asks of the GUI run time at start-up.
#pragma once

#include "runtime/finalizers.h"
#include "runtime/ids.h"
#include "runtime/template.h"

namespace rt {

// Initialises OLE on the UI thread, reads the program's window template and ties each
// event binding to its handler.
void initialize();
// Appends a routine to the finalisation list unless it is there already.
void add_finalizer(Routine routine);
// Builds the window from the template and shows it. Returns only when the window and
// all its controls exist; if it cannot be built, reports the error and ends the process
// with exit code 0xFFFFFFFF instead.
void load_window(WindowId window);
// Runs until the last program window is gone and the quit request has arrived. Returns
// at once when no program window exists.
void run_message_loop();

}  // namespace rt

// Supplied by the program: its start-up routine and its window template.
int program_start();
const rt::Template& program_template();
