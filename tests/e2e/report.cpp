#include "tests/e2e/report.h"

#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace e2e {

std::string utf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                      nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::string hex(std::uint64_t value) {
    std::ostringstream out;
    out << "0x" << std::hex << std::uppercase << value;
    return out.str();
}

std::string describe(const RECT& r) {
    return cat("(", r.left, ",", r.top, ",", r.right - r.left, ",", r.bottom - r.top, ")");
}

Report::Report() : start_ms_(GetTickCount64()) {
    // Bytes go out as written: no CR added before LF, no code page conversion.
    _setmode(_fileno(stdout), _O_BINARY);
}

bool Report::check(bool ok, const std::string& what) {
    ++checks_;
    // The time since the start shows where a slow run spent it.
    std::printf("%6.1f %s %s\n", static_cast<double>(GetTickCount64() - start_ms_) / 1000.0, ok ? "ok  " : "FAIL",
                what.c_str());
    std::fflush(stdout);
    if (!ok && first_failure_.empty()) first_failure_ = what;
    return ok;
}

void Report::note(const std::string& text) {
    std::printf("%6.1f %s\n", static_cast<double>(GetTickCount64() - start_ms_) / 1000.0, text.c_str());
    std::fflush(stdout);
}

int Report::finish() {
    if (checks_ == 0 && first_failure_.empty()) first_failure_ = "nothing was checked";
    if (first_failure_.empty()) {
        std::printf("PASS\n");
    } else {
        std::printf("FAIL: %s\n", first_failure_.c_str());
    }
    std::fflush(stdout);
    return first_failure_.empty() ? 0 : 1;
}

}  // namespace e2e
