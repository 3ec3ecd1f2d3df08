// The node log reader the soak and the benchmark count and time requests with: a wrong
// time makes every latency wrong, and a line counted twice (or a half-written one lost)
// makes the soak's per-episode tally lie.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "tools/bench/node_log.h"

namespace bench {
namespace {

constexpr std::uint64_t kUnixEpoch = 116444736000000000ULL;  // 1970-01-01 in FILETIME units
constexpr std::uint64_t kMs = 10000;

// A record as tools/delivery_node.py writes it (json.dumps with sorted keys).
std::string record(const std::string& server, const std::string& path, const std::string& time, int status = 200) {
    return "{\"client\": \"10.0.0.1\", \"method\": \"GET\", \"path\": \"" + path +
           "\", \"range\": null, \"server\": \"" + server + "\", \"status\": " + std::to_string(status) +
           ", \"time\": \"" + time + "\", \"user_agent\": \"Mozilla/4.0 (compatible)\"}";
}

TEST(NodeLogTime, ReadsTheNodesUtcTimes) {
    struct Case {
        const char* text;
        std::optional<std::uint64_t> expected;
    };
    const Case cases[] = {
        {"1970-01-01T00:00:00.000+00:00", kUnixEpoch},
        {"1970-01-01T00:00:01.250+00:00", kUnixEpoch + 1250 * kMs},
        {"1970-01-01T00:00:01.250375+00:00", kUnixEpoch + 1250 * kMs + 3750},  // microseconds, as the node writes
        {"1970-01-01T00:00:00.0000001Z", kUnixEpoch + 1},
        {"1970-01-01T00:00:00.00000001Z", std::nullopt},  // finer than the clock counts
        {"1970-01-01T00:00:00.25Z", std::nullopt},
        {"1970-01-02T00:00:00.000Z", kUnixEpoch + 86400000 * kMs},
        // Other zones would need a conversion; they are refused rather than misread.
        {"1970-01-01T08:00:00.000+08:00", std::nullopt},
        {"1970-01-01T00:00:00+00:00", std::nullopt},  // no milliseconds: not the node's format
        {"", std::nullopt},
        {"yesterday", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(parse_utc_time(c.text), c.expected) << c.text;
}

TEST(NodeLogTime, AgreesWithTheSystemClock) {
    // The node's clock and the driver's are the same clock; a parse that is off by a zone
    // or by a unit shows up as a difference far from zero.
    SYSTEMTIME now{};
    GetSystemTime(&now);
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u.%03u+00:00", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    const auto parsed = parse_utc_time(text);
    ASSERT_TRUE(parsed);
    const double apart_ms = (static_cast<double>(utc_now()) - static_cast<double>(*parsed)) / kMs;
    EXPECT_GE(apart_ms, 0);
    EXPECT_LT(apart_ms, 1000);
}

TEST(NodeLogRecord, TakesTheFieldsOfANodeLine) {
    const auto r = parse_request(record("198.51.100.23:80", "/a/b.mp4", "1970-01-01T00:00:00.005+00:00", 404));
    ASSERT_TRUE(r);
    EXPECT_EQ(r->server, "198.51.100.23:80");
    EXPECT_EQ(r->path, "/a/b.mp4");
    EXPECT_EQ(r->method, "GET");
    EXPECT_EQ(r->status, 404);
    EXPECT_EQ(r->time, kUnixEpoch + 5 * kMs);
    EXPECT_FALSE(parse_request("not a record"));
    EXPECT_FALSE(parse_request("{\"server\": \"1.2.3.4:80\"}"));
}

TEST(NodeLogRecord, MatchesRequestsToEpisodesByServerAndPath) {
    const std::vector<Endpoint> endpoints = {{"http://192.0.2.1/x.mp4", "192.0.2.1:80", "/x.mp4"},
                                             {"http://192.0.2.2:8080/x.mp4", "192.0.2.2:8080", "/x.mp4"}};
    auto at = [&](const std::string& server, const std::string& path) {
        LoggedRequest r;
        r.server = server;
        r.path = path;
        return endpoint_of(r, endpoints);
    };
    EXPECT_EQ(at("192.0.2.1:80", "/x.mp4"), 0u);
    EXPECT_EQ(at("192.0.2.2:8080", "/x.mp4"), 1u);
    EXPECT_EQ(at("192.0.2.2:80", "/x.mp4"), std::nullopt);  // right path, wrong server
    EXPECT_EQ(at("192.0.2.1:80", "/y.mp4"), std::nullopt);
}

class NodeLogFile : public ::testing::Test {
protected:
    void SetUp() override {
        wchar_t directory[MAX_PATH] = {};
        wchar_t file[MAX_PATH] = {};
        ASSERT_TRUE(GetTempPathW(MAX_PATH, directory));
        ASSERT_TRUE(GetTempFileNameW(directory, L"nlg", 0, file));
        path_ = file;
        DeleteFileW(path_.c_str());
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    void append(const std::string& text) {
        std::ofstream out(path_.c_str(), std::ios::binary | std::ios::app);
        out << text;
    }

    std::wstring path_;
};

TEST_F(NodeLogFile, FollowsTheLogAsItGrows) {
    NodeLog log(path_);
    EXPECT_TRUE(log.refresh().empty()) << "a log the node has not made yet is empty";

    const std::string first = record("192.0.2.1:80", "/1.mp4", "1970-01-01T00:00:00.000+00:00");
    const std::string second = record("192.0.2.1:80", "/2.mp4", "1970-01-01T00:00:00.000+00:00");
    // The node is caught in the middle of writing a line: nothing yet, and nothing lost.
    append(first.substr(0, 40));
    EXPECT_TRUE(log.refresh().empty());
    append(first.substr(40) + "\n" + second.substr(0, 10));
    ASSERT_EQ(log.refresh().size(), 1u);
    EXPECT_EQ(log.requests()[0].path, "/1.mp4");
    append(second.substr(10) + "\n");
    ASSERT_EQ(log.refresh().size(), 2u);
    EXPECT_EQ(log.requests()[1].path, "/2.mp4");
    EXPECT_EQ(log.refresh().size(), 2u) << "nothing is counted twice";
}

TEST(NodeLogEndpoints, ReadsTheAddressList) {
    wchar_t directory[MAX_PATH] = {}, file[MAX_PATH] = {};
    ASSERT_TRUE(GetTempPathW(MAX_PATH, directory));
    ASSERT_TRUE(GetTempFileNameW(directory, L"url", 0, file));
    struct Case {
        const char* text;
        size_t count;
    };
    const Case cases[] = {
        {"http://192.0.2.1/a/b.mp4\nhttp://192.0.2.2:8080/c.mp4\n", 2},
        {"http://192.0.2.1/a.mp4\r\n\r\n", 1},
        {"http://192.0.2.1/a.mp4\nftp://192.0.2.1/a.mp4\n", 0},  // one bad line spoils the list
        {"http://192.0.2.1\n", 0},                                // no path
        {"", 0},
    };
    for (const Case& c : cases) {
        {
            std::ofstream out(file, std::ios::binary | std::ios::trunc);
            out << c.text;
        }
        EXPECT_EQ(read_endpoints(file).size(), c.count) << c.text;
    }
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << "http://192.0.2.1/a/b.mp4\nhttp://192.0.2.2:8080/c.mp4\n";
    }
    const auto two = read_endpoints(file);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_EQ(two[0].server, "192.0.2.1:80");
    EXPECT_EQ(two[0].path, "/a/b.mp4");
    EXPECT_EQ(two[1].server, "192.0.2.2:8080");
    EXPECT_EQ(two[1].path, "/c.mp4");
    DeleteFileW(file);
}

}  // namespace
}  // namespace bench
