// Small owners of GDI handles.
#pragma once

#include <windows.h>

#include <utility>

namespace rt {

template <class H>
class GdiObject {
public:
    GdiObject() = default;
    explicit GdiObject(H h) : h_(h) {}
    ~GdiObject() { reset(); }
    GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    GdiObject& operator=(GdiObject&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset() {
        if (h_) DeleteObject(std::exchange(h_, nullptr));
    }

private:
    H h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;

// A memory DC compatible with `dc`, with `bitmap` selected into it while it lives.
class MemoryDc {
public:
    MemoryDc(HDC dc, HBITMAP bitmap) : dc_(CreateCompatibleDC(dc)) {
        if (dc_) old_ = SelectObject(dc_, bitmap);
    }
    ~MemoryDc() {
        if (dc_) {
            SelectObject(dc_, old_);
            DeleteDC(dc_);
        }
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return dc_; }

private:
    HDC dc_;
    HGDIOBJ old_ = nullptr;
};

// Selects an object into a DC for the lifetime of the scope.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ obj) : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~Selected() { SelectObject(dc_, old_); }
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace rt
