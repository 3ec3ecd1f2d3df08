// The run time's finalisation list: routines run once each at a normal end.
#pragma once

#include <cstddef>
#include "runtime/list.h"

namespace rt {

using Routine = void (*)();

class FinalizerList {
public:
    // Appends `routine` unless it is already in the list, so each runs at most once.
    void add(Routine routine);
    // Runs every routine once, in the order of registration, and empties the list.
    // A routine registered while the list runs is run too, after the others.
    void run_all();
    // Empties the list without running anything: the fatal path.
    void discard() { routines_.clear(); }
    bool empty() const { return routines_.empty(); }
    size_t size() const { return routines_.size(); }

private:
    List<Routine> routines_;
};

}  // namespace rt
