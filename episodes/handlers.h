// Event handlers of the main window's episode controls. They act on the window only
// through rt::get_property / rt::set_property.
#pragma once

#include <cstdint>

namespace episodes {

// Item selected in the episode list: loads the chosen episode and uncovers the view.
void on_episode_chosen();

// Back button clicked: empties the browser view and puts the cover back over it.
void on_back_clicked();

// Left button pressed on the cover. Gives no result, so the press reaches the cover.
void on_cover_pressed(std::int32_t x, std::int32_t y, std::int32_t key_state);

}  // namespace episodes
