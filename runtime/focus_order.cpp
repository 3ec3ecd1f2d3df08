#include "runtime/focus_order.h"

namespace rt {

List<size_t> focus_sequence(std::span<const FocusCandidate> candidates) {
    List<size_t> sequence;
    for (size_t i = candidates.size(); i-- > 0;)
        if (candidates[i].eligible) sequence.push_back(i);
    // Built back to front and sorted stably (insertion, for a handful of controls), so
    // equal focus orders keep reverse template order.
    for (size_t i = 1; i < sequence.size(); ++i) {
        const size_t moving = sequence[i];
        size_t j = i;
        for (; j > 0 && candidates[sequence[j - 1]].focus_order > candidates[moving].focus_order; --j)
            sequence[j] = sequence[j - 1];
        sequence[j] = moving;
    }
    return sequence;
}

std::optional<size_t> step_focus(std::span<const size_t> sequence, std::optional<size_t> current,
                                 bool backward) {
    if (sequence.empty()) return std::nullopt;
    const size_t n = sequence.size();
    size_t pos = n;
    if (current)
        for (size_t i = 0; i < n && pos == n; ++i)
            if (sequence[i] == *current) pos = i;
    if (pos == n) return backward ? sequence[n - 1] : sequence[0];
    return sequence[backward ? (pos + n - 1) % n : (pos + 1) % n];
}

}  // namespace rt
