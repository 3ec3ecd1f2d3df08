#include "tests/e2e/node_watch.h"

#include "tests/e2e/wait.h"

namespace e2e {

namespace {
std::string describe(const Request& r) { return cat(r.method, " http://", r.server, r.path, " -> ", r.status); }
}  // namespace

bool NodeWatch::open(const std::wstring& urls, const std::wstring& log, Report& report) {
    log_ = log;
    if (!report.check(!urls.empty() && !log.empty(), "the run has a delivery node (--urls and --node-log)"))
        return false;
    const bool read = read_urls(urls, endpoints_);
    return report.check(read && endpoints_.size() == 3,
                        cat("the episode address list names three nodes (", endpoints_.size(), " read)"));
}

size_t NodeWatch::mark() const { return read_requests(log_).size(); }

std::vector<Request> NodeWatch::since(size_t mark) const {
    std::vector<Request> all = read_requests(log_);
    return mark < all.size() ? std::vector<Request>(all.begin() + static_cast<long long>(mark), all.end())
                             : std::vector<Request>{};
}

bool NodeWatch::expect_one(size_t mark, size_t index, Report& report) const {
    const bool arrived = wait_until([&] { return !since(mark).empty(); }, kReactMs);
    if (!report.check(arrived, cat("a request reaches a node after choosing episode ", index + 1))) return false;
    Sleep(kSettleMs);  // a second request would come close behind the first
    const auto got = since(mark);
    bool ok = got.size() == 1;
    std::string seen;
    for (const Request& r : got) {
        seen += (seen.empty() ? "" : ", ") + describe(r);
        const auto endpoint = endpoint_of(r, endpoints_);
        ok = ok && endpoint == index && r.method == "GET";
    }
    return report.check(ok, cat("exactly one GET of episode ", index + 1, "'s address at its node: ", seen));
}

bool NodeWatch::expect_none(size_t mark, const std::string& after, Report& report) const {
    Sleep(kSettleMs);
    const auto got = since(mark);
    std::string seen;
    for (const Request& r : got) seen += (seen.empty() ? ": " : ", ") + describe(r);
    return report.check(got.empty(), cat("no request after ", after, seen));
}

bool NodeWatch::expect_only_episodes(Report& report) const {
    const auto all = read_requests(log_);
    std::string strays;
    for (const Request& r : all)
        if (!endpoint_of(r, endpoints_)) strays += (strays.empty() ? ": " : ", ") + describe(r);
    return report.check(strays.empty(), cat("all ", all.size(), " logged requests went to an episode's node for its "
                                         "own address", strays));
}

}  // namespace e2e
