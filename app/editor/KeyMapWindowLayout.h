// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key assignment editor's controls, in array order (drawing and hit
// order), with the places of its child edits, scroll bars and list columns.
//
// A record numbered below 100 belongs to every page; any other record belongs
// to page number / 100. Image records (buttons, tabs, radios, icons) take their
// look from the page's skin set and draw no text (the comments say what their
// pictures show); labels and list rows draw captions.
#pragma once

#include "shell/LayoutRow.h"
#include "shell/ScrollBarSkin.h"

namespace layout {

namespace keymap {

inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr int kRowFont = 11;
inline constexpr int kTabCount = 7;

// The seven pages and their skin sets: page p uses 107 + 3(p-1) .. 109 + 3(p-1).
enum Page : int { PageUniCombo = 1, PageMacro, PageEmulate, PageMultimedia, PageMouse, PageFunction, PagePower };
constexpr int pageBackground(int page) { return 107 + 3 * (page - 1); }

constexpr Row image(int id, Rect rect) {
    return {.id = id, .rect = rect};
}

constexpr Row label(int id, Rect rect, const wchar_t* en, const wchar_t* zh, int format = 1) {
    return {.id = id, .rect = rect, .captionEn = en, .captionZh = zh, .kind = Kind::Label, .textFormat = format};
}

constexpr Row leftLabel(int id, Rect rect, const wchar_t* en, const wchar_t* zh) {
    return label(id, rect, en, zh, 0);
}

// "Stop Rec": green, and hidden until a recording runs.
constexpr Row stopLabel(int id, Rect rect) {
    Row row = label(id, rect, L"Stop Rec", L"停止录制");
    row.textColor = kGreen;
    row.captionVisible = false;
    return row;
}

// A mode radio's caption lights green while its mode is chosen.
constexpr Row radioLabel(int id, Rect rect, const wchar_t* en, const wchar_t* zh) {
    Row row = label(id, rect, en, zh);
    row.activeTextColor = kGreen;
    return row;
}

// An icon assigns the HW code in auxIndex and names it in its tooltip.
constexpr Row icon(int id, int hwCode, Rect rect, const wchar_t* tipEn, const wchar_t* tipZh) {
    return {.id = id, .rect = rect, .auxIndex = hwCode, .tooltipEn = tipEn, .tooltipZh = tipZh};
}

// A row of a list column: index i of a column whose first row is at top, rows
// `pitch` apart and `height` high.
constexpr Row listRow(int id, int left, int right, int top, int pitch, int height, int i, int format = 0) {
    return {.id = id,
            .rect = {left, top + pitch * i, right, top + height + pitch * i},
            .kind = Kind::List,
            .showCaption = true,
            .fontIndex = kRowFont,
            .textFormat = format};
}

constexpr Row comboNameRow(int i) { return listRow(121 + i, 214, 355, 136, 16, 15, i); }
// The combo's keys are shown by edit 1005 laid over this column; its rows
// keep the centred default and never receive text.
constexpr Row comboKeyRow(int i) { return listRow(141 + i, 378, 522, 136, 16, 15, i, 1); }
constexpr Row libraryRow(int first, int i) { return listRow(first + i, 37, 178, 114, 14, 13, i); }
constexpr Row sequenceRow(int first, int i) { return listRow(first + i, 213, 355, 114, 14, 13, i); }

constexpr Rect tabRect(int i, int top) { return {18 + 78 * i, top, 95 + 78 * i, 80}; }

// Page 5: ten full-width rows, 17 pixels apart.
constexpr Rect mouseRow(int n) { return {37, 114 + 17 * n, 258, 130 + 17 * n}; }

// Page 7: the label under a power button spans the button's width.
constexpr Rect powerLabel(Rect button) { return {button.left, 166, button.right, 190}; }

inline constexpr Rect kWake{162, 160, 242, 190};
inline constexpr Rect kSleep{251, 160, 331, 190};
inline constexpr Rect kPower{340, 160, 420, 190};

}  // namespace keymap

inline constexpr Row keyMapWindowRows[] = {
    // Every page: Clear, OK, Cancel, the seven tabs, close, the title and the
    // captions of the buttons and tabs.
    keymap::image(87, {33, 320, 117, 353}),  // clear
    keymap::image(88, {365, 320, 449, 353}),  // OK
    keymap::image(89, {462, 320, 544, 353}),  // cancel
    keymap::image(90, keymap::tabRect(0, 48)),  // single key
    keymap::image(91, keymap::tabRect(1, 48)),  // macro
    keymap::image(92, keymap::tabRect(2, 48)),  // emulation
    keymap::image(93, keymap::tabRect(3, 48)),  // multimedia
    keymap::image(94, keymap::tabRect(4, 48)),  // mouse
    keymap::image(95, keymap::tabRect(5, 48)),  // functions
    keymap::image(96, keymap::tabRect(6, 48)),  // power
    {.id = 97, .rect = {545, 10, 565, 30}, .tooltipEn = L"Close", .tooltipZh = L"关闭"},
    {.id = 36, .rect = {1, 12, 573, 33}, .captionEn = L"Key Settings", .captionZh = L"按键设置面板", .kind = Kind::Title},
    keymap::label(37, {37, 328, 117, 353}, L"Clear", L"清空配置"),
    keymap::label(38, {365, 328, 449, 353}, L"OK", L"确定"),
    keymap::label(39, {462, 328, 544, 353}, L"Cancel", L"取消"),
    keymap::label(30, keymap::tabRect(0, 56), L"Uni/Combo", L"单/组合键"),
    keymap::label(31, keymap::tabRect(1, 56), L"Macro", L"宏定义"),
    keymap::label(32, keymap::tabRect(2, 56), L"Emulate", L"模拟击键"),
    keymap::label(33, keymap::tabRect(3, 56), L"Multimedia", L"多媒体"),
    keymap::label(34, keymap::tabRect(4, 56), L"Mouse", L"鼠标"),
    keymap::label(35, keymap::tabRect(5, 56), L"Function", L"操控键"),
    // Shares its number with the title; only the title is ever found by number.
    keymap::label(36, keymap::tabRect(6, 56), L"Power", L"电源键"),

    // Page 1 "Uni/Combo": single key on the left, combos on the right.
    keymap::image(101, {50, 100, 110, 125}),  // single key
    keymap::image(102, {210, 100, 275, 125}),  // combo
    keymap::image(103, {45, 135, 160, 155}),  // behind "Press a key:"
    keymap::image(104, {43, 204, 165, 238}),  // record
    keymap::image(105, {220, 242, 280, 278}),  // new
    keymap::image(106, {290, 242, 350, 278}),  // delete
    keymap::image(107, {375, 242, 525, 278}),  // record
    keymap::comboNameRow(0), keymap::comboNameRow(1), keymap::comboNameRow(2),
    keymap::comboNameRow(3), keymap::comboNameRow(4), keymap::comboNameRow(5),
    keymap::comboKeyRow(0), keymap::comboKeyRow(1), keymap::comboKeyRow(2),
    keymap::comboKeyRow(3), keymap::comboKeyRow(4), keymap::comboKeyRow(5),
    keymap::radioLabel(151, {70, 104, 130, 125}, L"Uniques", L"单键"),
    keymap::radioLabel(152, {230, 104, 275, 125}, L"Combo", L"组合键"),
    keymap::label(153, {45, 135, 160, 155}, L"Press a key:", L"请输入一个单键："),
    keymap::label(154, {43, 212, 165, 238}, L"Record", L"开始录制"),
    keymap::stopLabel(155, {43, 212, 165, 238}),
    keymap::label(156, {220, 250, 280, 278}, L"New", L"新建"),
    keymap::label(157, {290, 250, 350, 278}, L"Delete", L"删除"),
    keymap::label(158, {48, 166, 160, 188}, nullptr, nullptr),  // the captured key's name
    keymap::label(159, {375, 250, 525, 278}, L"Record", L"开始录制"),
    keymap::stopLabel(160, {375, 250, 525, 278}),
    keymap::leftLabel(161, {214, 118, 355, 134}, L"Combo List", L"组合键列表"),
    keymap::leftLabel(162, {378, 118, 522, 134}, L"Record List", L"录制框"),

    // Page 2 "Macro".
    keymap::image(202, {383, 150, 465, 175}),  // auto interval toggle
    keymap::image(203, {385, 180, 470, 212}),  // delay edit toggle
    keymap::image(205, {45, 258, 105, 288}),  // new
    keymap::image(206, {114, 258, 174, 288}),  // delete
    keymap::image(207, {385, 215, 539, 248}),  // record
    keymap::libraryRow(221, 0), keymap::libraryRow(221, 1), keymap::libraryRow(221, 2),
    keymap::libraryRow(221, 3), keymap::libraryRow(221, 4), keymap::libraryRow(221, 5),
    keymap::libraryRow(221, 6), keymap::libraryRow(221, 7), keymap::libraryRow(221, 8),
    keymap::sequenceRow(241, 0), keymap::sequenceRow(241, 1), keymap::sequenceRow(241, 2),
    keymap::sequenceRow(241, 3), keymap::sequenceRow(241, 4), keymap::sequenceRow(241, 5),
    keymap::sequenceRow(241, 6), keymap::sequenceRow(241, 7), keymap::sequenceRow(241, 8),
    keymap::label(261, {412, 117, 470, 135}, L"Loop", L"循环次数"),
    keymap::label(262, {412, 153, 470, 175}, L"Inteval", L"自动延时"),
    keymap::label(263, {385, 186, 470, 212}, L"Delay", L"延时修改"),
    keymap::label(265, {45, 264, 105, 288}, L"New", L"新建"),
    keymap::label(266, {114, 264, 174, 288}, L"Remove", L"删除"),
    keymap::label(267, {385, 224, 539, 248}, L"Record", L"开始录制"),
    keymap::stopLabel(268, {385, 224, 539, 248}),
    keymap::label(269, {210, 284, 539, 318}, L"Tip: Right click to insert mouse actions",
                  L"温馨提示：录制框中单击鼠标右键可插入鼠标功能"),
    keymap::leftLabel(270, {37, 95, 178, 111}, L"Macro List", L"宏列表"),
    keymap::leftLabel(271, {213, 95, 355, 111}, L"Record List", L"录制框"),

    // Page 3 "Emulate".
    keymap::image(301, {383, 110, 467, 140}),  // behind "Delay"
    keymap::image(302, {383, 150, 538, 176}),  // record
    keymap::image(305, {45, 258, 105, 288}),  // new
    keymap::image(306, {114, 258, 174, 288}),  // delete
    keymap::libraryRow(321, 0), keymap::libraryRow(321, 1), keymap::libraryRow(321, 2),
    keymap::libraryRow(321, 3), keymap::libraryRow(321, 4), keymap::libraryRow(321, 5),
    keymap::libraryRow(321, 6), keymap::libraryRow(321, 7), keymap::libraryRow(321, 8),
    keymap::sequenceRow(341, 0), keymap::sequenceRow(341, 1), keymap::sequenceRow(341, 2),
    keymap::sequenceRow(341, 3), keymap::sequenceRow(341, 4), keymap::sequenceRow(341, 5),
    keymap::sequenceRow(341, 6), keymap::sequenceRow(341, 7), keymap::sequenceRow(341, 8),
    keymap::label(351, {387, 117, 467, 140}, L"Delay", L"延时"),
    keymap::label(352, {383, 154, 538, 176}, L"Record", L"开始录制"),
    keymap::stopLabel(353, {383, 154, 538, 176}),
    keymap::label(355, {45, 264, 105, 288}, L"New", L"新建"),
    keymap::label(356, {114, 264, 174, 288}, L"Remove", L"删除"),
    keymap::leftLabel(357, {37, 95, 178, 111}, L"Emu List", L"模拟击键列表"),
    keymap::leftLabel(358, {213, 95, 355, 111}, L"Record List", L"录制框"),

    // Page 4 "Multimedia".
    keymap::icon(401, 115, {46, 152, 81, 188}, L"Media Select", L"播放器"),
    keymap::icon(402, 111, {96, 152, 131, 188}, L"Play/Pause", L"播放/暂停"),
    keymap::icon(403, 110, {146, 152, 181, 188}, L"Stop", L"停止"),
    keymap::icon(404, 108, {196, 152, 231, 188}, L"Next Track", L"下一首"),
    keymap::icon(405, 109, {246, 152, 281, 188}, L"Previous Track", L"上一首"),
    keymap::icon(406, 114, {296, 152, 331, 188}, L"Volume Down", L"音量减小"),
    keymap::icon(407, 113, {346, 152, 381, 188}, L"Volume Up", L"音量加大"),
    keymap::icon(408, 112, {396, 152, 431, 188}, L"Mute", L"静音"),
    keymap::icon(409, 121, {46, 235, 81, 272}, L"WWW Back", L"后退"),
    keymap::icon(410, 122, {96, 235, 131, 272}, L"WWW Forward", L"前进"),
    keymap::icon(411, 123, {146, 235, 181, 272}, L"WWW Stop", L"停止"),
    keymap::icon(412, 124, {196, 235, 231, 272}, L"WWW Refresh", L"刷新"),
    keymap::icon(413, 125, {246, 235, 281, 272}, L"WWW Favorites", L"收藏夹"),
    keymap::icon(414, 119, {296, 235, 331, 272}, L"WWW Search", L"搜索"),
    keymap::icon(415, 116, {346, 235, 381, 272}, L"E-mail", L"邮件"),
    keymap::icon(416, 120, {396, 235, 431, 272}, L"WWW Home", L"主页"),
    keymap::icon(417, 118, {446, 235, 481, 272}, L"My Computer", L"资源管理器"),
    keymap::icon(418, 117, {496, 235, 531, 272}, L"Calculator", L"计算器"),
    keymap::leftLabel(451, {46, 127, 167, 150}, L"Media Function", L"多媒体功能"),
    keymap::leftLabel(452, {46, 207, 167, 230}, L"Browser Function", L"浏览器功能"),

    // Page 5 "Mouse": the image rows hold the codes (no tooltip), the labels
    // numbered 50 higher name them.
    keymap::icon(502, 126, keymap::mouseRow(0), nullptr, nullptr),
    keymap::icon(503, 127, keymap::mouseRow(1), nullptr, nullptr),
    keymap::icon(504, 128, keymap::mouseRow(2), nullptr, nullptr),
    keymap::icon(505, 129, keymap::mouseRow(3), nullptr, nullptr),
    keymap::icon(506, 130, keymap::mouseRow(4), nullptr, nullptr),
    keymap::icon(507, 131, keymap::mouseRow(5), nullptr, nullptr),
    keymap::icon(508, 132, keymap::mouseRow(6), nullptr, nullptr),
    keymap::icon(509, 133, keymap::mouseRow(7), nullptr, nullptr),
    keymap::icon(510, 134, keymap::mouseRow(8), nullptr, nullptr),
    keymap::icon(511, 199, keymap::mouseRow(9), nullptr, nullptr),
    keymap::label(552, keymap::mouseRow(0), L"Move Left", L"左移"),
    keymap::label(553, keymap::mouseRow(1), L"Move Right", L"右移"),
    keymap::label(554, keymap::mouseRow(2), L"Move Up", L"上移"),
    keymap::label(555, keymap::mouseRow(3), L"Move Down", L"下移"),
    keymap::label(556, keymap::mouseRow(4), L"Left Click", L"左键"),
    keymap::label(557, keymap::mouseRow(5), L"Right Click", L"右键"),
    keymap::label(558, keymap::mouseRow(6), L"Middle Click", L"中键"),
    keymap::label(559, keymap::mouseRow(7), L"Wheel Up", L"滚轮前翻"),
    keymap::label(560, keymap::mouseRow(8), L"Wheel Down", L"滚轮后翻"),
    keymap::label(561, keymap::mouseRow(9), L"Left Double Click", L"左键双击"),

    // Page 6 "Function": keyboard functions in the first two rows, backlight
    // functions in the last two. HW codes 140 and 147 are not offered.
    keymap::icon(601, 149, {36, 112, 72, 148}, L"6 or N key convert", L"6键/全键无冲切换"),
    keymap::icon(602, 150, {89, 112, 125, 148}, L"Keyboard Lock", L"键盘锁"),
    keymap::icon(603, 151, {142, 112, 178, 148}, L"Key response regulate", L"按键灵敏度调节"),
    keymap::icon(604, 152, {195, 112, 231, 148}, L"Ctrl to Caps convert", L"Ctrl和Caps对调"),
    keymap::icon(608, 153, {36, 155, 72, 191}, L"Win Lock", L"锁Win"),
    keymap::icon(609, 154, {89, 155, 125, 191}, L"Scan Delay Regulate", L"扫描延时调节"),
    keymap::icon(610, 155, {142, 155, 178, 191}, L"Report Rates Regulate", L"上传率调节"),
    keymap::icon(611, 158, {195, 155, 231, 191}, L"Mouse DPI-", L"鼠标DPI-"),
    keymap::icon(612, 157, {248, 155, 284, 191}, L"Mouse DPI+", L"鼠标DPI+"),
    keymap::icon(613, 156, {301, 155, 337, 191},
                 L"level down combination key,Keys level up and down must be set to FN",
                 L"下档组合键,按键的上下档键须同时设置"),
    keymap::icon(614, 159, {354, 155, 390, 191}, L"Programmable Keyboard", L"可编程键盘"),
    keymap::icon(615, 137, {36, 220, 72, 256}, L"Demonstrate", L"演示"),
    keymap::icon(616, 138, {100, 220, 136, 256}, L"Star shower", L"流星雨"),
    keymap::icon(617, 139, {164, 220, 200, 256}, L"Riffle", L"涟漪"),
    keymap::icon(618, 145, {228, 220, 264, 256}, L"Backlight Lighteness-", L"背光亮度-"),
    keymap::icon(619, 144, {292, 220, 328, 256}, L"Backlight Lighteness+", L"背光亮度+"),
    keymap::icon(622, 135, {36, 265, 72, 301}, L"Backlight switch", L"背光开关"),
    keymap::icon(623, 141, {100, 265, 136, 301}, L"Backlight Breathe", L"背光呼吸"),
    keymap::icon(624, 136, {164, 265, 200, 301}, L"Backlight Macro", L"背光自定义"),
    keymap::icon(625, 143, {228, 265, 264, 301}, L"Breathe Frequence+", L"呼吸频率+"),
    keymap::icon(626, 142, {292, 265, 328, 301}, L"Breathe Frequence-", L"呼吸频率-"),
    keymap::icon(627, 146, {356, 265, 392, 301}, L"Sunset/Relax Mode", L"日落/放松模式"),
    keymap::icon(628, 148, {418, 265, 456, 301}, L"Backlight All Color Regulate", L"全盘颜色调节"),
    keymap::leftLabel(651, {36, 92, 167, 150}, L"Key Function", L"按键功能"),
    keymap::leftLabel(652, {36, 200, 167, 230}, L"Backlight Function", L"背光功能"),

    // Page 7 "Power".
    keymap::icon(701, 75, keymap::kWake, L"WakeUp", L"唤醒"),
    keymap::icon(702, 76, keymap::kSleep, L"Sleep", L"睡眠"),
    keymap::icon(703, 77, keymap::kPower, L"Power", L"电源"),
    keymap::label(751, keymap::powerLabel(keymap::kWake), L"Wake", L"唤醒"),
    keymap::label(752, keymap::powerLabel(keymap::kSleep), L"Sleep", L"睡眠"),
    keymap::label(753, keymap::powerLabel(keymap::kPower), L"Power", L"电源"),
};

// 186 records are listed; the remaining 16 of the window's 202 keep id -1.
static_assert(std::size(keyMapWindowRows) == 186);

// Child controls, in client pixels. Edit 1003 has no fixed place: it is moved
// over the library row being renamed.
inline constexpr int kLoopEdit = 1001;     // "Loop" (macro page), "Delay" (emulation page)
inline constexpr int kDelayEdit = 1002;    // the macro delay being edited
inline constexpr int kRenameEdit = 1003;
inline constexpr int kComboKeysBox = 1005; // read-only: the combo's keys joined by " + "
inline constexpr int kLibraryBar = 1006;
inline constexpr int kSequenceBar = 1007;

inline constexpr Rect keyMapLoopEdit{475, 117, 475 + 58, 117 + 18};
inline constexpr Rect keyMapDelayEdit{476, 187, 476 + 58, 187 + 18};
inline constexpr Rect keyMapComboKeysBox{380, 138, 380 + 141, 138 + 93};
// Below the page's buttons: where a recording that takes its keys from the
// window says so (over the macro page's tip, row 269).
inline constexpr Rect keyMapRecordingTip{184, 280, 545, 310};
// The scroll bars beside the lists: page 1 has only the library bar (the
// second bar is placed but hidden); pages 2 and 3 have both. A bar is as
// thick as its skin's cells.
inline constexpr Rect keyMapComboBar{358, 137, 358 + scrollBarCell, 137 + 96};
inline constexpr Rect keyMapComboSequenceBar{523, 137, 523 + scrollBarCell, 137 + 96};
inline constexpr Rect keyMapLibraryBar{181, 115, 181 + scrollBarCell, 115 + 126};
inline constexpr Rect keyMapSequenceBar{357, 115, 357 + scrollBarCell, 115 + 126};

inline constexpr Window keyMapWindow{
    .name = "keymap",
    .background = keymap::pageBackground(keymap::PageUniCombo),
    .hover = keymap::pageBackground(keymap::PageUniCombo) + 1,
    .active = keymap::pageBackground(keymap::PageUniCombo) + 2,
    .fallbackWidth = 576,
    .fallbackHeight = 368,
    .transparent = {255, 0, 0},
    .recordCount = 202,
    .rows = keyMapWindowRows,
};

}  // namespace layout
