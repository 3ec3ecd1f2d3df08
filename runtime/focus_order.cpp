#include "runtime/focus_order.h"

#include <algorithm>

namespace rt {

std::vector<size_t> focus_sequence(std::span<const FocusCandidate> candidates) {
    std::vector<size_t> sequence;
    for (size_t i = candidates.size(); i-- > 0;)
        if (candidates[i].eligible) sequence.push_back(i);
    // Built back to front and sorted stably, so equal focus orders keep reverse template order.
    std::stable_sort(sequence.begin(), sequence.end(), [&](size_t a, size_t b) {
        return candidates[a].focus_order < candidates[b].focus_order;
    });
    return sequence;
}

std::optional<size_t> step_focus(std::span<const size_t> sequence, std::optional<size_t> current,
                                 bool backward) {
    if (sequence.empty()) return std::nullopt;
    const auto it = current ? std::find(sequence.begin(), sequence.end(), *current) : sequence.end();
    if (it == sequence.end()) return backward ? sequence.back() : sequence.front();
    const size_t pos = static_cast<size_t>(it - sequence.begin());
    const size_t n = sequence.size();
    return sequence[backward ? (pos + n - 1) % n : (pos + 1) % n];
}

}  // namespace rt
