// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The window layout tables: counts, order, numbering and geometry, plus spot
// checks against rectangles and captions copied out independently.
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <set>
#include <string>
#include <vector>

#include "jobs/FirmwareWindowLayout.h"
#include "jobs/ProgressWindowLayout.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/MainWindowLayout.h"

namespace {

using layout::Kind;
using layout::Rect;
using layout::Row;
using layout::Window;

const Window* const allWindows[] = {&layout::mainWindow, &layout::backlightWindow, &layout::progressWindow,
                                    &layout::firmwareWindow};

bool isText(const Row& row) { return row.kind == Kind::Label || row.kind == Kind::Title; }

bool overlaps(Rect a, Rect b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

const Row& byId(const Window& window, int id)
{
    const auto it = std::find_if(window.rows.begin(), window.rows.end(), [id](const Row& r) { return r.id == id; });
    if (it == window.rows.end())
        throw std::runtime_error("no row " + std::to_string(id));
    return *it;
}

std::wstring text(const wchar_t* s) { return s ? s : L"<none>"; }

TEST(LayoutTables, RecordCountsAndSkinSets)
{
    struct Expected { const Window* window; int records, used, background, hover, active; layout::Rgb key; };
    const Expected expected[] = {
        {&layout::mainWindow, 130, 130, 101, 102, 103, {0, 0, 255}},
        {&layout::backlightWindow, 127, 120, 131, 0, 0, {1, 2, 254}},
        {&layout::progressWindow, 107, 5, 139, 140, 141, {255, 0, 0}},
        {&layout::firmwareWindow, 107, 11, 128, 129, 130, {255, 0, 0}},
    };
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.window->name);
        EXPECT_EQ(e.window->recordCount, e.records);
        EXPECT_EQ(static_cast<int>(e.window->rows.size()), e.used);
        EXPECT_EQ(e.window->background, e.background);
        EXPECT_EQ(e.window->hover, e.hover);
        EXPECT_EQ(e.window->active, e.active);
        EXPECT_EQ(e.window->transparent, e.key);
    }
}

TEST(LayoutTables, IdsArePositiveAndUniqueAndRectsFitTheWindow)
{
    for (const Window* window : allWindows) {
        SCOPED_TRACE(window->name);
        std::set<int> ids;
        for (const Row& row : window->rows) {
            SCOPED_TRACE(row.id);
            EXPECT_GT(row.id, 0);
            EXPECT_TRUE(ids.insert(row.id).second) << "duplicate id";
            EXPECT_GT(row.rect.width(), 0);
            EXPECT_GT(row.rect.height(), 0);
            // A tidy margin: nothing touches the rounded outline.
            EXPECT_GE(row.rect.left, 8);
            EXPECT_GE(row.rect.top, 8);
            EXPECT_LE(row.rect.right, window->fallbackWidth - 8);
            EXPECT_LE(row.rect.bottom, window->fallbackHeight - 8);
        }
    }
}

TEST(LayoutTables, EveryKeyIdOnceNumberedByKeyIdAndKeysDoNotOverlap)
{
    for (const Window* window : {&layout::mainWindow, &layout::backlightWindow}) {
        SCOPED_TRACE(window->name);
        std::vector<int> keyIds;
        std::vector<Rect> keys;
        for (const Row& row : window->rows) {
            EXPECT_EQ(row.kind == Kind::Key, row.keyId > 0) << row.id;
            if (row.keyId > 0) {
                EXPECT_EQ(row.id, 99 + row.keyId);
                keyIds.push_back(row.keyId);
                keys.push_back(row.rect);
            }
        }
        // Keys come in key ID order, 1..108, each once.
        ASSERT_EQ(keyIds.size(), 108u);
        for (int k = 0; k < 108; ++k)
            EXPECT_EQ(keyIds[k], k + 1);
        for (size_t a = 0; a < keys.size(); ++a)
            for (size_t b = a + 1; b < keys.size(); ++b)
                EXPECT_FALSE(overlaps(keys[a], keys[b])) << "keys " << a + 1 << " and " << b + 1;
    }
}

TEST(LayoutTables, BacklightColourFramesStayOffOtherKeys)
{
    // Each key's colour frame is drawn two pixels outside its rectangle.
    std::vector<Rect> keys;
    for (const Row& row : layout::backlightWindowRows)
        if (row.keyId > 0)
            keys.push_back(row.rect);
    for (size_t a = 0; a < keys.size(); ++a) {
        const Rect framed{keys[a].left - 2, keys[a].top - 2, keys[a].right + 2, keys[a].bottom + 2};
        for (size_t b = 0; b < keys.size(); ++b) {
            if (a != b) {
                EXPECT_FALSE(overlaps(framed, keys[b])) << "key " << a + 1 << " frame over key " << b + 1;
            }
        }
    }
}

TEST(LayoutTables, ArrayOrderOfMainAndBacklightWindows)
{
    // Main: 12 commands, then the keys, then 10 labels.
    const std::vector<int> mainCommands{85, 87, 88, 89, 90, 91, 92, 93, 94, 95, 96, 97};
    const std::vector<int> mainLabels{65, 70, 71, 72, 73, 74, 75, 76, 77, 78};
    const auto& main = layout::mainWindowRows;
    for (size_t i = 0; i < mainCommands.size(); ++i) {
        EXPECT_EQ(main[i].id, mainCommands[i]);
        EXPECT_EQ(main[i].kind, Kind::Button);
    }
    EXPECT_EQ(main[12].keyId, 1);
    EXPECT_EQ(main[119].keyId, 108);
    for (size_t i = 0; i < mainLabels.size(); ++i) {
        EXPECT_EQ(main[120 + i].id, mainLabels[i]);
        EXPECT_TRUE(isText(main[120 + i]));
    }
    // Backlight: 6 commands, 6 labels, then the keys.
    const std::vector<int> backlightCommands{88, 90, 91, 92, 94, 95};
    const auto& backlight = layout::backlightWindowRows;
    for (size_t i = 0; i < backlightCommands.size(); ++i)
        EXPECT_EQ(backlight[i].id, backlightCommands[i]);
    for (size_t i = 6; i < 12; ++i)
        EXPECT_TRUE(isText(backlight[i])) << i;
    EXPECT_EQ(backlight[12].keyId, 1);
}

TEST(LayoutTables, CaptionsThatAreDrawnExistInBothLanguages)
{
    for (const Window* window : allWindows) {
        SCOPED_TRACE(window->name);
        for (const Row& row : window->rows) {
            EXPECT_FALSE(row.showCaption) << row.id;  // these windows draw text only from labels
            if (isText(row) || row.kind == Kind::Key) {
                ASSERT_NE(row.captionEn, nullptr) << row.id;
                ASSERT_NE(row.captionZh, nullptr) << row.id;
                EXPECT_GT(std::wcslen(row.captionEn), 0u) << row.id;
            }
            if (row.kind == Kind::Key) {
                EXPECT_EQ(text(row.captionEn), text(row.captionZh)) << row.id;
            }
            if (isText(row)) {
                EXPECT_EQ(row.fontIndex, 13);
                EXPECT_EQ(row.textFormat, 1);
                EXPECT_EQ(row.textColor, (layout::Rgb{200, 200, 200}));
            }
        }
    }
    // The main window's commands carry no caption: their labels do.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(layout::mainWindowRows[i].captionEn, nullptr);
}

TEST(LayoutTables, SpotChecksOfRectanglesAndCaptions)
{
    struct Spot { const Window* window; int id; Rect rect; const wchar_t* en; const wchar_t* zh; };
    const Spot spots[] = {
        {&layout::mainWindow, 100, {50, 166, 95, 213}, L"Esc", L"Esc"},
        {&layout::mainWindow, 126, {715, 218, 814, 263}, L"BackSpace", L"BackSpace"},
        {&layout::mainWindow, 140, {739, 268, 814, 313}, L"\\", L"\\"},
        {&layout::mainWindow, 152, {650, 318, 699, 365}, L"'", L"'"},
        {&layout::mainWindow, 169, {248, 418, 545, 465}, L"Space", L"Space"},
        {&layout::mainWindow, 172, {685, 418, 747, 465}, L"LMenu", L"LMenu"},
        {&layout::mainWindow, 183, {894, 367, 944, 415}, L"Up", L"Up"},
        {&layout::mainWindow, 188, {1074, 166, 1124, 213}, L"PreviousTrack", L"PreviousTrack"},
        {&layout::mainWindow, 198, {1178, 266, 1228, 363}, L"KP+", L"KP+"},
        {&layout::mainWindow, 205, {1022, 416, 1124, 463}, L"KP0", L"KP0"},
        {&layout::mainWindow, 207, {1178, 366, 1228, 463}, L"KPEnter", L"KPEnter"},
        {&layout::mainWindow, 65, {745, 101, 885, 130}, L"简体中文", L"English"},
        {&layout::mainWindow, 73, {330, 101, 430, 130}, L"WriteKeys", L"写入按键"},
        {&layout::mainWindow, 78, {1141, 101, 1200, 130}, L"LevelDn", L"下档键"},
        {&layout::mainWindow, 97, {1032, 102, 1137, 130}, nullptr, nullptr},
        {&layout::backlightWindow, 88, {1205, 9, 1238, 45}, nullptr, nullptr},
        {&layout::backlightWindow, 100, {39, 102, 86, 145}, L"Esc", L"Esc"},
        {&layout::backlightWindow, 169, {241, 355, 536, 398}, L"Space", L"Space"},
        {&layout::backlightWindow, 198, {1167, 203, 1214, 297}, L"KP+", L"KP+"},
        {&layout::backlightWindow, 205, {1014, 355, 1112, 398}, L"KP0", L"KP0"},
        {&layout::backlightWindow, 207, {1167, 304, 1214, 398}, L"KPEnter", L"KPEnter"},
        {&layout::progressWindow, 187, {42, 116, 333, 135}, L"Keep the keyboard connected!", L"正在读写键盘，请勿插拔！"},
        {&layout::progressWindow, 93, {237, 201, 327, 235}, L"Cancel", L"取消"},
        {&layout::firmwareWindow, 187, {42, 116, 119, 135}, L"File", L"载入文件："},
        {&layout::firmwareWindow, 190, {220, 76, 333, 100}, L"Get Version", L"获取固件版本"},
        {&layout::firmwareWindow, 91, {270, 108, 333, 140}, nullptr, nullptr},
    };
    for (const Spot& spot : spots) {
        SCOPED_TRACE(std::string(spot.window->name) + " " + std::to_string(spot.id));
        const Row& row = byId(*spot.window, spot.id);
        EXPECT_EQ(row.rect.left, spot.rect.left);
        EXPECT_EQ(row.rect.top, spot.rect.top);
        EXPECT_EQ(row.rect.right, spot.rect.right);
        EXPECT_EQ(row.rect.bottom, spot.rect.bottom);
        EXPECT_EQ(text(row.captionEn), text(spot.en));
        EXPECT_EQ(text(row.captionZh), text(spot.zh));
    }
    // The backlight title is a label (never hit) with its caption.
    bool title = false;
    for (const Row& row : layout::backlightWindowRows)
        title |= isText(row) && text(row.captionZh) == L"背光设置面板" && text(row.captionEn) == L"BackLight Settings";
    EXPECT_TRUE(title);
}

TEST(LayoutTables, ChildControlPlacesFitAndAvoidControls)
{
    struct Place { const Window* window; Rect rect; };
    const Place places[] = {{&layout::mainWindow, layout::mainSummaryBox},
                            {&layout::firmwareWindow, layout::firmwareVersionBox},
                            {&layout::firmwareWindow, layout::firmwarePathBox},
                            {&layout::firmwareWindow, layout::firmwareBar},
                            {&layout::progressWindow, layout::progressBar}};
    for (const Place& place : places) {
        SCOPED_TRACE(place.window->name);
        EXPECT_LE(place.rect.right, place.window->fallbackWidth);
        EXPECT_LE(place.rect.bottom, place.window->fallbackHeight);
        for (const Row& row : place.window->rows) {
            if (!isText(row)) {
                EXPECT_FALSE(overlaps(place.rect, row.rect)) << row.id;
            }
        }
    }
}

}  // namespace
