// A property value: one 64-bit slot handed across as two 32-bit halves, lower half first.
//
// Integers and logical values stand in the lower half. A text is the address of a
// NUL-terminated code page 936 string; a null address is the empty text. On 32-bit
// Windows the address fits the lower half and the upper half is 0; on 64-bit Windows
// the address needs the whole slot, so it is split across both halves.
#pragma once

#include <cstdint>

namespace rt {

struct Value {
    std::uint32_t lo = 0;
    std::uint32_t hi = 0;

    static constexpr Value integer(std::int32_t v) { return {static_cast<std::uint32_t>(v), 0}; }
    static constexpr Value logical(bool v) { return {v ? 1u : 0u, 0}; }
    static Value text(const char* gbk) {
        const auto bits = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(gbk));
        return {static_cast<std::uint32_t>(bits), static_cast<std::uint32_t>(bits >> 32)};
    }
    static constexpr Value from_slot(std::uint64_t slot) {
        return {static_cast<std::uint32_t>(slot), static_cast<std::uint32_t>(slot >> 32)};
    }

    constexpr std::uint64_t slot() const { return (std::uint64_t{hi} << 32) | lo; }
    constexpr std::int32_t as_int() const { return static_cast<std::int32_t>(lo); }
    constexpr bool as_bool() const { return lo != 0; }
    // Never null: the null address reads as the empty text.
    const char* as_text() const {
        const auto* p = reinterpret_cast<const char*>(static_cast<std::uintptr_t>(slot()));
        return p ? p : "";
    }
};

}  // namespace rt
