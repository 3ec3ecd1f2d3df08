#include "tests/e2e/node_log.h"

#include <cstdlib>
#include <fstream>

namespace e2e {

namespace {

std::vector<std::string> read_lines(const std::wstring& path) {
    std::vector<std::string> lines;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The value of a top-level string field of one JSON object line. The node writes each
// record with json.dumps, so keys are plain and values are strings, numbers or null.
std::string string_field(const std::string& line, const std::string& key) {
    const std::string marker = "\"" + key + "\": \"";
    size_t i = line.find(marker);
    if (i == std::string::npos) return {};
    std::string value;
    for (i += marker.size(); i < line.size() && line[i] != '"'; ++i) {
        if (line[i] == '\\' && i + 1 < line.size()) {
            ++i;
            switch (line[i]) {
            case 'n': value += '\n'; break;
            case 't': value += '\t'; break;
            case 'u': value += '?'; i += 4; break;  // never in the fields read here
            default: value += line[i];
            }
        } else {
            value += line[i];
        }
    }
    return value;
}

int int_field(const std::string& line, const std::string& key) {
    const std::string marker = "\"" + key + "\": ";
    const size_t i = line.find(marker);
    return i == std::string::npos ? 0 : std::atoi(line.c_str() + i + marker.size());
}

}  // namespace

bool read_urls(const std::wstring& path, std::vector<Endpoint>& out) {
    out.clear();
    for (const std::string& line : read_lines(path)) {
        if (line.empty()) continue;
        const std::string scheme = "http://";
        if (line.compare(0, scheme.size(), scheme) != 0) return false;
        const size_t slash = line.find('/', scheme.size());
        if (slash == std::string::npos) return false;
        std::string host = line.substr(scheme.size(), slash - scheme.size());
        if (host.find(':') == std::string::npos) host += ":80";
        out.push_back({line, host, line.substr(slash)});
    }
    return !out.empty();
}

std::vector<Request> read_requests(const std::wstring& log) {
    std::vector<Request> requests;
    for (const std::string& line : read_lines(log)) {
        if (line.empty()) continue;
        requests.push_back({string_field(line, "server"), string_field(line, "method"), string_field(line, "path"),
                            int_field(line, "status")});
    }
    return requests;
}

std::optional<size_t> endpoint_of(const Request& request, const std::vector<Endpoint>& endpoints) {
    for (size_t i = 0; i < endpoints.size(); ++i)
        if (endpoints[i].server == request.server && endpoints[i].path == request.path) return i;
    return std::nullopt;
}

}  // namespace e2e
