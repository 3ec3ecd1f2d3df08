#include "recording_properties.h"

#include <gtest/gtest.h>

#include <utility>

#include "runtime/properties.h"
#include "runtime/value.h"

namespace fake {
namespace {

// The property functions are free functions, so they find the test's recorder here.
// Only a Recorder sets it, for its own lifetime.
Recorder* active = nullptr;

// Properties whose values are texts; writes to them are logged with the string.
bool is_text_property(rt::ControlId, int property) { return property == rt::prop::kAddress; }

Recorder& recorder() {
    if (active == nullptr) {
        ADD_FAILURE() << "property access outside a Recorder's lifetime";
        static Recorder spare;  // keeps the handler running so the failure is reported
        return spare;
    }
    return *active;
}

}  // namespace

Recorder::Recorder(std::vector<std::uint64_t> reads) : reads_(std::move(reads)) {
    if (reads_.empty()) reads_.push_back(0);
    if (active == nullptr) active = this;
}

Recorder::~Recorder() {
    if (active == this) active = nullptr;
}

std::uint64_t Recorder::next_read() {
    const std::uint64_t value = reads_[next_];
    if (next_ + 1 < reads_.size()) ++next_;
    return value;
}

void PrintTo(const Call& call, std::ostream* out) {
    *out << (call.kind == Call::Kind::Get ? "get" : "set") << std::hex << "(window 0x"
         << call.window << ", control 0x" << call.control << std::dec << ", property "
         << call.property << ", selector " << call.selector;
    if (call.kind == Call::Kind::Set) {
        if (call.text) {
            *out << ", text \"" << *call.text << "\"";
        } else {
            *out << ", lo " << call.lo << ", hi " << call.hi;
        }
    }
    *out << ")";
}

}  // namespace fake

namespace rt {

std::uint64_t get_property(WindowId window, ControlId control, int property, std::int32_t selector) {
    auto& rec = fake::recorder();
    rec.record({fake::Call::Kind::Get, window, control, property, selector, 0, 0, std::nullopt});
    return rec.next_read();
}

void set_property(WindowId window, ControlId control, int property, std::int32_t selector,
                  std::uint32_t lo, std::uint32_t hi) {
    fake::Call call{fake::Call::Kind::Set, window, control, property, selector, lo, hi, std::nullopt};
    if (fake::is_text_property(control, property)) {
        const Value value{lo, hi};
        call.text = value.as_text();
    }
    fake::recorder().record(std::move(call));
}

}  // namespace rt
