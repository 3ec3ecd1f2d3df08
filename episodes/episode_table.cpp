#include "episodes/episode_table.h"

namespace episodes {

// The servers sit in the address blocks reserved for documentation (192.0.2.0/24,
// 198.51.100.0/24, 203.0.113.0/24), so the program can never fetch anything from a real
// host; tests serve these addresses from a delivery node inside a private network
// namespace. Scripts learn the addresses from tools/list_episodes, never by copying them.
const std::array<Episode, 3> kEpisodes = {{
    {"砚川谣2 第1集",
     "http://198.51.100.23/youku/A2ADA1C6003F0E8D3F14ECF75B/"
     "4C49DFD799C57CAD7BE372773E45DE14D30A7D-866B-1A9A-CA0B-6D429EA1C384.mp4"},
    {"砚川谣2 第2集",
     "http://203.0.113.140/youku/3CFEA506F2F6126770D6F3DA/"
     "4136342B9AA2394496ABE45784E0D0AD5882C5-A003-2BA3-5D92-DBED5AB88AFF.mp4"},
    {"砚川谣2 第3集",
     "http://192.0.2.77/youku/9379939232D489B60EF37150FA/"
     "F5C8110407216AC563602753BBE0B362532EB4-B3AE-50CA-1766-1B8B9408B95F.mp4"},
}};

}  // namespace episodes
