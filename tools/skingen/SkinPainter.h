// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Drawing primitives shared by every window's artwork: the window body, panels,
// wells, buttons, key caps, title-bar glyphs, the layer toggle and bars, tabs,
// radios, check boxes, icon tiles and list rows, each in its normal, hovered
// or active look. Colours live here so that all
// windows share one palette.
#pragma once

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QString>

#include "shell/LayoutRow.h"

namespace skingen {

enum class Look { Normal, Hover, Active };

enum class Glyph { Close, Minimise, Help };

QRectF toRectF(layout::Rect rect);

class SkinPainter {
public:
    // The window's outline: everything outside this rounded rectangle is
    // replaced by the colour key when the image is finished.
    static constexpr qreal cornerRadius = 14;

    explicit SkinPainter(QImage& image);

    QPainter& painter() { return painter_; }

    // Rounded body with a title band of the given height along the top.
    void windowBody(int titleHeight);
    // The product's wordmark, vertically centred on centreY.
    void wordmark(qreal left, qreal centreY, int pixelSize);
    void emblem(const QRectF& box);
    void plate(const QRectF& rect);
    // A raised sheet, lighter than the body: the page of a tabbed window.
    void sheet(const QRectF& rect);
    void well(const QRectF& rect);
    void button(const QRectF& rect, Look look);
    void keyCap(const QRectF& rect, Look look, const QString& legend);
    void glyphButton(const QRectF& rect, Glyph glyph, Look look);
    void globe(const QPointF& centre, qreal radius, Look look);
    void toggle(const QRectF& rect, Look look);
    // One tab of a tab strip; the current page's tab is lit in every look.
    void tab(const QRectF& rect, Look look, bool current);
    // A radio button's circle: checked in the active look.
    void radio(const QPointF& centre, qreal radius, Look look);
    // A check box: ticked in the active look.
    void checkBox(const QRectF& box, Look look);
    // The red lamp of a record button: dark until recording (active look).
    void recordLamp(const QPointF& centre, qreal radius, Look look);
    // A square icon face; answers the pictogram's ink for that look.
    QColor iconTile(const QRectF& rect, Look look);
    // A selectable row: nothing when normal, a soft highlight under the mouse
    // and the selection bar when active; light-grey text stays readable.
    void rowHighlight(const QRectF& rect, Look look);
    // A row one picks from a stack of them: a bar in every look.
    void rowBar(const QRectF& rect, Look look);
    // The flat face behind a caption that does nothing when clicked.
    void tag(const QRectF& rect);
    // The accent bar that marks a section heading, standing left of its text.
    void headingMark(const QRectF& bar);
    // A plain one-pixel divider inside a well or panel.
    void divider(const QRectF& line);
    // The ink of glyphs drawn on buttons and title controls.
    static QColor glyphInk(Look look);
    void barTrack(const QRectF& rect);
    void barFill(const QRectF& rect);
    void keyboardIcon(const QRectF& rect);
    // A mouse with its cable, in the same manner as the keyboard.
    void mouseIcon(const QRectF& rect);

    static QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);

private:
    void legend(const QRectF& face, const QString& caption, const QColor& colour);
    void halo(const QRectF& box, qreal radius, Look look);

    QImage& image_;
    QPainter painter_;
};

}  // namespace skingen
