// A move-only owner of one COM interface reference.
#pragma once

#include <unknwn.h>

#include <utility>

namespace rt {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ~ComPtr() { reset(); }
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;

    // Takes over a reference the caller already holds (e.g. a freshly made object).
    static ComPtr adopt(T* p) {
        ComPtr r;
        r.p_ = p;
        return r;
    }

    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }

    // For out-parameters: drops the current reference first so none leaks.
    T** put() {
        reset();
        return &p_;
    }

    // The member is nulled before Release, so a Release that calls back into the owner
    // never sees a dangling pointer.
    void reset() {
        if (T* old = std::exchange(p_, nullptr)) old->Release();
    }

private:
    T* p_ = nullptr;
};

}  // namespace rt
