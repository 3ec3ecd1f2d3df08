// The handlers are judged by the exact property calls they make, in order.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "episodes/episode_table.h"
#include "episodes/handlers.h"
#include "recording_properties.h"
#include "runtime/properties.h"
#include "ui/ids.h"

namespace {

using fake::Call;

Call read_selection() {
    return {Call::Kind::Get, ui::kMainWindow, ui::kEpisodeList, rt::prop::kCurrentSelection,
            rt::kWholeProperty, 0, 0, std::nullopt};
}

Call load(const char* address) {
    return {Call::Kind::Set, ui::kMainWindow, ui::kBrowserView, rt::prop::kAddress,
            rt::kWholeProperty, 0, 0, std::string(address)};
}

Call cover_visible(bool visible) {
    return {Call::Kind::Set, ui::kMainWindow, ui::kCover, rt::prop::kVisible,
            rt::kWholeProperty, visible ? 1u : 0u, 0, std::nullopt};
}

std::uint64_t slot(std::int32_t lower, std::uint32_t upper = 0) {
    return (std::uint64_t{upper} << 32) | static_cast<std::uint32_t>(lower);
}

struct ChoiceCase {
    const char* name;
    std::vector<std::uint64_t> reads;  // successive answers to the selection reads
    std::vector<Call> expected;
};

std::vector<ChoiceCase> choice_cases() {
    const auto& e = episodes::kEpisodes;
    const Call r = read_selection();
    return {
        {"first", {slot(0)}, {r, load(e[0].address), cover_visible(false)}},
        {"second", {slot(1)}, {r, r, load(e[1].address), cover_visible(false)}},
        {"third", {slot(2)}, {r, r, r, load(e[2].address), cover_visible(false)}},
        {"none", {slot(-1)}, {r, r, r, cover_visible(false)}},
        {"past_the_end", {slot(3)}, {r, r, r, cover_visible(false)}},
        // Only the lower half is the index.
        {"upper_half_ignored", {slot(1, 0xDEADBEEF)}, {r, r, load(e[1].address), cover_visible(false)}},
        {"upper_half_with_none", {slot(-1, 1)}, {r, r, r, cover_visible(false)}},
        // A selection that moves between the comparisons: each one sees the newest value.
        {"moves_to_second", {slot(5), slot(1)}, {r, r, load(e[1].address), cover_visible(false)}},
        {"moves_to_third", {slot(1), slot(0), slot(2)},
         {r, r, r, load(e[2].address), cover_visible(false)}},
        {"moves_back_past_its_turn", {slot(1), slot(0), slot(0)}, {r, r, r, cover_visible(false)}},
    };
}

class EpisodeChosen : public testing::TestWithParam<ChoiceCase> {};

TEST_P(EpisodeChosen, MakesExactlyTheseCalls) {
    const fake::Recorder recorder(GetParam().reads);
    episodes::on_episode_chosen();
    EXPECT_EQ(recorder.calls(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Selections, EpisodeChosen, testing::ValuesIn(choice_cases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackClicked, BlanksTheViewThenShowsTheCoverLeavingTheListAlone) {
    const fake::Recorder recorder({slot(2)});
    episodes::on_back_clicked();
    EXPECT_EQ(recorder.calls(),
              (std::vector<Call>{load("about:blank"), cover_visible(true)}));
}

class CoverPressed : public testing::TestWithParam<std::int32_t> {};

TEST_P(CoverPressed, TouchesNoProperty) {
    const fake::Recorder recorder({slot(0)});
    episodes::on_cover_pressed(10, 20, GetParam());
    episodes::on_cover_pressed(-1, 0x7FFFFFFF, GetParam());
    EXPECT_TRUE(recorder.calls().empty());
}

// No keys, Shift, Ctrl, Alt, and all three together.
INSTANTIATE_TEST_SUITE_P(KeyStates, CoverPressed, testing::Values(0, 1, 2, 4, 7));

}  // namespace
