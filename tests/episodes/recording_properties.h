// A recording stand-in for the run time's property access: logs every call and answers
// reads from a script, so a test can compare the exact sequence a handler produces.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/ids.h"

namespace fake {

struct Call {
    enum class Kind { Get, Set };
    Kind kind = Kind::Get;
    rt::WindowId window = 0;
    rt::ControlId control = 0;
    int property = 0;
    std::int32_t selector = 0;
    std::uint32_t lo = 0;  // value halves of a write
    std::uint32_t hi = 0;
    std::optional<std::string> text;  // text writes: the string read through the halves

    // Text writes compare by their text: where the string lives is nothing a test can
    // foretell.
    friend bool operator==(const Call& a, const Call& b) {
        const bool same_target = a.kind == b.kind && a.window == b.window &&
                                 a.control == b.control && a.property == b.property &&
                                 a.selector == b.selector && a.text == b.text;
        return same_target && (a.text || (a.lo == b.lo && a.hi == b.hi));
    }
};

void PrintTo(const Call& call, std::ostream* out);

// While alive, the property functions record into this object. Reads take the scripted
// values in turn; the last one repeats once the script runs out.
class Recorder {
public:
    explicit Recorder(std::vector<std::uint64_t> reads = {0});
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    const std::vector<Call>& calls() const { return calls_; }

    // Used by the fake property functions.
    std::uint64_t next_read();
    void record(Call call) { calls_.push_back(std::move(call)); }

private:
    std::vector<std::uint64_t> reads_;
    std::size_t next_ = 0;
    std::vector<Call> calls_;
};

}  // namespace fake
