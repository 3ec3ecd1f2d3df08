// Numeric names of windows and controls, as the window template gives them.
#pragma once

#include <cstdint>

namespace rt {

using WindowId = std::uint32_t;
using ControlId = std::uint32_t;

// A control identifier of 0 stands for the window itself where a parent is named.
inline constexpr ControlId kNoControl = 0;

// Passed as the sub-field selector to address a property as a whole.
inline constexpr std::int32_t kWholeProperty = -1;

}  // namespace rt
