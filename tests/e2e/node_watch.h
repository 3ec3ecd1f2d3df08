// Checks of what the program asked the delivery node for.
#pragma once

#include <string>
#include <vector>

#include "tests/e2e/node_log.h"
#include "tests/e2e/report.h"

namespace e2e {

class NodeWatch {
public:
    // False (reported) when the address list or the log cannot be read.
    bool open(const std::wstring& urls, const std::wstring& log, Report& report);

    const std::vector<Endpoint>& endpoints() const { return endpoints_; }
    // The number of requests logged so far, to compare later ones against.
    size_t mark() const;

    // Exactly one request, for episode `index`'s path at its node, arrives after `mark`
    // within a few seconds, and no other follows it.
    bool expect_one(size_t mark, size_t index, Report& report) const;
    // Nothing arrives after `mark` within a while.
    bool expect_none(size_t mark, const std::string& after, Report& report) const;
    // Every request of the run went to an episode's node for that episode's path.
    bool expect_only_episodes(Report& report) const;

private:
    std::vector<Request> since(size_t mark) const;

    std::wstring log_;
    std::vector<Endpoint> endpoints_;
};

}  // namespace e2e
