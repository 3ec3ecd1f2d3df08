// Move-only RAII for OleInitialize/OleUninitialize on the current thread.
#pragma once

#include <ole2.h>

#include <utility>

namespace rt {

class OleInit {
public:
    OleInit() : hr_(OleInitialize(nullptr)) {}
    // S_FALSE means OLE was already up on this thread; it still needs a matching
    // OleUninitialize, so it counts as success.
    ~OleInit() {
        if (SUCCEEDED(hr_)) OleUninitialize();
    }
    OleInit(OleInit&& other) noexcept : hr_(std::exchange(other.hr_, E_FAIL)) {}
    OleInit& operator=(OleInit&& other) noexcept {
        if (this != &other) {
            if (SUCCEEDED(hr_)) OleUninitialize();
            hr_ = std::exchange(other.hr_, E_FAIL);
        }
        return *this;
    }
    OleInit(const OleInit&) = delete;
    OleInit& operator=(const OleInit&) = delete;

    bool ok() const { return SUCCEEDED(hr_); }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace rt
