// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The firmware update window's controls, in array order. The buttons draw no
// caption themselves: a label lies over each of them.
#pragma once

#include "../shell/LayoutRow.h"

namespace layout {

inline constexpr Row firmwareWindowRows[] = {
    {.id = 89, .rect = {332, 9, 355, 45}, .tooltipEn = L"Close", .tooltipZh = L"关闭"},
    {90, {220, 70, 333, 100}},  // get version
    {91, {270, 108, 333, 140}}, // open a firmware file
    {92, {47, 201, 129, 235}},  // update
    {93, {237, 201, 327, 235}}, // cancel
    {187, {42, 116, 119, 135}, L"File", L"载入文件：", Kind::Label},
    {188, {100, 13, 266, 45}, L"Firmware Update", L"键盘固件升级", Kind::Title},
    {190, {220, 76, 333, 100}, L"Get Version", L"获取固件版本", Kind::Label},
    {191, {270, 116, 333, 138}, L"Open", L"打开", Kind::Label},
    {192, {47, 209, 129, 235}, L"Update", L"更新", Kind::Label},
    {193, {237, 209, 327, 235}, L"Cancel", L"取消", Kind::Label},
};

// Places of the two read-only edit controls (1001 version, 1002 path) and of
// the download bar; the artwork draws wells under the edits and the bar's
// empty track, the active image its fill.
inline constexpr Rect firmwareVersionBox{44, 78, 44 + 162, 78 + 18};
inline constexpr Rect firmwarePathBox{112, 116, 112 + 143, 116 + 19};
inline constexpr Rect firmwareBar{40, 150, 40 + 290, 150 + 22};

inline constexpr Window firmwareWindow{
    .name = "firmware",
    .background = 128,
    .hover = 129,
    .active = 130,
    .fallbackWidth = 372,
    .fallbackHeight = 256,
    .transparent = {255, 0, 0},
    .recordCount = 107,
    .rows = firmwareWindowRows,
};

}  // namespace layout
