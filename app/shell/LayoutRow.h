// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One row of a window's layout table: a control number, its rectangle and its
// captions in both languages. The tables are constexpr data read by the window
// classes (which turn them into SkinControl records) and by skingen (which
// paints the window's artwork from them), so hit areas and pictures agree.
#pragma once

#include <cstdint>
#include <span>

namespace layout {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

struct Rect {
    int left = -1, top = -1, right = -1, bottom = -1;  // right and bottom exclusive
    constexpr int width() const { return right - left; }
    constexpr int height() const { return bottom - top; }
    constexpr bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

enum class Kind : std::uint8_t {
    Button,    // interactive; its look comes from the hover/active images
    Key,       // an on-screen key button (keyId set)
    Label,     // text only, never hit
    Title,     // a label drawn as the window's title
    Edit,      // placeholder for a child edit control
    List,      // placeholder for a list view
};

struct Row {
    int id = -1;
    Rect rect;
    const wchar_t* captionEn = nullptr;
    const wchar_t* captionZh = nullptr;
    Kind kind = Kind::Button;
    int keyId = -1;
    bool showCaption = false;  // an interactive control that also draws its caption
    int fontIndex = 13;
    int textFormat = 1;        // 1 centred, 0 left
    Rgb textColor{200, 200, 200};
    Rgb activeTextColor{200, 200, 200};
    int auxIndex = -1;
    const wchar_t* tooltipEn = nullptr;  // shown only by windows that own a tooltip
    const wchar_t* tooltipZh = nullptr;
    bool captionVisible = true;
};

// A whole window: its skin set, transparent colour, record count and rows.
struct Window {
    const char* name;           // used for file names of artwork and screenshots
    int background = 0;         // resource numbers; 0 = none
    int hover = 0;
    int active = 0;
    int fallbackWidth = 0;      // size used when the artwork is missing
    int fallbackHeight = 0;
    Rgb transparent;
    int recordCount = 0;        // size of the window's SkinControl array
    std::span<const Row> rows;  // in array order: drawing and click order
};

}  // namespace layout
