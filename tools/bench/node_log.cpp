#include "tools/bench/node_log.h"

#include <windows.h>

#include <cstdio>
#include <fstream>

#include "tools/bench/handle.h"

namespace bench {

namespace {

// The value of a top-level string field. The node writes each record with json.dumps,
// so the keys are plain and the fields read here never hold escapes.
std::optional<std::string> string_field(std::string_view line, std::string_view key) {
    const std::string marker = "\"" + std::string(key) + "\": \"";
    const size_t start = line.find(marker);
    if (start == std::string_view::npos) return std::nullopt;
    const size_t from = start + marker.size();
    const size_t end = line.find('"', from);
    if (end == std::string_view::npos) return std::nullopt;
    return std::string(line.substr(from, end - from));
}

int int_field(std::string_view line, std::string_view key) {
    const std::string marker = "\"" + std::string(key) + "\": ";
    const size_t start = line.find(marker);
    if (start == std::string_view::npos) return 0;
    int value = 0;
    for (size_t i = start + marker.size(); i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i)
        value = value * 10 + (line[i] - '0');
    return value;
}

}  // namespace

std::vector<Endpoint> read_endpoints(const std::wstring& path) {
    std::vector<Endpoint> out;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string line;
    const std::string scheme = "http://";
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        const size_t slash = line.find('/', scheme.size());
        if (line.compare(0, scheme.size(), scheme) != 0 || slash == std::string::npos) return {};
        std::string server = line.substr(scheme.size(), slash - scheme.size());
        if (server.find(':') == std::string::npos) server += ":80";
        out.push_back({line, server, line.substr(slash)});
    }
    return out;
}

std::optional<std::uint64_t> parse_utc_time(std::string_view iso) {
    // Only UTC is accepted: the node always logs it, and anything else would need a
    // zone conversion nobody has tested.
    // The fraction of a second has 3 to 7 digits (the node writes microseconds); the
    // result counts 100 ns like a FILETIME.
    int year, month, day, hour, minute, second, consumed = 0;
    const std::string text(iso);
    if (std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d.%n", &year, &month, &day, &hour, &minute, &second,
                    &consumed) != 6 || consumed == 0)
        return std::nullopt;
    std::string_view rest = std::string_view(text).substr(static_cast<size_t>(consumed));
    std::uint64_t fraction = 0;  // in 100 ns
    size_t digits = 0;
    for (; digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9'; ++digits)
        if (digits < 7) fraction = fraction * 10 + static_cast<std::uint64_t>(rest[digits] - '0');
    if (digits < 3 || digits > 7) return std::nullopt;
    for (size_t d = digits; d < 7; ++d) fraction *= 10;
    const std::string_view tail = rest.substr(digits);
    if (tail != "+00:00" && tail != "Z") return std::nullopt;
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    FILETIME ft{};
    if (!SystemTimeToFileTime(&st, &ft)) return std::nullopt;
    return ((static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime) + fraction;
}

std::optional<LoggedRequest> parse_request(std::string_view line) {
    auto server = string_field(line, "server");
    auto path = string_field(line, "path");
    if (!server || !path) return std::nullopt;
    LoggedRequest request;
    request.server = std::move(*server);
    request.path = std::move(*path);
    request.method = string_field(line, "method").value_or("");
    request.status = int_field(line, "status");
    if (auto time = string_field(line, "time")) request.time = parse_utc_time(*time);
    return request;
}

const std::vector<LoggedRequest>& NodeLog::refresh() {
    {
        const Handle file(CreateFileW(path_.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return requests_;
        LARGE_INTEGER at{};
        at.QuadPart = static_cast<LONGLONG>(offset_);
        if (SetFilePointerEx(file.get(), at, nullptr, FILE_BEGIN)) {
            char buffer[16384];
            DWORD got = 0;
            while (ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr) && got > 0) {
                offset_ += got;
                partial_.append(buffer, got);
            }
        }
    }

    size_t start = 0;
    for (size_t newline; (newline = partial_.find('\n', start)) != std::string::npos; start = newline + 1) {
        if (auto request = parse_request(std::string_view(partial_).substr(start, newline - start)))
            requests_.push_back(std::move(*request));
    }
    partial_.erase(0, start);
    return requests_;
}

std::optional<size_t> endpoint_of(const LoggedRequest& request, const std::vector<Endpoint>& endpoints) {
    for (size_t i = 0; i < endpoints.size(); ++i)
        if (endpoints[i].server == request.server && endpoints[i].path == request.path) return i;
    return std::nullopt;
}

std::uint64_t utc_now() {
    FILETIME ft{};
    GetSystemTimePreciseAsFileTime(&ft);
    return (static_cast<std::uint64_t>(ft.dwHighDateTime) << 32) | ft.dwLowDateTime;
}

}  // namespace bench
