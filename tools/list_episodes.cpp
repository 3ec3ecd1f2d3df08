// Prints the episode addresses, one a line, straight from the program's own table, so
// scripts never carry copies that could drift from it. Built for the host, not Windows.
#include <cstdio>

#include "episodes/episode_table.h"

int main() {
    for (const auto& episode : episodes::kEpisodes) {
        if (std::printf("%s\n", episode.address) < 0) return 1;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
