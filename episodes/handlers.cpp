#include "episodes/handlers.h"

#include <cstddef>

#include "episodes/episode_table.h"
#include "runtime/properties.h"
#include "runtime/value.h"
#include "ui/ids.h"

namespace episodes {
namespace {

// Only the lower half carries the index; the upper half is not part of the selection.
std::int32_t current_selection() {
    const std::uint64_t slot = rt::get_property(ui::kMainWindow, ui::kEpisodeList,
                                                rt::prop::kCurrentSelection, rt::kWholeProperty);
    return rt::Value::from_slot(slot).as_int();
}

// The run time may hold on to the address after this call, so only strings with static
// storage (the table's) are passed.
void load_address(const char* address) {
    const rt::Value value = rt::Value::text(address);
    rt::set_property(ui::kMainWindow, ui::kBrowserView, rt::prop::kAddress, rt::kWholeProperty,
                     value.lo, value.hi);
}

void show_cover(bool visible) {
    const rt::Value value = rt::Value::logical(visible);
    rt::set_property(ui::kMainWindow, ui::kCover, rt::prop::kVisible, rt::kWholeProperty,
                     value.lo, value.hi);
}

}  // namespace

void on_episode_chosen() {
    // Each comparison reads the selection again instead of keeping it in a local: the
    // handler has always behaved this way and the tests hold it to that, so a selection
    // that moves while we look is judged by its newest value.
    for (std::size_t index = 0; index < kEpisodes.size(); ++index) {
        if (current_selection() == static_cast<std::int32_t>(index)) {
            load_address(kEpisodes[index].address);
            break;
        }
    }
    // The address goes in before the cover comes off, so the load has already started
    // when the view comes into sight. With no episode selected the view is uncovered all
    // the same and shows whatever it held.
    show_cover(false);
}

void on_back_clicked() {
    // Blank first so playback stops before the cover goes back over the view. The list
    // keeps its selection: it still names the episode watched last.
    load_address(kBlankAddress);
    show_cover(true);
}

void on_cover_pressed(std::int32_t /*x*/, std::int32_t /*y*/, std::int32_t /*key_state*/) {
    // Bound only so the press is seen; giving no result lets the cover handle it as usual.
}

}  // namespace episodes
