// Reading and writing control properties by number.
//
// Numbers 0 to 7 mean the same for every control type; from 8 on they belong to the type.
// A window, control or property that does not exist is a fatal error of the run time.
#pragma once

#include <cstdint>

#include "runtime/ids.h"

namespace rt {

namespace prop {
inline constexpr int kLeft = 0;
inline constexpr int kTop = 1;
inline constexpr int kWidth = 2;
inline constexpr int kHeight = 3;
inline constexpr int kTag = 4;
inline constexpr int kVisible = 5;
inline constexpr int kDisabled = 6;
inline constexpr int kMousePointer = 7;
// Browser view
inline constexpr int kAddress = 11;
// Combo box
inline constexpr int kCurrentSelection = 19;
}  // namespace prop

std::uint64_t get_property(WindowId window, ControlId control, int property, std::int32_t selector);
void set_property(WindowId window, ControlId control, int property, std::int32_t selector,
                  std::uint32_t lo, std::uint32_t hi);

}  // namespace rt
