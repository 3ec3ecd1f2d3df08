#include "runtime/finalizers.h"

#include <algorithm>

namespace rt {

void FinalizerList::add(Routine routine) {
    if (!routine) return;
    if (std::find(routines_.begin(), routines_.end(), routine) == routines_.end())
        routines_.push_back(routine);
}

void FinalizerList::run_all() {
    // Taken out first, so a routine that touches the list sees it empty, and a second
    // call runs nothing again.
    std::vector<Routine> pending;
    pending.swap(routines_);
    for (size_t i = 0; i < pending.size(); ++i) {
        pending[i]();
        for (Routine late : routines_)
            if (std::find(pending.begin(), pending.end(), late) == pending.end()) pending.push_back(late);
        routines_.clear();
    }
}

}  // namespace rt
