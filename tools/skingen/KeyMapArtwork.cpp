// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "KeyMapArtwork.h"

#include <algorithm>

#include "Pictograms.h"
#include "editor/KeyMapWindowLayout.h"

namespace skingen {

namespace {

using namespace layout;

constexpr int kFirstTab = 90;
constexpr int kClose = 97;
constexpr int kTitleHeight = 42;  // the title caption and close button sit in it
constexpr QRectF kSheet(14, 84, 548, 228);  // under the tabs, above Clear/OK/Cancel

// Records below 100 are on every page, the others on page id / 100.
bool onPage(const Row& row, int page)
{
    return row.id < 100 || row.id / 100 == page;
}

QRectF rectOf(int id)
{
    const auto rows = keyMapWindow.rows;
    const auto row = std::find_if(rows.begin(), rows.end(), [id](const Row& r) { return r.id == id; });
    return row == rows.end() ? QRectF() : toRectF(row->rect);
}

// A list column's frame holds its rows and the scroll bar beside them.
QRectF column(int firstRow, int lastRow, Rect bar)
{
    return rectOf(firstRow).united(rectOf(lastRow)).united(toRectF(bar));
}

// The section headings are run-time text, drawn from the top left of their
// rectangles; their icons follow closely below, so the mark stands beside.
void markHeading(SkinPainter& p, int heading)
{
    const QRectF text = rectOf(heading);
    p.headingMark(QRectF(text.left() - 7, text.top() + 2, 3, 13));
}

// The rows under the combo's key box never show: edit 1005 covers them.
bool underComboKeysBox(const Row& row)
{
    return row.id >= 141 && row.id <= 146;
}

}  // namespace

void KeyMapArtwork::render(std::vector<Bitmap>& out, int scale)
{
    for (int page = keymap::PageUniCombo; page <= keymap::PagePower; ++page) {
        Window set = keyMapWindow;
        set.background = keymap::pageBackground(page);
        set.hover = set.background + 1;
        set.active = set.background + 2;
        SkinGenerator::addSet(
            out, scale, set, [page](SkinPainter& p, Look) { base(p, page); },
            [page](SkinPainter& p, const Row& row, Look look) {
                if (onPage(row, page))
                    control(p, page, row, look);
            });
    }
}

void KeyMapArtwork::base(SkinPainter& p, int page)
{
    p.windowBody(kTitleHeight);
    p.emblem(QRectF(14, 10, 22, 22));
    p.sheet(kSheet);
    switch (page) {
    case keymap::PageUniCombo: {
        p.well(rectOf(158));
        // Names, their scroll bar and the key box share one frame, split by a line.
        const QRectF combo = column(121, 146, keyMapComboBar).united(toRectF(keyMapComboKeysBox));
        p.well(combo);
        p.divider(QRectF(keyMapComboBar.right + 1, combo.top(), 1, combo.height()));
        break;
    }
    case keymap::PageMacro: {
        p.well(column(221, 229, keyMapLibraryBar));
        p.well(column(241, 249, keyMapSequenceBar));
        p.well(toRectF(keyMapLoopEdit));
        p.well(toRectF(keyMapDelayEdit));
        // The tip is one line drawn from the top of its rectangle.
        const QRectF tip = rectOf(269);
        p.tag(QRectF(tip.left(), tip.top() - 2, tip.width(), 20));
        break;
    }
    case keymap::PageEmulate:
        p.well(column(321, 329, keyMapLibraryBar));
        p.well(column(341, 349, keyMapSequenceBar));
        p.well(toRectF(keyMapLoopEdit));
        break;
    case keymap::PageMultimedia:
        markHeading(p, 451);
        markHeading(p, 452);
        break;
    case keymap::PageMouse:
        p.mouseIcon(QRectF(372, 140, 84, 132));
        break;
    case keymap::PageFunction:
        markHeading(p, 651);
        markHeading(p, 652);
        break;
    case keymap::PagePower:
        p.plate(rectOf(701).united(rectOf(703)).adjusted(-18, -16, 18, 16));
        break;
    default:
        break;
    }
}

void KeyMapArtwork::control(SkinPainter& p, int page, const Row& row, Look look)
{
    const QRectF rect = toRectF(row.rect);
    if (row.kind == Kind::List) {
        if (!underComboKeysBox(row))
            p.rowHighlight(rect, look);
        return;
    }
    if (row.id >= kFirstTab && row.id < kFirstTab + keymap::kTabCount) {
        p.tab(rect, look, row.id - kFirstTab + 1 == page);
        return;
    }
    switch (row.id) {
    case kClose:
        p.glyphButton(rect, Glyph::Close, look);
        return;
    case 101:
    case 102:  // the caption sits to the right of the circle
        p.radio(QPointF(rect.left() + 10, rect.top() + 12), 7, look);
        return;
    case 103:
    case 301:  // faces behind captions, nothing to press
        p.tag(rect);
        return;
    case 104:
    case 107:
    case 207:
    case 302:  // record buttons: the lamp lights while recording
        p.button(rect, look);
        p.recordLamp(QPointF(rect.left() + 17, rect.center().y()), 4.5, look);
        return;
    case 202:  // auto interval, captioned to the right
        if (look == Look::Hover)
            p.rowHighlight(rect, look);
        p.checkBox(QRectF(rect.left() + 7, rect.top() + 5, 14, 14), look);
        return;
    default:
        break;
    }
    if (row.auxIndex < 0) {
        p.button(rect, look);
        return;
    }
    // The function catalogue: the HW code names the picture.
    if (page == keymap::PageMouse) {
        p.rowBar(rect, look);
        Pictograms::draw(p.painter(), row.auxIndex, QRectF(rect.left() + 6, rect.top() + 1, 14, 14), SkinPainter::glyphInk(look));
    } else if (page == keymap::PagePower) {
        p.button(rect, look);
        Pictograms::draw(p.painter(), row.auxIndex, QRectF(rect.left() + 5, rect.top() + 8, 14, 14), SkinPainter::glyphInk(look));
    } else {
        const QColor ink = p.iconTile(rect, look);
        const QRectF box(rect.left() + int((rect.width() - 22) / 2), rect.top() + int((rect.height() - 22) / 2), 22, 22);
        Pictograms::draw(p.painter(), row.auxIndex, box, ink);
    }
}

}  // namespace skingen
