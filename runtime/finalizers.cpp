#include "runtime/finalizers.h"

namespace rt {

void FinalizerList::add(Routine routine) {
    if (routine && !contains(routines_, routine)) routines_.push_back(routine);
}

void FinalizerList::run_all() {
    // Taken out first, so a routine that touches the list sees it empty, and a second
    // call runs nothing again.
    List<Routine> pending = std::move(routines_);
    for (size_t i = 0; i < pending.size(); ++i) {
        pending[i]();
        for (Routine late : routines_)
            if (!contains(pending, late)) pending.push_back(late);
        routines_.clear();
    }
}

}  // namespace rt
