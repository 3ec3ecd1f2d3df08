// The episodes the list offers, in list order, and the address that empties the view.
#pragma once

#include <array>

namespace episodes {

struct Episode {
    const char* title;    // code page 936, as the list shows it
    const char* address;  // ASCII
};

extern const std::array<Episode, 3> kEpisodes;

// Loading this drops whatever the browser view was playing.
inline constexpr const char* kBlankAddress = "about:blank";

}  // namespace episodes
