// Conversions between the program's code page 936 texts and the UTF-16 of Win32 and COM,
// and the small owning strings the run time keeps its texts in.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

namespace rt {

inline constexpr unsigned kTextCodePage = 936;

// A NUL-terminated string of its own. Enough for the run time's few texts (captions,
// addresses, messages) without the C++ library's string classes in the executable.
template <class Char>
class BasicText {
public:
    using View = std::basic_string_view<Char>;

    BasicText() = default;
    BasicText(const Char* text) : BasicText(text ? View(text) : View()) {}  // null is the empty text
    explicit BasicText(View text) { assign(text); }
    // `length` characters, all NUL: room for a Win32 call to write into.
    static BasicText sized(std::size_t length) {
        BasicText t;
        t.chars_.reset(new Char[length + 1]());
        t.size_ = length;
        return t;
    }
    BasicText(const BasicText& other) { assign(other.view()); }
    BasicText& operator=(const BasicText& other) {
        if (this != &other) assign(other.view());
        return *this;
    }
    BasicText(BasicText&& other) noexcept
        : chars_(std::move(other.chars_)), size_(std::exchange(other.size_, 0)) {}
    BasicText& operator=(BasicText&& other) noexcept {
        chars_ = std::move(other.chars_);
        size_ = std::exchange(other.size_, 0);
        return *this;
    }

    const Char* c_str() const { return chars_ ? chars_.get() : &kEmpty; }
    Char* data() { return chars_ ? chars_.get() : nullptr; }
    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    View view() const { return View(c_str(), size_); }

    BasicText& operator+=(View more) {
        BasicText joined = sized(size_ + more.size());
        std::memcpy(joined.chars_.get(), c_str(), size_ * sizeof(Char));
        std::memcpy(joined.chars_.get() + size_, more.data(), more.size() * sizeof(Char));
        return *this = std::move(joined);
    }
    // One overload each, so a literal on either side converts without ambiguity.
    friend BasicText operator+(BasicText left, const BasicText& right) { return left += right.view(); }
    friend bool operator==(const BasicText& left, View right) { return left.view() == right; }

private:
    void assign(View text) {
        if (text.empty()) {
            chars_.reset();
            size_ = 0;
            return;
        }
        *this = sized(text.size());
        std::memcpy(chars_.get(), text.data(), text.size() * sizeof(Char));
    }

    static constexpr Char kEmpty{};
    std::unique_ptr<Char[]> chars_;
    std::size_t size_ = 0;
};

using Text = BasicText<wchar_t>;    // UTF-16, for Win32 and COM
using GbkText = BasicText<char>;    // code page 936, as the program keeps its texts

// Converts from code page 936 whatever the system's own ANSI code page is, so the
// texts show right on every system. Bytes that are not valid GBK become U+FFFD.
Text from_gbk(const char* gbk);
GbkText to_gbk(const wchar_t* wide);

// Numbers for messages, without pulling the C library's formatted output into the exe.
Text decimal(long long value);
Text hex(unsigned long long value);  // with the 0x prefix

}  // namespace rt
