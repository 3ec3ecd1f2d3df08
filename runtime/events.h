// Event numbers and the shape of a bound handler.
//
// A handler is a plain routine. The run time calls it through a small adapter that
// checks the argument count, so a binding can name `void f()` or
// `void f(int32_t, int32_t, int32_t)` directly. A handler that wants to give a result
// takes an `EventCall&` instead and sets `result`; the run time uses the result only
// when one was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <type_traits>

namespace rt {

namespace event {
inline constexpr std::int32_t kItemSelected = 0;  // combo box
inline constexpr std::int32_t kClicked = 0;       // button
inline constexpr std::int32_t kLeftButtonDown = -1;  // every control type
}  // namespace event

struct EventCall {
    std::span<const std::int32_t> args;
    std::optional<bool> result;
};

using Handler = void (*)(EventCall&);

namespace detail {
template <auto F>
void call_plain(EventCall& call) {
    using Fn = decltype(F);
    if constexpr (std::is_invocable_v<Fn>) {
        F();
    } else if constexpr (std::is_invocable_v<Fn, std::int32_t, std::int32_t, std::int32_t>) {
        if (call.args.size() == 3) F(call.args[0], call.args[1], call.args[2]);
    } else {
        static_assert(std::is_invocable_v<Fn, EventCall&>, "unsupported handler signature");
        F(call);
    }
}
}  // namespace detail

// The handler adapter for a plain routine: `rt::bind<&on_clicked>`.
template <auto F>
inline constexpr Handler bind = &detail::call_plain<F>;

}  // namespace rt
