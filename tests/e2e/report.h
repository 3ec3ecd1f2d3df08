// What a scenario checked, printed as it goes, and its verdict: one `PASS` or
// `FAIL: reason` line at the end. Messages are UTF-8 so CTest shows the Chinese texts.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include <windows.h>

namespace e2e {

std::string utf8(std::wstring_view text);
std::string hex(std::uint64_t value);
std::string describe(const RECT& r);  // "(left,top,width,height)"

// Joins anything that streams into one message.
template <class... Parts>
std::string cat(const Parts&... parts) {
    std::ostringstream out;
    (out << ... << parts);
    return out.str();
}

class Report {
public:
    Report();

    // Prints the outcome of one check; the first failure becomes the verdict's reason.
    bool check(bool ok, const std::string& what);
    void note(const std::string& text);
    bool failed() const { return !first_failure_.empty(); }
    // Prints the verdict and returns the driver's exit code.
    int finish();

private:
    std::string first_failure_;
    int checks_ = 0;
    ULONGLONG start_ms_;
};

}  // namespace e2e
