// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The progress window's controls, in array order. The cancel button draws no
// caption itself: the label laid over it does.
#pragma once

#include "../shell/LayoutRow.h"

namespace layout {

inline constexpr Row progressWindowRows[] = {
    {.id = 89, .rect = {332, 9, 355, 45}, .tooltipEn = L"Close", .tooltipZh = L"关闭"},
    {93, {237, 201, 327, 235}, L"Cancel", L"取消"},                 // cancel
    {187, {42, 116, 333, 135}, L"Keep the keyboard connected!", L"正在读写键盘，请勿插拔！", Kind::Label},
    {188, {100, 13, 266, 45}, L"Progress", L"读写进度", Kind::Title},
    {193, {237, 209, 327, 235}, L"Cancel", L"取消", Kind::Label},  // on the cancel button
};

// The bar: its empty track is in the background, its fill in the active image.
inline constexpr Rect progressBar{40, 150, 40 + 290, 150 + 22};

inline constexpr Window progressWindow{
    .name = "progress",
    .background = 139,
    .hover = 140,
    .active = 141,
    .fallbackWidth = 372,
    .fallbackHeight = 256,
    .transparent = {255, 0, 0},
    .recordCount = 107,
    .rows = progressWindowRows,
};

}  // namespace layout
