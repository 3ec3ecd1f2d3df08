// The episode addresses and the delivery node's request log, read while the node keeps
// writing it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace bench {

struct Endpoint {
    std::string url;
    std::string server;  // "host:port", as the node logs it
    std::string path;
};

// One address a line, as tools/list_episodes prints them. Empty when the file cannot be
// read or a line is not a plain http URL with a path.
std::vector<Endpoint> read_endpoints(const std::wstring& path);

struct LoggedRequest {
    std::string server;
    std::string path;
    std::string method;
    int status = 0;
    // When the node logged it, in 100 ns units since 1601 (UTC), as FILETIME counts.
    std::optional<std::uint64_t> time;
};

// Parses one log line; a line that is not one of the node's records gives nothing.
std::optional<LoggedRequest> parse_request(std::string_view line);
// "2024-05-01T12:34:56.789+00:00" (what the node writes) to FILETIME units.
std::optional<std::uint64_t> parse_utc_time(std::string_view iso);

// Follows the log as it grows: each refresh reads only what was appended since the last
// one, so a long run can poll it cheaply. A missing file counts as empty.
class NodeLog {
public:
    explicit NodeLog(std::wstring path) : path_(std::move(path)) {}

    const std::vector<LoggedRequest>& refresh();
    const std::vector<LoggedRequest>& requests() const { return requests_; }

private:
    std::wstring path_;
    std::uint64_t offset_ = 0;
    std::string partial_;  // a line the node has not finished writing yet
    std::vector<LoggedRequest> requests_;
};

// The index of the endpoint a request went to, if any.
std::optional<size_t> endpoint_of(const LoggedRequest& request, const std::vector<Endpoint>& endpoints);

// The current time in FILETIME units (UTC), the clock the node's times are compared with.
std::uint64_t utc_now();

}  // namespace bench
