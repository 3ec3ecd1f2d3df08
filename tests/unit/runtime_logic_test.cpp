// The run time's logic that needs no window: finalisation list, focus sequence,
// centring and property values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/finalizers.h"
#include "runtime/focus_order.h"
#include "runtime/geometry.h"
#include "runtime/value.h"

namespace {

std::vector<size_t> as_vector(const rt::List<size_t>& list) { return {list.begin(), list.end()}; }

std::string g_trace;
void first() { g_trace += "1"; }
void second() { g_trace += "2"; }
void third() { g_trace += "3"; }

TEST(FinalizerList, RunsOnceEachInRegistrationOrderAndEmpties) {
    rt::FinalizerList list;
    g_trace.clear();
    list.add(second);
    list.add(first);
    list.add(second);  // already there: no second entry
    list.add(third);
    list.add(first);
    EXPECT_EQ(list.size(), 3u);
    list.run_all();
    EXPECT_EQ(g_trace, "213");
    EXPECT_TRUE(list.empty());
    list.run_all();
    EXPECT_EQ(g_trace, "213");
}

TEST(FinalizerList, DiscardRunsNothing) {
    rt::FinalizerList list;
    g_trace.clear();
    list.add(first);
    list.add(nullptr);
    list.discard();
    list.run_all();
    EXPECT_EQ(g_trace, "");
}

rt::FinalizerList* g_list = nullptr;
void registers_third() {
    g_trace += "r";
    g_list->add(third);
    g_list->add(registers_third);  // is running now: not run again
}

TEST(FinalizerList, RoutineRegisteredWhileRunningRunsAfterTheOthers) {
    rt::FinalizerList list;
    g_list = &list;
    g_trace.clear();
    list.add(registers_third);
    list.add(first);
    list.run_all();
    EXPECT_EQ(g_trace, "r13");
    EXPECT_TRUE(list.empty());
}

TEST(FocusSequence, AscendingOrderAndReverseTemplateOrderWithinEqualOrders) {
    struct Case {
        const char* what;
        std::vector<rt::FocusCandidate> candidates;
        std::vector<size_t> expected;
    };
    const Case cases[] = {
        // The main window: button, list, label, cover, browser view.
        {"main window", {{0, true}, {0, true}, {0, false}, {0, false}, {0, true}}, {4, 1, 0}},
        {"cover hidden: list drops out", {{0, true}, {0, false}, {0, false}, {0, false}, {0, true}}, {4, 0}},
        {"focus orders first", {{2, true}, {0, true}, {1, true}}, {1, 2, 0}},
        {"ties inside orders", {{1, true}, {0, true}, {1, true}, {0, true}}, {3, 1, 2, 0}},
        {"nothing eligible", {{0, false}, {0, false}}, {}},
        {"none at all", {}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(as_vector(rt::focus_sequence(c.candidates)), c.expected) << c.what;
}

TEST(FocusSequence, StepsWrapBothWays) {
    const std::vector<size_t> seq{4, 1, 0};
    struct Case {
        std::optional<size_t> current;
        bool backward;
        size_t expected;
    };
    const Case cases[] = {
        {4, false, 1}, {1, false, 0}, {0, false, 4},           // Tab wraps at the end
        {4, true, 0},  {0, true, 1},  {1, true, 4},            // Shift+Tab wraps at the start
        {std::nullopt, false, 4}, {std::nullopt, true, 0},     // focus outside the sequence
        {3, false, 4}, {3, true, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::step_focus(seq, c.current, c.backward), c.expected)
            << "from " << (c.current ? std::to_string(*c.current) : "none") << (c.backward ? " back" : "");
    EXPECT_EQ(rt::step_focus({}, 1, false), std::nullopt);
    const std::vector<size_t> one{2};
    EXPECT_EQ(rt::step_focus(one, 2, false), 2u);
    EXPECT_EQ(rt::step_focus(one, 2, true), 2u);
}

TEST(Centring, FractionDropped) {
    struct Case {
        int sw, sh, w, h;
        rt::Point expected;
    };
    const Case cases[] = {
        {1920, 1080, 212, 185, {854, 447}},
        {1366, 768, 212, 185, {577, 291}},
        {1024, 768, 212, 185, {406, 291}},
        {213, 186, 212, 185, {0, 0}},
        {100, 100, 212, 185, {-56, -42}},  // larger than the screen: towards zero
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::centred_origin(c.sw, c.sh, c.w, c.h), c.expected) << c.sw << "x" << c.sh;
}

TEST(DropDownHeight, RoundsUpToWholeEntries) {
    struct Case {
        int at_least, field, entry, expected;
    };
    const Case cases[] = {
        {160, 26, 15, 163},  // 132 px of room: rounded up to 9 entries
        {163, 26, 15, 163},  // already whole
        {160, 22, 17, 160},  // 136 = 8 x 17
        {160, 26, 1, 160},
        {160, 160, 15, 160},  // no room below the field
        {160, 200, 15, 160},
        {160, 26, 0, 160},  // no entry height known
        {160, 26, 200, 228},  // room for a single entry
    };
    for (const Case& c : cases)
        EXPECT_EQ(rt::whole_entries_height(c.at_least, c.field, c.entry), c.expected)
            << c.at_least << " " << c.field << " " << c.entry;
}

TEST(PropertyValue, HalvesAndSlots) {
    EXPECT_EQ(rt::Value::integer(-1).lo, 0xFFFFFFFFu);
    EXPECT_EQ(rt::Value::integer(-1).hi, 0u);  // sign stays in the lower half
    EXPECT_EQ(rt::Value::integer(-1).as_int(), -1);
    EXPECT_EQ(rt::Value::from_slot(0x00000000FFFFFFFFull).as_int(), -1);
    EXPECT_EQ(rt::Value::from_slot(0x1234567800000002ull).as_int(), 2);  // only the lower half counts
    EXPECT_TRUE(rt::Value::from_slot(0x0000000100000000ull).as_bool() == false);
    EXPECT_TRUE((rt::Value{7, 0}).as_bool());
    EXPECT_EQ(rt::Value::logical(true).slot(), 1u);
    EXPECT_EQ(rt::Value::logical(false).slot(), 0u);

    const char* text = "about:blank";
    const rt::Value v = rt::Value::text(text);
    EXPECT_EQ(v.as_text(), text);
    if constexpr (sizeof(void*) == 4) {
        EXPECT_EQ(v.hi, 0u);
    }
    EXPECT_STREQ((rt::Value{0, 0}).as_text(), "");  // the null address is the empty text
}

}  // namespace
