// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The main window's controls: 12 commands, the 108 key buttons of the
// on-screen keyboard and 10 labels, in array order (drawing and click order).
// Commands and keys draw no caption; the labels carry the visible text and the
// key legends are painted into the artwork from the key captions.
#pragma once

#include "LayoutRow.h"

namespace layout {

inline constexpr Row mainWindowRows[] = {
    // Commands.
    {85, {745, 95, 885, 130}},    // switch language
    // The picture buttons without a label name themselves in their tooltips.
    {.id = 87, .rect = {1167, 20, 1192, 50}, .tooltipEn = L"Help", .tooltipZh = L"帮助"},
    {.id = 88, .rect = {1140, 20, 1165, 50}, .tooltipEn = L"Hide to tray", .tooltipZh = L"隐藏到托盘"},
    {.id = 89, .rect = {1194, 20, 1219, 50}, .tooltipEn = L"Exit", .tooltipZh = L"退出"},
    {90, {15, 95, 110, 130}},     // save profile
    {91, {120, 95, 215, 130}},    // open profile
    {92, {225, 95, 325, 130}},    // clear the profile
    {93, {330, 95, 430, 130}},    // write keys
    {94, {435, 95, 535, 130}},    // backlight settings
    {95, {540, 95, 635, 130}},    // read all
    {96, {645, 95, 735, 130}},    // firmware update
    {.id = 97, .rect = {1032, 102, 1137, 130}, .tooltipEn = L"Show LevelDn", .tooltipZh = L"显示下档键"},

    // Key buttons: number 99 + key ID, captions name the key in both languages.
    {100, {50, 166, 95, 213}, L"Esc", L"Esc", Kind::Key, 1},
    {101, {147, 166, 197, 213}, L"F1", L"F1", Kind::Key, 2},
    {102, {199, 166, 249, 213}, L"F2", L"F2", Kind::Key, 3},
    {103, {251, 166, 301, 213}, L"F3", L"F3", Kind::Key, 4},
    {104, {303, 166, 353, 213}, L"F4", L"F4", Kind::Key, 5},
    {105, {379, 166, 429, 213}, L"F5", L"F5", Kind::Key, 6},
    {106, {431, 166, 481, 213}, L"F6", L"F6", Kind::Key, 7},
    {107, {483, 166, 533, 213}, L"F7", L"F7", Kind::Key, 8},
    {108, {535, 166, 585, 213}, L"F8", L"F8", Kind::Key, 9},
    {109, {610, 166, 660, 213}, L"F9", L"F9", Kind::Key, 10},
    {110, {662, 166, 712, 213}, L"F10", L"F10", Kind::Key, 11},
    {111, {714, 166, 764, 213}, L"F11", L"F11", Kind::Key, 12},
    {112, {766, 166, 814, 213}, L"F12", L"F12", Kind::Key, 13},
    {113, {50, 218, 95, 263}, L"~", L"~", Kind::Key, 14},
    {114, {100, 218, 147, 263}, L"1", L"1", Kind::Key, 15},
    {115, {150, 218, 197, 263}, L"2", L"2", Kind::Key, 16},
    {116, {201, 218, 249, 263}, L"3", L"3", Kind::Key, 17},
    {117, {252, 218, 301, 263}, L"4", L"4", Kind::Key, 18},
    {118, {304, 218, 352, 263}, L"5", L"5", Kind::Key, 19},
    {119, {354, 218, 402, 263}, L"6", L"6", Kind::Key, 20},
    {120, {405, 218, 453, 263}, L"7", L"7", Kind::Key, 21},
    {121, {455, 218, 504, 263}, L"8", L"8", Kind::Key, 22},
    {122, {507, 218, 556, 263}, L"9", L"9", Kind::Key, 23},
    {123, {558, 218, 608, 263}, L"0", L"0", Kind::Key, 24},
    {124, {610, 218, 660, 263}, L"-", L"-", Kind::Key, 25},
    {125, {662, 218, 712, 263}, L"+", L"+", Kind::Key, 26},
    {126, {715, 218, 814, 263}, L"BackSpace", L"BackSpace", Kind::Key, 27},
    {127, {50, 268, 124, 313}, L"Tab", L"Tab", Kind::Key, 28},
    {128, {127, 268, 177, 313}, L"Q", L"Q", Kind::Key, 29},
    {129, {180, 268, 229, 313}, L"W", L"W", Kind::Key, 30},
    {130, {230, 268, 280, 313}, L"E", L"E", Kind::Key, 31},
    {131, {282, 268, 332, 313}, L"R", L"R", Kind::Key, 32},
    {132, {334, 268, 383, 313}, L"T", L"T", Kind::Key, 33},
    {133, {385, 268, 434, 313}, L"Y", L"Y", Kind::Key, 34},
    {134, {436, 268, 484, 313}, L"U", L"U", Kind::Key, 35},
    {135, {486, 268, 534, 313}, L"I", L"I", Kind::Key, 36},
    {136, {536, 268, 584, 313}, L"O", L"O", Kind::Key, 37},
    {137, {586, 268, 634, 313}, L"P", L"P", Kind::Key, 38},
    {138, {637, 268, 686, 313}, L"[", L"[", Kind::Key, 39},
    {139, {688, 268, 738, 313}, L"]", L"]", Kind::Key, 40},
    {140, {739, 268, 814, 313}, L"\\", L"\\", Kind::Key, 41},
    {141, {50, 318, 135, 365}, L"Caps Lock", L"Caps Lock", Kind::Key, 42},
    {142, {137, 318, 187, 365}, L"A", L"A", Kind::Key, 43},
    {143, {189, 318, 239, 365}, L"S", L"S", Kind::Key, 44},
    {144, {241, 318, 290, 365}, L"D", L"D", Kind::Key, 45},
    {145, {292, 318, 342, 365}, L"F", L"F", Kind::Key, 46},
    {146, {344, 318, 393, 365}, L"G", L"G", Kind::Key, 47},
    {147, {395, 318, 444, 365}, L"H", L"H", Kind::Key, 48},
    {148, {446, 318, 495, 365}, L"J", L"J", Kind::Key, 49},
    {149, {497, 318, 546, 365}, L"K", L"K", Kind::Key, 50},
    {150, {548, 318, 597, 365}, L"L", L"L", Kind::Key, 51},
    {151, {599, 318, 648, 365}, L";", L";", Kind::Key, 52},
    {152, {650, 318, 699, 365}, L"'", L"'", Kind::Key, 53},
    {153, {701, 318, 814, 365}, L"Enter", L"Enter", Kind::Key, 54},
    {154, {50, 368, 165, 415}, L"Shift", L"Shift", Kind::Key, 55},
    {155, {168, 368, 217, 415}, L"Z", L"Z", Kind::Key, 56},
    {156, {219, 368, 268, 415}, L"X", L"X", Kind::Key, 57},
    {157, {270, 368, 319, 415}, L"C", L"C", Kind::Key, 58},
    {158, {321, 368, 370, 415}, L"V", L"V", Kind::Key, 59},
    {159, {372, 368, 421, 415}, L"B", L"B", Kind::Key, 60},
    {160, {423, 368, 472, 415}, L"N", L"N", Kind::Key, 61},
    {161, {474, 368, 523, 415}, L"M", L"M", Kind::Key, 62},
    {162, {525, 368, 574, 415}, L"<", L"<", Kind::Key, 63},
    {163, {577, 368, 626, 415}, L">", L">", Kind::Key, 64},
    {164, {628, 368, 678, 415}, L"?", L"?", Kind::Key, 65},
    {165, {680, 368, 814, 415}, L"Shift", L"Shift", Kind::Key, 66},
    {166, {50, 418, 111, 465}, L"Ctrl", L"Ctrl", Kind::Key, 67},
    {167, {113, 418, 179, 465}, L"Win", L"Win", Kind::Key, 68},
    {168, {181, 418, 246, 465}, L"Alt", L"Alt", Kind::Key, 69},
    {169, {248, 418, 545, 465}, L"Space", L"Space", Kind::Key, 70},
    {170, {547, 418, 615, 465}, L"Fn", L"Fn", Kind::Key, 71},
    {171, {617, 418, 683, 465}, L"Alt", L"Alt", Kind::Key, 72},
    {172, {685, 418, 747, 465}, L"LMenu", L"LMenu", Kind::Key, 73},
    {173, {749, 418, 814, 465}, L"Ctrl", L"Ctrl", Kind::Key, 74},
    {174, {842, 166, 892, 213}, L"PrtScreen", L"PrtScreen", Kind::Key, 75},
    {175, {894, 166, 944, 213}, L"ScrollLock", L"ScrollLock", Kind::Key, 76},
    {176, {946, 166, 996, 213}, L"Pause", L"Pause", Kind::Key, 77},
    {177, {842, 216, 892, 263}, L"Insert", L"Insert", Kind::Key, 78},
    {178, {894, 216, 944, 263}, L"Home", L"Home", Kind::Key, 79},
    {179, {946, 216, 996, 263}, L"PgUp", L"PgUp", Kind::Key, 80},
    {180, {842, 266, 892, 313}, L"Delete", L"Delete", Kind::Key, 81},
    {181, {894, 266, 944, 313}, L"End", L"End", Kind::Key, 82},
    {182, {946, 266, 996, 313}, L"PgDown", L"PgDown", Kind::Key, 83},
    {183, {894, 367, 944, 415}, L"Up", L"Up", Kind::Key, 84},
    {184, {842, 417, 892, 465}, L"Left", L"Left", Kind::Key, 85},
    {185, {894, 417, 944, 465}, L"Down", L"Down", Kind::Key, 86},
    {186, {946, 417, 996, 465}, L"Right", L"Right", Kind::Key, 87},
    {187, {1022, 166, 1072, 213}, L"PlayPause", L"PlayPause", Kind::Key, 88},
    {188, {1074, 166, 1124, 213}, L"PreviousTrack", L"PreviousTrack", Kind::Key, 89},
    {189, {1126, 166, 1176, 213}, L"NextTrack", L"NextTrack", Kind::Key, 90},
    {190, {1178, 166, 1228, 213}, L"Stop", L"Stop", Kind::Key, 91},
    {191, {1022, 216, 1072, 263}, L"NumLock", L"NumLock", Kind::Key, 92},
    {192, {1074, 216, 1124, 263}, L"KP/", L"KP/", Kind::Key, 93},
    {193, {1126, 216, 1176, 263}, L"KP*", L"KP*", Kind::Key, 94},
    {194, {1178, 216, 1228, 263}, L"KP-", L"KP-", Kind::Key, 95},
    {195, {1022, 266, 1072, 313}, L"KP7", L"KP7", Kind::Key, 96},
    {196, {1074, 266, 1124, 313}, L"KP8", L"KP8", Kind::Key, 97},
    {197, {1126, 266, 1176, 313}, L"KP9", L"KP9", Kind::Key, 98},
    {198, {1178, 266, 1228, 363}, L"KP+", L"KP+", Kind::Key, 99},
    {199, {1022, 316, 1072, 363}, L"KP4", L"KP4", Kind::Key, 100},
    {200, {1074, 316, 1124, 363}, L"KP5", L"KP5", Kind::Key, 101},
    {201, {1126, 316, 1176, 363}, L"KP6", L"KP6", Kind::Key, 102},
    {202, {1022, 366, 1072, 413}, L"KP1", L"KP1", Kind::Key, 103},
    {203, {1074, 366, 1124, 413}, L"KP2", L"KP2", Kind::Key, 104},
    {204, {1126, 366, 1176, 413}, L"KP3", L"KP3", Kind::Key, 105},
    {205, {1022, 416, 1124, 463}, L"KP0", L"KP0", Kind::Key, 106},
    {206, {1126, 416, 1176, 463}, L"KP.", L"KP.", Kind::Key, 107},
    {207, {1178, 366, 1228, 463}, L"KPEnter", L"KPEnter", Kind::Key, 108},

    // Labels. The language label names the language the switch leads to;
    // the layer labels flank the layer switch (level 0 left, level 1 right).
    {65, {745, 101, 885, 130}, L"简体中文", L"English", Kind::Label},
    {70, {18, 101, 110, 130}, L"Save", L"保存配置", Kind::Label},
    {71, {124, 101, 215, 130}, L"Open", L"打开配置", Kind::Label},
    {72, {225, 101, 325, 130}, L"Clear", L"清空配置", Kind::Label},
    {73, {330, 101, 430, 130}, L"WriteKeys", L"写入按键", Kind::Label},
    {74, {435, 101, 535, 130}, L"LightSet", L"设置背光", Kind::Label},
    {75, {540, 101, 635, 130}, L"ReadAll", L"读取配置", Kind::Label},
    {76, {645, 101, 735, 130}, L"Update", L"固件升级", Kind::Label},
    {77, {975, 101, 1027, 130}, L"LevelUp", L"上档键", Kind::Label},
    {78, {1141, 101, 1200, 130}, L"LevelDn", L"下档键", Kind::Label},
};

// The legend on a key's cap; empty for a number that is no key.
constexpr const wchar_t* keyLegend(int keyId, bool chinese) {
    for (const Row& row : mainWindowRows)
        if (row.kind == Kind::Key && row.keyId == keyId)
            return chinese ? row.captionZh : row.captionEn;
    return L"";
}

// The read-only summary box (control 1001) under the keyboard; the artwork
// frames it, the window places its text box there.
inline constexpr Rect mainSummaryBox{27, 506, 27 + 933, 506 + 144};

inline constexpr Window mainWindow{
    .name = "main",
    .background = 101,
    .hover = 102,
    .active = 103,
    .fallbackWidth = 1256,
    .fallbackHeight = 676,
    .transparent = {0, 0, 255},
    .recordCount = 130,
    .rows = mainWindowRows,
};

}  // namespace layout
