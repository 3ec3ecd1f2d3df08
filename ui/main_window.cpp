// The window template: the main window and its controls, as data.
#include <array>

#include "episodes/episode_table.h"
#include "episodes/handlers.h"
#include "runtime/runtime.h"
#include "ui/ids.h"
#include "ui/resource_ids.h"

namespace {

using rt::Binding;
using rt::ControlSpec;
using rt::ControlType;

// The list shows the episode table's titles in its order.
const std::array kEpisodeTitles = {
    episodes::kEpisodes[0].title, episodes::kEpisodes[1].title, episodes::kEpisodes[2].title};

constexpr Binding kBackButtonEvents[] = {{rt::event::kClicked, rt::bind<&episodes::on_back_clicked>}};
constexpr Binding kEpisodeListEvents[] = {{rt::event::kItemSelected, rt::bind<&episodes::on_episode_chosen>}};
constexpr Binding kCoverEvents[] = {{rt::event::kLeftButtonDown, rt::bind<&episodes::on_cover_pressed>}};

// In template order: the earlier lies in front of later ones with the same parent.
const ControlSpec kMainControls[] = {
    {.name = "按钮1", .id = ui::kBackButton, .type = ControlType::Button, .parent = rt::kNoControl,
     .rect = {0, 80, 64, 32}, .tab_stop = true, .bindings = kBackButtonEvents, .text = "返回主界面"},
    {.name = "组合框1", .id = ui::kEpisodeList, .type = ControlType::ComboBox, .parent = ui::kCover,
     .rect = {64, 128, 144, 20}, .tab_stop = true, .bindings = kEpisodeListEvents, .items = kEpisodeTitles},
    {.name = "标签1", .id = ui::kCaption, .type = ControlType::Label, .parent = ui::kCover,
     .rect = {0, 112, 48, 40}, .text = "下载地址"},
    {.name = "图片框1", .id = ui::kCover, .type = ControlType::PicBox, .parent = rt::kNoControl,
     .rect = {0, 0, 208, 160}, .bindings = kCoverEvents, .picture = IDR_COVER_JPEG},
    {.name = "超文本浏览框1", .id = ui::kBrowserView, .type = ControlType::HtmlViewer, .parent = rt::kNoControl,
     .rect = {0, 0, 312, 136}, .tab_stop = true,
     .html = {.font_size = 2, .offline = false, .silent = false, .url = ""}},
};

const rt::WindowSpec kWindows[] = {
    {.name = "窗口", .id = ui::kMainWindow, .rect = {50, 50, 212, 185}, .title = "砚川谣下载器",
     .icon = "DEFAULT_ICON", .background = IDR_COVER_JPEG, .centred = true, .esc_closes = true,
     .enter_moves_focus = false, .f1_opens_help = false, .controls = kMainControls},
};

const rt::Template kTemplate{kWindows};

}  // namespace

const rt::Template& program_template() { return kTemplate; }
