// Ownership of one kernel handle.
#pragma once

#include <windows.h>

namespace bench {

// Owns a kernel handle; CreateFileW's INVALID_HANDLE_VALUE counts as none.
class Handle {
public:
    Handle() = default;
    explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() {
        if (h_) CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

private:
    HANDLE h_ = nullptr;
};

}  // namespace bench
