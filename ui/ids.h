// Identifiers of the main window and its controls, shared by the template and the handlers.
#pragma once

#include "runtime/ids.h"

namespace ui {

inline constexpr rt::WindowId kMainWindow = 0x52010001;

inline constexpr rt::ControlId kBrowserView = 0x16010002;  // 超文本浏览框1
inline constexpr rt::ControlId kCover = 0x16010003;        // 图片框1
inline constexpr rt::ControlId kCaption = 0x16010009;      // 标签1
inline constexpr rt::ControlId kEpisodeList = 0x1601000A;  // 组合框1
inline constexpr rt::ControlId kBackButton = 0x16010010;   // 按钮1

}  // namespace ui
