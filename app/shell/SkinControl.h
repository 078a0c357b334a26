// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// One owner-drawn control of a skinned window: where it is, what it says and
// which look it currently has. A window keeps a fixed array of these; the
// array order is both the drawing order and the order clicks are searched in.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <QColor>

#include "shell/LayoutRow.h"

struct SkinControl {
    int id = -1;                                  // <= 0: skipped everywhere
    std::map<std::string, std::wstring> captions;  // language code -> caption
    std::map<std::string, std::wstring> tooltips;  // language code -> tooltip
    layout::Rect rect;                            // client pixels, right/bottom exclusive
    QColor textColor{200, 200, 200};
    QColor activeTextColor{200, 200, 200};
    int keyId = -1;                               // key buttons: key ID 1..108
    int auxIndex = -1;                            // second window-specific number
    bool active = false;                          // pressed, toggled or selected look
    bool isLabel = false;                         // text only, never hit
    bool showCaption = false;                     // interactive, but draws its caption too
    bool captionVisible = true;
    bool hovered = false;                         // written by hit-testing
    int textFormat = 1;                           // 1 centred horizontally, 0 left
    int fontIndex = 13;                           // into the application's fontTable
    layout::Kind kind = layout::Kind::Button;     // what the table made it

    bool isLive() const { return id > 0; }
    bool isHittable() const { return id > 0 && !isLabel; }

    // The caption for a language; empty when there is none.
    std::wstring caption(const std::string& language) const;

    // A window's records built from its layout table: recordCount default
    // records (more if the table has more rows), the rows filling the first
    // ones in table order. Labels and titles become isLabel records.
    static std::vector<SkinControl> fromLayout(const layout::Window& window);
    static SkinControl fromRow(const layout::Row& row);
};
