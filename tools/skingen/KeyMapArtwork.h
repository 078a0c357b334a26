// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The key assignment editor's artwork: one skin set per page (bitmaps 107..127,
// page p at 107 + 3(p-1)), each the whole window with the controls that are
// live on that page. Captions, list texts and the edits come at run time, so
// only the faces behind them are drawn here.
#pragma once

#include <vector>

#include "SkinGenerator.h"

namespace skingen {

class KeyMapArtwork {
public:
    static void render(std::vector<Bitmap>& out, int scale);

private:
    static void base(SkinPainter& p, int page);
    static void control(SkinPainter& p, int page, const layout::Row& row, Look look);
};

}  // namespace skingen
