// The run time's own list and text types.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "runtime/list.h"
#include "runtime/text.h"

namespace {

TEST(List, GrowsKeepingOrderAndOwnership) {
    rt::List<std::unique_ptr<int>> list;
    for (int i = 0; i < 100; ++i) list.push_back(std::make_unique<int>(i));
    ASSERT_EQ(list.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(list[i]);
        EXPECT_EQ(*list[i], i);
    }
    EXPECT_EQ(*list.back(), 99);

    rt::List<std::unique_ptr<int>> moved = std::move(list);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.begin(), list.end());
    EXPECT_EQ(moved.size(), 100u);
}

// An element that, when it goes, notes its number and how big its list looked then.
struct Tracer {
    static std::vector<std::string>* log;
    static const rt::List<Tracer>* owner;
    int id = -1;
    Tracer() = default;
    explicit Tracer(int i) : id(i) {}
    Tracer(Tracer&& o) noexcept : id(std::exchange(o.id, -1)) {}
    Tracer& operator=(Tracer&& o) noexcept {
        gone();
        id = std::exchange(o.id, -1);
        return *this;
    }
    ~Tracer() { gone(); }
    void gone() {
        if (id >= 0) log->push_back(std::to_string(id) + "@" + std::to_string(owner->size()));
        id = -1;
    }
};
std::vector<std::string>* Tracer::log = nullptr;
const rt::List<Tracer>* Tracer::owner = nullptr;

TEST(List, ClearDestroysFirstToLastWithTheListAlreadyEmpty) {
    std::vector<std::string> log;
    rt::List<Tracer> list;
    Tracer::log = &log;
    Tracer::owner = &list;
    for (int i = 0; i < 5; ++i) list.push_back(Tracer(i));  // crosses a growth
    EXPECT_TRUE(log.empty()) << "growing destroyed a live element";
    list.clear();
    EXPECT_EQ(log, (std::vector<std::string>{"0@0", "1@0", "2@0", "3@0", "4@0"}));
    EXPECT_TRUE(list.empty());
    list.push_back(Tracer(7));  // usable again after clearing
    EXPECT_EQ(list.size(), 1u);
    list.clear();
    Tracer::log = nullptr;
}

TEST(List, SizedListIsValueInitialised) {
    rt::List<std::uint32_t> list(3);
    ASSERT_EQ(list.size(), 3u);
    for (std::uint32_t v : list) EXPECT_EQ(v, 0u);
    EXPECT_TRUE(rt::List<int>(0).empty());
    EXPECT_TRUE(rt::contains(list, 0u));
    EXPECT_FALSE(rt::contains(list, 1u));
}

TEST(Text, BuildsMessages) {
    const rt::Text empty;
    EXPECT_TRUE(empty.empty());
    EXPECT_EQ(empty.c_str()[0], L'\0');
    EXPECT_TRUE(rt::Text(static_cast<const wchar_t*>(nullptr)).empty());

    const rt::Text joined = L"控件 " + rt::Text(L"cover") + L" 的父控件不存在。";
    EXPECT_EQ(joined, L"控件 cover 的父控件不存在。");
    EXPECT_EQ(joined.c_str()[joined.size()], L'\0');
    EXPECT_EQ(L"" + empty + L"", L"");

    rt::Text copy = joined;
    copy += L"!";
    EXPECT_EQ(joined, L"控件 cover 的父控件不存在。") << "a copy shares its characters";
    EXPECT_EQ(copy.size(), joined.size() + 1);

    rt::Text room = rt::Text::sized(3);
    EXPECT_EQ(room.size(), 3u);
    room.data()[0] = L'a';
    EXPECT_EQ(room.c_str()[3], L'\0');

    rt::GbkText narrow = "about:";
    narrow += "blank";
    EXPECT_STREQ(narrow.c_str(), "about:blank");
}

}  // namespace
