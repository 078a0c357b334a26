// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "SkinPainter.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QStringList>

#include <algorithm>
#include <cmath>

#include "shell/SkinColours.h"

namespace skingen {

namespace {

// One palette for every window: graphite surfaces, light-grey text (the run-time
// captions are RGB(200,200,200)) and the orange of the program's edit text as
// the accent for everything active.
QColor rgb(layout::Rgb colour)
{
    return QColor(colour.r, colour.g, colour.b);
}

const QColor bodyTop = rgb(skin::bodyTop);
const QColor bodyBottom = rgb(skin::bodyBottom);
const QColor titleTop = rgb(skin::titleTop);
const QColor titleBottom = rgb(skin::titleBottom);
const QColor outline = rgb(skin::outline);
const QColor edgeLight = rgb(skin::edgeLight);
const QColor separator = rgb(skin::separator);
const QColor plateFill(0x0f, 0x10, 0x13);
const QColor plateRim = rgb(skin::plateRim);
const QColor wellFill = rgb(skin::wellFill);
const QColor legendText = rgb(skin::legendText);
const QColor mutedText = rgb(skin::mutedText);
const QColor accent = rgb(skin::accent);
const QColor accentLight = rgb(skin::accentLight);
const QColor accentDeep(0x8a, 0x37, 0x00);

QColor withAlpha(QColor colour, int alpha)
{
    colour.setAlpha(alpha);
    return colour;
}

QPainterPath rounded(const QRectF& rect, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

QLinearGradient vertical(const QRectF& rect, const QColor& top, const QColor& bottom)
{
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    return gradient;
}

// Splits a caption that is too wide for one line at a word or camel-case
// boundary ("ScrollLock" -> "Scroll" / "Lock"), preferring the middle.
QStringList splitCaption(const QString& caption)
{
    int best = -1;
    for (int i = 1; i < caption.size(); ++i) {
        const bool space = caption[i] == u' ';
        const bool camel = caption[i].isUpper() && caption[i - 1].isLower();
        if ((space || camel) && (best < 0 || std::abs(i - caption.size() / 2) < std::abs(best - caption.size() / 2)))
            best = i;
    }
    if (best < 0)
        return {caption};
    return {caption.left(best).trimmed(), caption.mid(best).trimmed()};
}

}  // namespace

QRectF toRectF(layout::Rect rect)
{
    return QRectF(rect.left, rect.top, rect.width(), rect.height());
}

SkinPainter::SkinPainter(QImage& image) : image_(image), painter_(&image)
{
    painter_.setRenderHint(QPainter::Antialiasing);
    painter_.setRenderHint(QPainter::TextAntialiasing);
}

QFont SkinPainter::font(int pixelSize, QFont::Weight weight)
{
    QFont font(QStringLiteral("Noto Sans CJK SC"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

void SkinPainter::windowBody(int titleHeight)
{
    const QRectF all(QPointF(0, 0), image_.deviceIndependentSize());
    const QPainterPath body = rounded(all, cornerRadius);
    painter_.fillPath(body, vertical(all, bodyTop, bodyBottom));

    painter_.save();
    painter_.setClipPath(body);
    const QRectF title(0, 0, all.width(), titleHeight);
    painter_.fillRect(title, vertical(title, titleTop, titleBottom));
    painter_.fillRect(QRectF(0, titleHeight, all.width(), 1), separator);
    painter_.fillRect(QRectF(0, titleHeight + 1, all.width(), 1), withAlpha(edgeLight, 90));
    // A short accent under the wordmark ties the title to the active colour.
    QLinearGradient stripe(0, 0, 220, 0);
    stripe.setColorAt(0, withAlpha(accent, 0));
    stripe.setColorAt(0.25, accent);
    stripe.setColorAt(1, withAlpha(accent, 0));
    painter_.fillRect(QRectF(0, titleHeight - 1, 220, 1), stripe);
    painter_.restore();

    painter_.setPen(QPen(outline, 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(rounded(all.adjusted(0.5, 0.5, -0.5, -0.5), cornerRadius - 0.5));
    painter_.setPen(QPen(withAlpha(edgeLight, 110), 1));
    painter_.drawPath(rounded(all.adjusted(1.5, 1.5, -1.5, -1.5), cornerRadius - 1.5));
}

void SkinPainter::wordmark(qreal left, qreal centreY, int pixelSize)
{
    const QRectF mark(left, centreY - pixelSize * 0.6, pixelSize * 1.2, pixelSize * 1.2);
    emblem(mark);

    QFont strong = font(pixelSize, QFont::Bold);
    strong.setLetterSpacing(QFont::AbsoluteSpacing, pixelSize * 0.12);
    QFont light = font(pixelSize, QFont::Light);
    light.setLetterSpacing(QFont::AbsoluteSpacing, pixelSize * 0.12);
    const QFontMetricsF strongMetrics(strong);
    const qreal baseline = centreY + (strongMetrics.ascent() - strongMetrics.descent()) / 2;
    qreal x = mark.right() + pixelSize * 0.55;
    painter_.setFont(strong);
    painter_.setPen(legendText);
    painter_.drawText(QPointF(x, baseline), QStringLiteral("VELKOR"));
    x += strongMetrics.horizontalAdvance(QStringLiteral("VELKOR")) + pixelSize * 0.4;
    painter_.setFont(light);
    painter_.setPen(accentLight);
    painter_.drawText(QPointF(x, baseline), QStringLiteral("ONDRIX"));
}

void SkinPainter::emblem(const QRectF& box)
{
    // A key cap seen from above with a chevron: the program's mark.
    const qreal r = box.width() * 0.22;
    painter_.setPen(QPen(accent, std::max(1.0, box.width() / 14)));
    painter_.setBrush(vertical(box, QColor(0x3a, 0x2a, 0x1e), QColor(0x1e, 0x16, 0x10)));
    painter_.drawRoundedRect(box.adjusted(1, 1, -1, -1), r, r);
    QPainterPath chevron;
    chevron.moveTo(box.left() + box.width() * 0.28, box.top() + box.height() * 0.32);
    chevron.lineTo(box.center().x(), box.top() + box.height() * 0.68);
    chevron.lineTo(box.right() - box.width() * 0.28, box.top() + box.height() * 0.32);
    painter_.setPen(QPen(accentLight, std::max(1.5, box.width() / 9), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(chevron);
}

void SkinPainter::plate(const QRectF& rect)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(vertical(rect, QColor(0x0b, 0x0c, 0x0e), plateFill));
    painter_.drawRoundedRect(rect, 10, 10);
    // Inner shadow along the top edge, then a thin rim and a light lower lip.
    QLinearGradient shade(rect.topLeft(), rect.topLeft() + QPointF(0, 10));
    shade.setColorAt(0, QColor(0, 0, 0, 140));
    shade.setColorAt(1, QColor(0, 0, 0, 0));
    painter_.setBrush(shade);
    painter_.drawRoundedRect(rect, 10, 10);
    painter_.setBrush(Qt::NoBrush);
    painter_.setPen(QPen(plateRim, 1));
    painter_.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 9.5, 9.5);
    painter_.setPen(QPen(withAlpha(edgeLight, 70), 1));
    painter_.drawLine(QPointF(rect.left() + 10, rect.bottom() + 0.5), QPointF(rect.right() - 10, rect.bottom() + 0.5));
}

void SkinPainter::sheet(const QRectF& rect)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(0, 0, 0, 80));
    painter_.drawRoundedRect(r.translated(0, 1.5), 8, 8);
    painter_.setPen(QPen(outline, 1));
    painter_.setBrush(vertical(r, QColor(0x25, 0x28, 0x2f), QColor(0x1c, 0x1f, 0x24)));
    painter_.drawRoundedRect(r, 8, 8);
    painter_.setPen(QPen(withAlpha(edgeLight, 80), 1));
    painter_.drawLine(QPointF(r.left() + 8, r.top() + 1), QPointF(r.right() - 8, r.top() + 1));
}

void SkinPainter::well(const QRectF& rect)
{
    // The edit sits exactly on rect; the well's rim lies just outside it.
    const QRectF rim = rect.adjusted(-2, -2, 2, 2);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(0x08, 0x09, 0x0b));
    painter_.drawRoundedRect(rim, 4, 4);
    painter_.setPen(QPen(withAlpha(edgeLight, 90), 1));
    painter_.drawLine(QPointF(rim.left() + 3, rim.bottom() - 0.5), QPointF(rim.right() - 3, rim.bottom() - 0.5));
    painter_.fillRect(rect, wellFill);
}

void SkinPainter::button(const QRectF& rect, Look look)
{
    const QRectF r = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = 6;
    QColor top(0x31, 0x35, 0x3d), bottom(0x24, 0x27, 0x2d), rim(0x46, 0x4c, 0x56);
    if (look == Look::Hover) {
        top = QColor(0x45, 0x4a, 0x55);
        bottom = QColor(0x31, 0x35, 0x3c);
        rim = accentLight;
    } else if (look == Look::Active) {
        top = QColor(0x4a, 0x2c, 0x14);
        bottom = QColor(0x2c, 0x1a, 0x0c);
        rim = accent;
    }
    // Drop shadow inside the hit rectangle, as only that area is ever copied.
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(0, 0, 0, 90));
    painter_.drawRoundedRect(r.translated(0, 1), radius, radius);
    painter_.setBrush(vertical(r, top, bottom));
    painter_.setPen(QPen(rim, 1));
    painter_.drawRoundedRect(r, radius, radius);
    // Top highlight for a slight bevel.
    painter_.setPen(QPen(QColor(255, 255, 255, look == Look::Hover ? 46 : 26), 1));
    painter_.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    if (look == Look::Active) {
        QRadialGradient glow(QPointF(r.center().x(), r.bottom()), r.width() * 0.6);
        glow.setColorAt(0, withAlpha(accent, 110));
        glow.setColorAt(1, withAlpha(accent, 0));
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(glow);
        painter_.drawRoundedRect(r.adjusted(1, 1, -1, -1), radius - 1, radius - 1);
        painter_.fillRect(QRectF(r.left() + radius, r.bottom() - 2.5, r.width() - 2 * radius, 1.5), accentLight);
    }
}

void SkinPainter::keyCap(const QRectF& rect, Look look, const QString& caption)
{
    // A sculpted cap: a darker skirt filling the key's rectangle and a lighter
    // top face set back from it, legend on the face.
    const QRectF skirt = rect.adjusted(1, 1, -1, -1);
    const QRectF face = rect.adjusted(4, 2.5, -4, -6);
    QColor skirtTop(0x2a, 0x2d, 0x33), skirtBottom(0x17, 0x19, 0x1d), skirtRim(0x3a, 0x3e, 0x46);
    QColor faceTop(0x3a, 0x3e, 0x46), faceBottom(0x2d, 0x30, 0x37);
    QColor text = legendText;
    if (look == Look::Hover) {
        // Lifted and outlined in the pale accent: clearly "under the mouse",
        // yet unlike the filled look of an assigned key.
        skirtTop = QColor(0x3a, 0x3e, 0x47);
        skirtRim = accentLight;
        faceTop = QColor(0x58, 0x5e, 0x69);
        faceBottom = QColor(0x44, 0x49, 0x52);
        text = Qt::white;
    } else if (look == Look::Active) {
        skirtTop = QColor(0x5a, 0x2c, 0x08);
        skirtBottom = QColor(0x2c, 0x14, 0x04);
        skirtRim = accent;
        faceTop = QColor(0xff, 0x8a, 0x26);
        faceBottom = QColor(0xe0, 0x5c, 0x00);
        text = QColor(0x1a, 0x0d, 0x02);
    }
    painter_.setPen(QPen(skirtRim, 1));
    painter_.setBrush(vertical(skirt, skirtTop, skirtBottom));
    painter_.drawRoundedRect(skirt.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);

    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(0, 0, 0, 70));
    painter_.drawRoundedRect(face.translated(0, 1.5), 4, 4);
    painter_.setBrush(vertical(face, faceTop, faceBottom));
    painter_.drawRoundedRect(face, 4, 4);
    painter_.setPen(QPen(QColor(255, 255, 255, look == Look::Active ? 110 : 34), 1));
    painter_.drawLine(QPointF(face.left() + 4, face.top() + 0.5), QPointF(face.right() - 4, face.top() + 0.5));

    legend(face, caption, text);
}

void SkinPainter::legend(const QRectF& face, const QString& caption, const QColor& colour)
{
    if (caption.isEmpty())
        return;
    const qreal room = face.width() - 4;
    QStringList lines{caption};
    int size = caption.size() == 1 ? 14 : 11;
    QFont f = font(size, QFont::Medium);
    if (QFontMetricsF(f).horizontalAdvance(caption) > room) {
        lines = splitCaption(caption);
        size = 10;
    }
    // Shrink until the widest line fits; the captions are short.
    for (;; --size) {
        f = font(size, QFont::Medium);
        const QFontMetricsF metrics(f);
        qreal widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= room || size <= 7)
            break;
    }
    const QFontMetricsF metrics(f);
    const qreal lineHeight = metrics.ascent() + metrics.descent() * 0.35;
    const qreal block = lineHeight * lines.size();
    qreal baseline = face.center().y() - block / 2 + metrics.ascent() - metrics.descent() * 0.1;
    painter_.setFont(f);
    painter_.setPen(colour);
    for (const QString& line : lines) {
        const qreal width = metrics.horizontalAdvance(line);
        painter_.drawText(QPointF(face.center().x() - width / 2, baseline), line);
        baseline += lineHeight;
    }
}

void SkinPainter::glyphButton(const QRectF& rect, Glyph glyph, Look look)
{
    const qreal side = std::min(rect.width(), rect.height()) - 2;
    const QRectF box(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    if (look != Look::Normal) {
        QColor fill = look == Look::Hover ? QColor(0x3c, 0x41, 0x4a) : QColor(0x4a, 0x2c, 0x14);
        if (glyph == Glyph::Close && look == Look::Hover)
            fill = QColor(0xc4, 0x3b, 0x2f);
        painter_.setPen(look == Look::Active ? QPen(accent, 1) : Qt::NoPen);
        painter_.setBrush(fill);
        painter_.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
    }
    const QColor ink = glyphInk(look);
    const QPointF c = box.center();
    const qreal s = side * 0.2;
    painter_.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
    painter_.setBrush(Qt::NoBrush);
    switch (glyph) {
    case Glyph::Close:
        painter_.drawLine(c + QPointF(-s, -s), c + QPointF(s, s));
        painter_.drawLine(c + QPointF(-s, s), c + QPointF(s, -s));
        break;
    case Glyph::Minimise:
        painter_.drawLine(c + QPointF(-s, s * 0.9), c + QPointF(s, s * 0.9));
        break;
    case Glyph::Help: {
        QFont f = font(int(side * 0.62), QFont::Bold);
        painter_.setFont(f);
        painter_.setPen(ink);
        painter_.drawText(box, Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    }
}

void SkinPainter::globe(const QPointF& centre, qreal radius, Look look)
{
    const QColor ink = look == Look::Active ? accentLight : look == Look::Hover ? Qt::white : mutedText;
    painter_.setPen(QPen(ink, 1.2));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawEllipse(centre, radius, radius);
    painter_.drawEllipse(centre, radius * 0.45, radius);
    painter_.drawLine(centre + QPointF(-radius, 0), centre + QPointF(radius, 0));
    painter_.drawLine(centre + QPointF(0, -radius), centre + QPointF(0, radius));
}

void SkinPainter::toggle(const QRectF& rect, Look look)
{
    // A sliding switch: knob left for level 0, right (and lit) for level 1.
    const qreal height = std::min(rect.height() - 6, 20.0);
    const QRectF track(rect.left() + 3, rect.center().y() - height / 2, rect.width() - 6, height);
    const bool on = look == Look::Active;
    QColor trackTop(0x0c, 0x0d, 0x10), trackBottom(0x1d, 0x20, 0x25), rim(0x3a, 0x3f, 0x48);
    if (look == Look::Hover)
        rim = QColor(0x74, 0x7c, 0x89);
    if (on) {
        trackTop = QColor(0x7a, 0x33, 0x00);
        trackBottom = QColor(0xc8, 0x55, 0x00);
        rim = accent;
    }
    painter_.setPen(QPen(rim, 1));
    painter_.setBrush(vertical(track, trackTop, trackBottom));
    painter_.drawRoundedRect(track, height / 2, height / 2);

    // Two notches name the sides: one dot for level 0, two for level 1.
    const qreal dotY = track.center().y();
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(on ? QColor(0xff, 0xd0, 0xa0) : mutedText);
    if (on) {
        painter_.drawEllipse(QPointF(track.left() + height * 0.75, dotY), 1.6, 1.6);
    } else {
        painter_.drawEllipse(QPointF(track.right() - height * 0.95, dotY), 1.6, 1.6);
        painter_.drawEllipse(QPointF(track.right() - height * 0.55, dotY), 1.6, 1.6);
    }

    const qreal knobSize = height - 4;
    const qreal knobWidth = track.width() * 0.46;
    const qreal x = on ? track.right() - 2 - knobWidth : track.left() + 2;
    const QRectF knob(x, track.top() + 2, knobWidth, knobSize);
    painter_.setBrush(QColor(0, 0, 0, 90));
    painter_.drawRoundedRect(knob.translated(0, 1), knobSize / 2, knobSize / 2);
    QColor knobTop = look == Look::Hover ? QColor(0x6a, 0x70, 0x7b) : QColor(0x58, 0x5d, 0x67);
    QColor knobBottom = look == Look::Hover ? QColor(0x4a, 0x4f, 0x58) : QColor(0x3c, 0x40, 0x48);
    if (on) {
        knobTop = QColor(0xff, 0xf1, 0xe3);
        knobBottom = QColor(0xe6, 0xd2, 0xbe);
    }
    painter_.setBrush(vertical(knob, knobTop, knobBottom));
    painter_.setPen(QPen(QColor(0, 0, 0, 120), 1));
    painter_.drawRoundedRect(knob, knobSize / 2, knobSize / 2);
    // Grip lines on the knob.
    painter_.setPen(QPen(on ? QColor(0xb0, 0x80, 0x58) : QColor(0x2a, 0x2d, 0x33), 1));
    for (int i = -1; i <= 1; ++i) {
        const qreal gx = knob.center().x() + i * 4;
        painter_.drawLine(QPointF(gx, knob.top() + 4), QPointF(gx, knob.bottom() - 4));
    }
}

void SkinPainter::tab(const QRectF& rect, Look look, bool current)
{
    // Rounded at the top only, standing on the strip's base line; the lit tab
    // carries the accent along its foot like the title's stripe.
    const bool lit = current || look == Look::Active;
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, 0);
    QColor top(0x24, 0x27, 0x2d), bottom(0x1a, 0x1c, 0x21), rim(0x30, 0x34, 0x3b);
    if (look == Look::Active) {  // pressed, as the buttons are
        top = QColor(0x4a, 0x2c, 0x14);
        bottom = QColor(0x2c, 0x1a, 0x0c);
        rim = accent;
    } else if (lit) {
        top = look == Look::Hover ? QColor(0x4a, 0x4f, 0x5a) : QColor(0x3c, 0x41, 0x4a);
        bottom = QColor(0x2a, 0x2d, 0x34);
        rim = QColor(0x55, 0x5b, 0x66);
    } else if (look == Look::Hover) {
        top = QColor(0x36, 0x3a, 0x42);
        bottom = QColor(0x25, 0x28, 0x2e);
        rim = QColor(0x5a, 0x60, 0x6b);
    }
    painter_.save();
    painter_.setClipRect(rect);
    painter_.setPen(QPen(rim, 1));
    painter_.setBrush(vertical(r, top, bottom));
    painter_.drawRoundedRect(r.adjusted(0, 0, 0, 8), 6, 6);
    painter_.setPen(QPen(QColor(255, 255, 255, lit ? 40 : 18), 1));
    painter_.drawLine(QPointF(r.left() + 6, r.top() + 1), QPointF(r.right() - 6, r.top() + 1));
    if (lit) {
        QRadialGradient glow(QPointF(r.center().x(), r.bottom()), r.width() * 0.55);
        glow.setColorAt(0, withAlpha(accent, 90));
        glow.setColorAt(1, withAlpha(accent, 0));
        painter_.fillRect(r.adjusted(1, 1, -1, 0), glow);
        painter_.fillRect(QRectF(r.left() + 1, r.bottom() - 2.5, r.width() - 2, 2.5), accent);
        painter_.fillRect(QRectF(r.left() + 1, r.bottom() - 2.5, r.width() - 2, 1), accentLight);
    } else if (look == Look::Hover) {
        painter_.fillRect(QRectF(r.left() + 6, r.bottom() - 1.5, r.width() - 12, 1.5), withAlpha(accentLight, 200));
    }
    painter_.restore();
}

void SkinPainter::halo(const QRectF& box, qreal radius, Look look)
{
    // A pale ground under the mouse, an accent glow when checked; radius is
    // the corner radius of the area 4 pixels around box.
    if (look == Look::Normal)
        return;
    const QRectF around = box.adjusted(-4, -4, 4, 4);
    painter_.setPen(Qt::NoPen);
    if (look == Look::Hover) {
        painter_.setBrush(withAlpha(accentLight, 40));
    } else {
        QRadialGradient glow(around.center(), around.width() / 2);
        glow.setColorAt(0.5, withAlpha(accent, 110));
        glow.setColorAt(1, withAlpha(accent, 0));
        painter_.setBrush(glow);
    }
    painter_.drawRoundedRect(around, radius, radius);
}

void SkinPainter::radio(const QPointF& centre, qreal radius, Look look)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    halo(box, radius + 4, look);
    QColor rim = look == Look::Normal ? QColor(0x70, 0x76, 0x82) : look == Look::Hover ? accentLight : accent;
    painter_.setPen(QPen(rim, 1.4));
    painter_.setBrush(vertical(box, QColor(0x0c, 0x0d, 0x10), QColor(0x22, 0x25, 0x2b)));
    painter_.drawEllipse(centre, radius - 0.7, radius - 0.7);
    if (look == Look::Active) {
        QRadialGradient dot(centre - QPointF(radius * 0.15, radius * 0.2), radius * 0.55);
        dot.setColorAt(0, QColor(0xff, 0xd0, 0xa0));
        dot.setColorAt(1, accent);
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(dot);
        painter_.drawEllipse(centre, radius * 0.48, radius * 0.48);
    }
}

void SkinPainter::checkBox(const QRectF& box, Look look)
{
    const QRectF r = box.adjusted(0.7, 0.7, -0.7, -0.7);
    halo(box, 7, look);
    if (look == Look::Active) {
        painter_.setPen(QPen(accentLight, 1.4));
        painter_.setBrush(vertical(r, accentLight, accent));
    } else {
        painter_.setPen(QPen(look == Look::Hover ? accentLight : QColor(0x5a, 0x60, 0x6b), 1.4));
        painter_.setBrush(vertical(r, QColor(0x0c, 0x0d, 0x10), QColor(0x22, 0x25, 0x2b)));
    }
    painter_.drawRoundedRect(r, 3, 3);
    if (look == Look::Active) {
        QPainterPath tick;
        tick.moveTo(r.left() + r.width() * 0.24, r.top() + r.height() * 0.52);
        tick.lineTo(r.left() + r.width() * 0.43, r.top() + r.height() * 0.72);
        tick.lineTo(r.left() + r.width() * 0.78, r.top() + r.height() * 0.3);
        painter_.setPen(QPen(QColor(0x1a, 0x0d, 0x02), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(tick);
    }
}

void SkinPainter::recordLamp(const QPointF& centre, qreal radius, Look look)
{
    QColor core(0x6a, 0x1a, 0x16), edge(0x3a, 0x0c, 0x0a);
    if (look == Look::Hover) {
        core = QColor(0xb0, 0x2c, 0x24);
        edge = QColor(0x5a, 0x14, 0x10);
    } else if (look == Look::Active) {
        // Lit: a halo around a bright core, the universal "recording" sign.
        QRadialGradient glow(centre, radius * 2.6);
        glow.setColorAt(0, QColor(0xff, 0x30, 0x24, 150));
        glow.setColorAt(1, QColor(0xff, 0x30, 0x24, 0));
        painter_.setPen(Qt::NoPen);
        painter_.setBrush(glow);
        painter_.drawEllipse(centre, radius * 2.6, radius * 2.6);
        core = QColor(0xff, 0x5a, 0x4a);
        edge = QColor(0xd0, 0x18, 0x10);
    }
    QRadialGradient body(centre - QPointF(radius * 0.3, radius * 0.35), radius * 1.2);
    body.setColorAt(0, core);
    body.setColorAt(1, edge);
    painter_.setPen(QPen(QColor(0, 0, 0, 140), 1));
    painter_.setBrush(body);
    painter_.drawEllipse(centre, radius, radius);
}

QColor SkinPainter::iconTile(const QRectF& rect, Look look)
{
    const QRectF r = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    const qreal radius = 7;
    QColor top(0x30, 0x34, 0x3b), bottom(0x21, 0x24, 0x29), rim(0x40, 0x45, 0x4e);
    QColor ink(0xb8, 0xbd, 0xc6);
    if (look == Look::Hover) {
        top = QColor(0x4a, 0x4f, 0x5a);
        bottom = QColor(0x33, 0x37, 0x3e);
        rim = accentLight;
        ink = Qt::white;
    } else if (look == Look::Active) {
        // Selected: filled like an assigned key in the main window.
        top = QColor(0xff, 0x8a, 0x26);
        bottom = QColor(0xd8, 0x58, 0x00);
        rim = accentLight;
        ink = QColor(0x1a, 0x0d, 0x02);
    }
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QColor(0, 0, 0, 100));
    painter_.drawRoundedRect(r.translated(0, 1), radius, radius);
    painter_.setPen(QPen(rim, 1));
    painter_.setBrush(vertical(r, top, bottom));
    painter_.drawRoundedRect(r, radius, radius);
    painter_.setPen(QPen(QColor(255, 255, 255, look == Look::Active ? 110 : 30), 1));
    painter_.drawLine(QPointF(r.left() + radius, r.top() + 1.5), QPointF(r.right() - radius, r.top() + 1.5));
    return ink;
}

void SkinPainter::rowHighlight(const QRectF& rect, Look look)
{
    if (look == Look::Normal)
        return;
    painter_.setPen(Qt::NoPen);
    if (look == Look::Hover) {
        painter_.setBrush(QColor(255, 255, 255, 20));
        painter_.drawRoundedRect(rect, 2, 2);
        return;
    }
    // The text starts at the row's left edge, so the accent is a fill fading
    // to the right over a bright foot line, not a stripe under the text.
    QLinearGradient fill(rect.topLeft(), rect.topRight());
    fill.setColorAt(0, withAlpha(accent, 130));
    fill.setColorAt(1, withAlpha(accent, 45));
    painter_.setBrush(fill);
    painter_.drawRoundedRect(rect, 2, 2);
    QLinearGradient foot(rect.topLeft(), rect.topRight());
    foot.setColorAt(0, accentLight);
    foot.setColorAt(1, withAlpha(accentLight, 40));
    painter_.fillRect(QRectF(rect.left() + 1, rect.bottom() - 1, rect.width() - 2, 1), foot);
}

void SkinPainter::rowBar(const QRectF& rect, Look look)
{
    const QRectF r = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    painter_.setPen(QPen(look == Look::Hover ? withAlpha(accentLight, 150) : look == Look::Active ? accent : plateRim, 1));
    painter_.setBrush(vertical(r, QColor(0x24, 0x27, 0x2d), QColor(0x1b, 0x1d, 0x22)));
    painter_.drawRoundedRect(r, 3, 3);
    rowHighlight(rect.adjusted(1, 1, -1, -1), look);
}

void SkinPainter::tag(const QRectF& rect)
{
    // Pressed into the sheet like a small well, so it never reads as a button.
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(vertical(rect, QColor(0x12, 0x14, 0x17), QColor(0x19, 0x1b, 0x20)));
    painter_.drawRoundedRect(rect, 4, 4);
    painter_.setPen(QPen(withAlpha(edgeLight, 80), 1));
    painter_.drawLine(QPointF(rect.left() + 4, rect.bottom() - 0.5), QPointF(rect.right() - 4, rect.bottom() - 0.5));
}

void SkinPainter::headingMark(const QRectF& bar)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(vertical(bar, accentLight, accent));
    painter_.drawRoundedRect(bar, bar.width() / 2, bar.width() / 2);
}

void SkinPainter::divider(const QRectF& line)
{
    painter_.fillRect(line, plateRim);
}

QColor SkinPainter::glyphInk(Look look)
{
    return look == Look::Normal ? QColor(0xb8, 0xbd, 0xc6) : look == Look::Hover ? QColor(Qt::white) : accentLight;
}

void SkinPainter::barTrack(const QRectF& rect)
{
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(vertical(rect, QColor(0x08, 0x09, 0x0b), QColor(0x17, 0x19, 0x1d)));
    painter_.drawRoundedRect(rect, 4, 4);
    painter_.setPen(QPen(QColor(0x30, 0x34, 0x3b), 1));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawRoundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), 3.5, 3.5);
}

void SkinPainter::barFill(const QRectF& rect)
{
    // Only a left part of the fill is ever copied, so it must read well when
    // cut anywhere: a flat gradient with fine stripes, no end cap.
    const QRectF inner = rect.adjusted(1, 1, -1, -1);
    painter_.save();
    painter_.setClipPath(rounded(inner, 3));
    painter_.fillRect(inner, vertical(inner, accentLight, accentDeep));
    painter_.setPen(QPen(QColor(255, 255, 255, 28), 4));
    for (qreal x = inner.left() - inner.height(); x < inner.right(); x += 12)
        painter_.drawLine(QPointF(x, inner.bottom()), QPointF(x + inner.height(), inner.top()));
    painter_.fillRect(QRectF(inner.left(), inner.top(), inner.width(), 1), QColor(255, 230, 200, 150));
    painter_.restore();
}

void SkinPainter::mouseIcon(const QRectF& rect)
{
    const qreal split = rect.top() + rect.height() * 0.4;
    const qreal mid = rect.center().x();
    QPainterPath cable;
    cable.moveTo(mid, rect.top());
    cable.cubicTo(mid, rect.top() - 18, mid + 40, rect.top() - 4, mid + 46, rect.top() - 22);
    painter_.setPen(QPen(accent, 2, Qt::SolidLine, Qt::RoundCap));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(cable);

    const qreal radius = rect.width() / 2;
    painter_.setPen(QPen(mutedText, 1.6));
    painter_.setBrush(vertical(rect, QColor(0x2a, 0x2e, 0x35), QColor(0x17, 0x19, 0x1d)));
    painter_.drawRoundedRect(rect, radius, radius);
    painter_.drawLine(QPointF(rect.left(), split), QPointF(rect.right(), split));
    painter_.drawLine(QPointF(mid, rect.top()), QPointF(mid, split));
    // The wheel, lit.
    const QRectF wheel(mid - 5, rect.top() + rect.height() * 0.12, 10, rect.height() * 0.18);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(withAlpha(accent, 60));
    painter_.drawRoundedRect(wheel.adjusted(-4, -4, 4, 4), 8, 8);
    painter_.setBrush(vertical(wheel, accentLight, accentDeep));
    painter_.drawRoundedRect(wheel, 5, 5);
}

void SkinPainter::keyboardIcon(const QRectF& rect)
{
    // A small keyboard with its cable: shown above the "keep connected" warning.
    painter_.setPen(QPen(mutedText, 1.4));
    painter_.setBrush(QColor(0x1a, 0x1c, 0x21));
    painter_.drawRoundedRect(rect, 4, 4);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(mutedText);
    const qreal cell = rect.width() / 11;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 9; ++col)
            painter_.drawRoundedRect(QRectF(rect.left() + cell * (col + 1) + 1, rect.top() + 5 + row * cell, cell - 2, cell - 2), 1, 1);
    painter_.drawRoundedRect(QRectF(rect.left() + cell * 3 + 1, rect.top() + 5 + 3 * cell, cell * 5 - 2, cell - 2), 1, 1);
    QPainterPath cable;
    cable.moveTo(rect.center().x(), rect.top());
    cable.cubicTo(rect.center().x(), rect.top() - 10, rect.center().x() + 30, rect.top() - 2, rect.center().x() + 34, rect.top() - 12);
    painter_.setPen(QPen(accent, 2, Qt::SolidLine, Qt::RoundCap));
    painter_.setBrush(Qt::NoBrush);
    painter_.drawPath(cable);
}

}  // namespace skingen
