// The focus sequence that Tab and Shift+Tab walk.
#pragma once

#include <optional>
#include <span>

#include "runtime/list.h"

namespace rt {

struct FocusCandidate {
    int focus_order;
    bool eligible;  // visible, enabled, a tab stop and of a type that takes the focus
};

// Indices (template order) of the eligible candidates in ascending focus order; of
// equal focus order the later in template order comes first.
List<size_t> focus_sequence(std::span<const FocusCandidate> candidates);

// The next index after `current` in `sequence`, or the one before it when `backward`,
// wrapping at both ends. With `current` not in the sequence, the first (or, backward,
// the last) entry. Nothing when the sequence is empty.
std::optional<size_t> step_focus(std::span<const size_t> sequence, std::optional<size_t> current,
                                 bool backward);

}  // namespace rt
