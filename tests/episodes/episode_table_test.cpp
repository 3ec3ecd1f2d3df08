// The form of the episode table: addresses the player and the delivery node can rely on,
// servers that can never be reached on a real network, and titles in code page 936.
#include <gtest/gtest.h>

#include <cstdint>
#include <regex>
#include <set>
#include <string>
#include <string_view>

#include "episodes/episode_table.h"

namespace {

struct Address {
    std::uint32_t server = 0;  // IPv4, host order
    std::string key;
    std::string file_id;
};

// Parses http://a.b.c.d/youku/KEY/FILEID.mp4; false when the address has any other form.
bool parse(const std::string& address, Address& out) {
    static const std::regex form(
        R"(http://(\d{1,3})\.(\d{1,3})\.(\d{1,3})\.(\d{1,3})/youku/([0-9A-F]+)/)"
        R"(([0-9A-F]{38}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12})\.mp4)");
    std::smatch m;
    if (!std::regex_match(address, m, form)) return false;
    out.server = 0;
    for (int i = 1; i <= 4; ++i) {
        const std::string octet = m[i].str();
        if (octet.size() > 1 && octet[0] == '0') return false;  // dotted decimal, no padding
        const int value = std::stoi(octet);
        if (value > 255) return false;
        out.server = (out.server << 8) | static_cast<std::uint32_t>(value);
    }
    out.key = m[5].str();
    out.file_id = m[6].str();
    return true;
}

// 0, 1, 2 for 192.0.2.0/24, 198.51.100.0/24, 203.0.113.0/24; -1 outside them.
int documentation_range(std::uint32_t server) {
    switch (server >> 8) {
        case (192u << 16) | (0u << 8) | 2u: return 0;
        case (198u << 16) | (51u << 8) | 100u: return 1;
        case (203u << 16) | (0u << 8) | 113u: return 2;
        default: return -1;
    }
}

TEST(EpisodeTable, AddressesHaveTheExactForm) {
    const std::size_t key_lengths[] = {26, 24, 26};
    for (std::size_t i = 0; i < episodes::kEpisodes.size(); ++i) {
        SCOPED_TRACE(episodes::kEpisodes[i].address);
        Address a;
        ASSERT_TRUE(parse(episodes::kEpisodes[i].address, a));
        EXPECT_EQ(a.key.size(), key_lengths[i]);
        EXPECT_EQ(a.file_id.size(), 66u);
    }
}

TEST(EpisodeTable, ServersAreDistinctAndOnePerDocumentationRange) {
    std::set<std::uint32_t> servers;
    std::set<int> ranges;
    for (const auto& episode : episodes::kEpisodes) {
        SCOPED_TRACE(episode.address);
        Address a;
        ASSERT_TRUE(parse(episode.address, a));
        servers.insert(a.server);
        const int range = documentation_range(a.server);
        EXPECT_NE(range, -1) << "server outside the documentation ranges";
        ranges.insert(range);
    }
    EXPECT_EQ(servers.size(), episodes::kEpisodes.size());
    EXPECT_EQ(ranges, (std::set<int>{0, 1, 2}));
}

TEST(EpisodeTable, TitlesAreCodePage936InListOrder) {
    // "砚川谣2 第N集" encoded in code page 936.
    const std::string_view expected[] = {
        "\xd1\xe2\xb4\xa8\xd2\xa5\x32\x20\xb5\xda\x31\xbc\xaf",
        "\xd1\xe2\xb4\xa8\xd2\xa5\x32\x20\xb5\xda\x32\xbc\xaf",
        "\xd1\xe2\xb4\xa8\xd2\xa5\x32\x20\xb5\xda\x33\xbc\xaf",
    };
    for (std::size_t i = 0; i < episodes::kEpisodes.size(); ++i) {
        EXPECT_EQ(std::string_view(episodes::kEpisodes[i].title), expected[i]) << "entry " << i;
    }
}

}  // namespace
