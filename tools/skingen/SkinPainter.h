// Drawing primitives shared by every window's artwork: the window body, panels,
// wells, buttons, key caps, title-bar glyphs, the layer toggle and bars, each
// in its normal, hovered or active look. Colours live here so that all
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
    void well(const QRectF& rect);
    void button(const QRectF& rect, Look look);
    void keyCap(const QRectF& rect, Look look, const QString& legend);
    void glyphButton(const QRectF& rect, Glyph glyph, Look look);
    void globe(const QPointF& centre, qreal radius, Look look);
    void toggle(const QRectF& rect, Look look);
    void barTrack(const QRectF& rect);
    void barFill(const QRectF& rect);
    void keyboardIcon(const QRectF& rect);

    static QFont font(int pixelSize, QFont::Weight weight = QFont::Normal);

private:
    void legend(const QRectF& face, const QString& caption, const QColor& colour);

    QImage& image_;
    QPainter painter_;
};

}  // namespace skingen
