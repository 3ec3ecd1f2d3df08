// The episode addresses (as the URL list holds them) and the delivery node's request log.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Endpoint {
    std::string url;
    std::string server;  // "host:port", as the node logs it
    std::string path;
};

// One address a line; false when the file cannot be read or a line is not a plain
// http URL.
bool read_urls(const std::wstring& path, std::vector<Endpoint>& out);

struct Request {
    std::string server;
    std::string method;
    std::string path;
    int status = 0;
};

// Every request logged so far; a missing log counts as empty (the node creates it when
// it starts, so that only happens when the run has no node).
std::vector<Request> read_requests(const std::wstring& log);

// The endpoint a request went to, if it is one of `endpoints` (same server and path).
std::optional<size_t> endpoint_of(const Request& request, const std::vector<Endpoint>& endpoints);

}  // namespace e2e
