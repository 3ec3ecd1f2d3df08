// The window template as the program ships it.
#include <gtest/gtest.h>

#include <set>

#include "episodes/episode_table.h"
#include "episodes/handlers.h"
#include "runtime/focus_order.h"
#include "runtime/runtime.h"
#include "runtime/text.h"
#include "ui/ids.h"
#include "ui/resource_ids.h"

namespace {

using rt::ControlType;

const rt::WindowSpec& main_window() {
    const auto& windows = program_template().windows;
    EXPECT_EQ(windows.size(), 1u);
    return windows.front();
}

TEST(WindowTemplate, MainWindowSettings) {
    const rt::WindowSpec& w = main_window();
    EXPECT_EQ(w.id, 0x52010001u);
    EXPECT_EQ(rt::from_gbk(w.title), L"砚川谣下载器");
    EXPECT_EQ(w.rect.width, 212);
    EXPECT_EQ(w.rect.height, 185);
    EXPECT_TRUE(w.centred);
    EXPECT_TRUE(w.esc_closes);
    EXPECT_FALSE(w.enter_moves_focus);
    EXPECT_FALSE(w.f1_opens_help);
    EXPECT_STREQ(w.icon, "DEFAULT_ICON");
    EXPECT_EQ(w.background, IDR_COVER_JPEG);
    EXPECT_TRUE(w.bindings.empty());
}

TEST(WindowTemplate, ControlsInTemplateOrder) {
    struct Expected {
        const wchar_t* name;
        rt::ControlId id;
        ControlType type;
        rt::ControlId parent;
        rt::Rect rect;
        bool tab_stop;
    };
    const Expected expected[] = {
        {L"按钮1", 0x16010010, ControlType::Button, 0, {0, 80, 64, 32}, true},
        {L"组合框1", 0x1601000A, ControlType::ComboBox, 0x16010003, {64, 128, 144, 20}, true},
        {L"标签1", 0x16010009, ControlType::Label, 0x16010003, {0, 112, 48, 40}, false},
        {L"图片框1", 0x16010003, ControlType::PicBox, 0, {0, 0, 208, 160}, false},
        {L"超文本浏览框1", 0x16010002, ControlType::HtmlViewer, 0, {0, 0, 312, 136}, true},
    };
    const auto& controls = main_window().controls;
    ASSERT_EQ(controls.size(), std::size(expected));
    for (size_t i = 0; i < controls.size(); ++i) {
        const rt::ControlSpec& c = controls[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(i);
        EXPECT_EQ(rt::from_gbk(c.name), e.name);
        EXPECT_EQ(c.id, e.id);
        EXPECT_EQ(c.type, e.type);
        EXPECT_EQ(c.parent, e.parent);
        EXPECT_EQ(c.rect.left, e.rect.left);
        EXPECT_EQ(c.rect.top, e.rect.top);
        EXPECT_EQ(c.rect.width, e.rect.width);
        EXPECT_EQ(c.rect.height, e.rect.height);
        EXPECT_EQ(c.tab_stop, e.tab_stop);
        EXPECT_TRUE(c.visible);
        EXPECT_FALSE(c.disabled);
        EXPECT_EQ(c.focus_order, 0);
    }
}

TEST(WindowTemplate, IdentifiersUniqueAndParentsAreContainers) {
    std::set<rt::ControlId> ids;
    const auto& controls = main_window().controls;
    for (const rt::ControlSpec& c : controls) {
        EXPECT_TRUE(ids.insert(c.id).second) << std::hex << c.id;
        if (c.parent == rt::kNoControl) continue;
        auto parent = std::find_if(controls.begin(), controls.end(),
                                   [&](const rt::ControlSpec& p) { return p.id == c.parent; });
        ASSERT_NE(parent, controls.end());
        EXPECT_EQ(parent->type, ControlType::PicBox);
        EXPECT_EQ(parent->parent, rt::kNoControl);  // one level of nesting
    }
}

TEST(WindowTemplate, SettingsOfTheTypes) {
    const auto& controls = main_window().controls;
    auto find = [&](rt::ControlId id) -> const rt::ControlSpec& {
        return *std::find_if(controls.begin(), controls.end(), [&](const auto& c) { return c.id == id; });
    };
    EXPECT_EQ(rt::from_gbk(find(ui::kBackButton).text), L"返回主界面");
    EXPECT_EQ(rt::from_gbk(find(ui::kCaption).text), L"下载地址");
    EXPECT_EQ(find(ui::kCover).picture, IDR_COVER_JPEG);

    const auto& items = find(ui::kEpisodeList).items;
    const wchar_t* titles[] = {L"砚川谣2 第1集", L"砚川谣2 第2集", L"砚川谣2 第3集"};
    ASSERT_EQ(items.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(rt::from_gbk(items[i]), titles[i]);
        EXPECT_STREQ(items[i], episodes::kEpisodes[i].title);
    }

    const rt::HtmlViewerSettings& html = find(ui::kBrowserView).html;
    EXPECT_EQ(html.font_size, 2);
    EXPECT_FALSE(html.offline);
    EXPECT_FALSE(html.silent);
    EXPECT_STREQ(html.url, "");
}

TEST(WindowTemplate, BindingsLeadToTheHandlers) {
    struct Expected {
        rt::ControlId control;
        std::int32_t event;
        rt::Handler handler;
    };
    const Expected expected[] = {
        {ui::kBackButton, rt::event::kClicked, rt::bind<&episodes::on_back_clicked>},
        {ui::kEpisodeList, rt::event::kItemSelected, rt::bind<&episodes::on_episode_chosen>},
        {ui::kCover, rt::event::kLeftButtonDown, rt::bind<&episodes::on_cover_pressed>},
    };
    size_t bound = 0;
    for (const rt::ControlSpec& c : main_window().controls) {
        for (const rt::Binding& b : c.bindings) {
            auto it = std::find_if(std::begin(expected), std::end(expected),
                                   [&](const Expected& e) { return e.control == c.id && e.event == b.event; });
            ASSERT_NE(it, std::end(expected)) << std::hex << c.id << " event " << b.event;
            EXPECT_EQ(it->handler, b.handler);
            ++bound;
        }
    }
    EXPECT_EQ(bound, std::size(expected));
}

TEST(WindowTemplate, FocusSequenceIsBrowserListButton) {
    std::vector<rt::FocusCandidate> candidates;
    for (const rt::ControlSpec& c : main_window().controls) {
        const bool takes_focus = c.type != ControlType::PicBox && c.type != ControlType::Label;
        candidates.push_back({c.focus_order, c.visible && !c.disabled && c.tab_stop && takes_focus});
    }
    const auto sequence = rt::focus_sequence(candidates);
    std::vector<rt::ControlId> ids;
    for (size_t i : sequence) ids.push_back(main_window().controls[i].id);
    EXPECT_EQ(ids, (std::vector<rt::ControlId>{ui::kBrowserView, ui::kEpisodeList, ui::kBackButton}));
}

TEST(Text, Gbk) {
    // The program's texts are code page 936 bytes, whatever the compiler saw.
    EXPECT_STREQ("下载地址", "\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7");
    EXPECT_EQ(rt::from_gbk("\xcf\xc2\xd4\xd8\xb5\xd8\xd6\xb7"), L"下载地址");
    EXPECT_EQ(rt::to_gbk(L"返回主界面"), "返回主界面");
    EXPECT_EQ(rt::from_gbk(nullptr), L"");
    EXPECT_EQ(rt::from_gbk("about:blank"), L"about:blank");
}

TEST(Text, NumbersForMessages) {
    EXPECT_EQ(rt::hex(0x52010001), L"0x52010001");
    EXPECT_EQ(rt::hex(0), L"0x0");
    EXPECT_EQ(rt::hex(0xFFFFFFFFFFFFFFFFull), L"0xFFFFFFFFFFFFFFFF");
    EXPECT_EQ(rt::decimal(0), L"0");
    EXPECT_EQ(rt::decimal(19), L"19");
    EXPECT_EQ(rt::decimal(-2147483648LL), L"-2147483648");
    EXPECT_EQ(rt::decimal(-9223372036854775807LL - 1), L"-9223372036854775808");
}

}  // namespace
