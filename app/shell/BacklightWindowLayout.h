// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The backlight window's controls: 6 commands, 6 labels and 108 key buttons,
// in array order. Only the labels draw text; each key gets a frame in its
// colour at run time, so the artwork leaves two pixels free around every key.
#pragma once

#include "LayoutRow.h"
#include "MainWindowLayout.h"

namespace layout {

namespace detail {

// The backlight keys are named as in the main window; only their places differ.
constexpr const wchar_t* mainKeyCaption(int keyId)
{
    for (const Row& row : mainWindowRows)
        if (row.keyId == keyId)
            return row.captionEn;
    return nullptr;
}

constexpr Row backlightKey(int keyId, Rect rect)
{
    const wchar_t* caption = mainKeyCaption(keyId);
    return {99 + keyId, rect, caption, caption, Kind::Key, keyId};
}

}  // namespace detail

inline constexpr Row backlightWindowRows[] = {
    // Commands.
    {.id = 88, .rect = {1205, 9, 1238, 45}, .tooltipEn = L"Close", .tooltipZh = L"关闭"},  // without keeping changes
    {90, {303, 420, 428, 454}},  // set all keys to one colour
    {91, {665, 420, 758, 454}},  // keep and write to the keyboard
    {92, {864, 420, 954, 454}},  // cancel
    {94, {762, 420, 855, 454}},  // keep the colours
    {95, {203, 420, 298, 454}},  // all keys off

    // Labels. Their numbers only have to be positive and distinct from the
    // commands and keys: labels are never hit.
    {70, {550, 13, 702, 45}, L"BackLight Settings", L"背光设置面板", Kind::Title},
    {71, {300, 428, 398, 454}, L"Set All", L"快速设置", Kind::Label},
    {72, {670, 428, 755, 454}, L"Program", L"写入背光", Kind::Label},
    {73, {860, 428, 954, 454}, L"Cancel", L"取消", Kind::Label},
    {74, {766, 428, 852, 454}, L"OK", L"确定", Kind::Label},
    {75, {200, 428, 288, 454}, L"Default", L"恢复默认", Kind::Label},

    // Key buttons: number 99 + key ID.
    detail::backlightKey(1, {39, 102, 86, 145}),
    detail::backlightKey(2, {141, 102, 188, 145}),
    detail::backlightKey(3, {192, 102, 239, 145}),
    detail::backlightKey(4, {243, 102, 290, 145}),
    detail::backlightKey(5, {294, 102, 341, 145}),
    detail::backlightKey(6, {373, 102, 420, 145}),
    detail::backlightKey(7, {424, 102, 471, 145}),
    detail::backlightKey(8, {475, 102, 522, 145}),
    detail::backlightKey(9, {526, 102, 573, 145}),
    detail::backlightKey(10, {604, 102, 651, 145}),
    detail::backlightKey(11, {655, 102, 702, 145}),
    detail::backlightKey(12, {706, 102, 753, 145}),
    detail::backlightKey(13, {757, 102, 804, 145}),
    detail::backlightKey(14, {39, 153, 86, 196}),
    detail::backlightKey(15, {90, 153, 137, 196}),
    detail::backlightKey(16, {141, 153, 188, 196}),
    detail::backlightKey(17, {192, 153, 239, 196}),
    detail::backlightKey(18, {244, 153, 291, 196}),
    detail::backlightKey(19, {295, 153, 342, 196}),
    detail::backlightKey(20, {346, 153, 393, 196}),
    detail::backlightKey(21, {397, 153, 444, 196}),
    detail::backlightKey(22, {448, 153, 495, 196}),
    detail::backlightKey(23, {499, 153, 546, 196}),
    detail::backlightKey(24, {551, 153, 598, 196}),
    detail::backlightKey(25, {602, 153, 649, 196}),
    detail::backlightKey(26, {653, 153, 700, 196}),
    detail::backlightKey(27, {704, 153, 804, 196}),
    detail::backlightKey(28, {39, 203, 114, 246}),
    detail::backlightKey(29, {118, 203, 165, 246}),
    detail::backlightKey(30, {169, 203, 216, 246}),
    detail::backlightKey(31, {220, 203, 267, 246}),
    detail::backlightKey(32, {271, 203, 318, 246}),
    detail::backlightKey(33, {323, 203, 370, 246}),
    detail::backlightKey(34, {374, 203, 421, 246}),
    detail::backlightKey(35, {425, 203, 472, 246}),
    detail::backlightKey(36, {476, 203, 523, 246}),
    detail::backlightKey(37, {527, 203, 574, 246}),
    detail::backlightKey(38, {578, 203, 625, 246}),
    detail::backlightKey(39, {630, 203, 677, 246}),
    detail::backlightKey(40, {681, 203, 728, 246}),
    detail::backlightKey(41, {732, 203, 804, 246}),
    detail::backlightKey(42, {39, 254, 125, 297}),
    detail::backlightKey(43, {129, 254, 176, 297}),
    detail::backlightKey(44, {180, 254, 227, 297}),
    detail::backlightKey(45, {231, 254, 278, 297}),
    detail::backlightKey(46, {283, 254, 330, 297}),
    detail::backlightKey(47, {334, 254, 381, 297}),
    detail::backlightKey(48, {385, 254, 432, 297}),
    detail::backlightKey(49, {436, 254, 483, 297}),
    detail::backlightKey(50, {487, 254, 534, 297}),
    detail::backlightKey(51, {538, 254, 585, 297}),
    detail::backlightKey(52, {590, 254, 637, 297}),
    detail::backlightKey(53, {641, 254, 688, 297}),
    detail::backlightKey(54, {692, 254, 804, 297}),
    detail::backlightKey(55, {39, 304, 156, 347}),
    detail::backlightKey(56, {160, 304, 207, 347}),
    detail::backlightKey(57, {211, 304, 258, 347}),
    detail::backlightKey(58, {262, 304, 309, 347}),
    detail::backlightKey(59, {314, 304, 361, 347}),
    detail::backlightKey(60, {365, 304, 412, 347}),
    detail::backlightKey(61, {416, 304, 463, 347}),
    detail::backlightKey(62, {467, 304, 514, 347}),
    detail::backlightKey(63, {518, 304, 565, 347}),
    detail::backlightKey(64, {570, 304, 617, 347}),
    detail::backlightKey(65, {621, 304, 668, 347}),
    detail::backlightKey(66, {672, 304, 804, 347}),
    detail::backlightKey(67, {39, 355, 102, 398}),
    detail::backlightKey(68, {106, 355, 169, 398}),
    detail::backlightKey(69, {174, 355, 237, 398}),
    detail::backlightKey(70, {241, 355, 536, 398}),
    detail::backlightKey(71, {540, 355, 603, 398}),
    detail::backlightKey(72, {607, 355, 670, 398}),
    detail::backlightKey(73, {674, 355, 737, 398}),
    detail::backlightKey(74, {741, 355, 804, 398}),
    detail::backlightKey(75, {834, 102, 881, 145}),
    detail::backlightKey(76, {885, 102, 932, 145}),
    detail::backlightKey(77, {936, 102, 983, 145}),
    detail::backlightKey(78, {834, 153, 881, 196}),
    detail::backlightKey(79, {885, 153, 932, 196}),
    detail::backlightKey(80, {936, 153, 983, 196}),
    detail::backlightKey(81, {834, 203, 881, 246}),
    detail::backlightKey(82, {885, 203, 932, 246}),
    detail::backlightKey(83, {936, 203, 983, 246}),
    detail::backlightKey(84, {885, 304, 932, 347}),
    detail::backlightKey(85, {834, 355, 881, 398}),
    detail::backlightKey(86, {885, 355, 932, 398}),
    detail::backlightKey(87, {936, 355, 983, 398}),
    detail::backlightKey(88, {1014, 102, 1061, 145}),
    detail::backlightKey(89, {1065, 102, 1112, 145}),
    detail::backlightKey(90, {1116, 102, 1163, 145}),
    detail::backlightKey(91, {1167, 102, 1214, 145}),
    detail::backlightKey(92, {1014, 153, 1061, 196}),
    detail::backlightKey(93, {1065, 153, 1112, 196}),
    detail::backlightKey(94, {1116, 153, 1163, 196}),
    detail::backlightKey(95, {1167, 153, 1214, 196}),
    detail::backlightKey(96, {1014, 203, 1061, 246}),
    detail::backlightKey(97, {1065, 203, 1112, 246}),
    detail::backlightKey(98, {1116, 203, 1163, 246}),
    detail::backlightKey(99, {1167, 203, 1214, 297}),
    detail::backlightKey(100, {1014, 254, 1061, 297}),
    detail::backlightKey(101, {1065, 254, 1112, 297}),
    detail::backlightKey(102, {1116, 254, 1163, 297}),
    detail::backlightKey(103, {1014, 304, 1061, 347}),
    detail::backlightKey(104, {1065, 304, 1112, 347}),
    detail::backlightKey(105, {1116, 304, 1163, 347}),
    detail::backlightKey(106, {1014, 355, 1112, 398}),
    detail::backlightKey(107, {1116, 355, 1163, 398}),
    detail::backlightKey(108, {1167, 304, 1214, 398}),
};

inline constexpr Window backlightWindow{
    .name = "backlight",
    .background = 131,
    .fallbackWidth = 1256,
    .fallbackHeight = 476,
    .transparent = {1, 2, 254},
    .recordCount = 127,
    .rows = backlightWindowRows,
};

}  // namespace layout
