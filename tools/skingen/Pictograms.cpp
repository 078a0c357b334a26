// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "Pictograms.h"

#include <QConicalGradient>
#include <QImage>
#include <QLinearGradient>
#include <QPainterPath>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "SkinPainter.h"

namespace skingen {

namespace {

constexpr qreal grid = 24;

// A pictogram is drawn on its own transparent layer, so a badge can cut a
// clean gap into the drawing beneath it whatever the face colour is.
class Canvas {
public:
    Canvas(QPainter& painter, const QColor& ink) : p(painter), ink(ink) {}

    QPen pen(qreal width = 2) const { return QPen(ink, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin); }
    void stroke(const QPainterPath& path, qreal width = 2)
    {
        p.setPen(pen(width));
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
    void fill(const QPainterPath& path)
    {
        p.setPen(Qt::NoPen);
        p.setBrush(ink);
        p.drawPath(path);
    }
    void line(QPointF a, QPointF b, qreal width = 2)
    {
        p.setPen(pen(width));
        p.drawLine(a, b);
    }
    // Erases a shape and a margin around it.
    void cut(const QPainterPath& path, qreal margin)
    {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.setPen(QPen(Qt::black, 2 * margin, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::black);
        p.drawPath(path);
        p.restore();
    }
    void text(const QString& text, QPointF centre, qreal size)
    {
        QPainterPath path;
        path.addText(0, 0, SkinPainter::font(100, QFont::Bold), text);
        const QRectF bounds = path.boundingRect();
        QTransform place;
        place.translate(centre.x(), centre.y());
        place.scale(size / 100, size / 100);
        place.translate(-bounds.center().x(), -bounds.center().y());
        fill(place.map(path));
    }

    QPainter& p;
    QColor ink;
};

QPainterPath polygon(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    path.closeSubpath();
    return path;
}

QPainterPath polyline(std::initializer_list<QPointF> points)
{
    QPainterPath path;
    path.addPolygon(QPolygonF(QList<QPointF>(points)));
    return path;
}

QPainterPath roundedBox(qreal x, qreal y, qreal w, qreal h, qreal r)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(x, y, w, h), r, r);
    return path;
}

QPainterPath circle(QPointF centre, qreal r)
{
    QPainterPath path;
    path.addEllipse(centre, r, r);
    return path;
}

// y = mid - amp * sin over [left, right] with the given number of periods.
QPainterPath wave(qreal left, qreal right, qreal mid, qreal amp, qreal periods)
{
    QPainterPath path;
    for (int i = 0; i <= 48; ++i) {
        const qreal t = i / 48.0;
        const QPointF pt(left + t * (right - left), mid - amp * std::sin(t * periods * 2 * std::numbers::pi));
        i == 0 ? path.moveTo(pt) : path.lineTo(pt);
    }
    return path;
}

// Plus or minus at the right side, shared by every "more / less" pair.
void sign(Canvas& c, bool plus)
{
    c.line({17, 12}, {22.5, 12}, 2.2);
    if (plus)
        c.line({19.75, 9.25}, {19.75, 14.75}, 2.2);
}

void speaker(Canvas& c)
{
    c.fill(polygon({{2, 9}, {6, 9}, {11, 4.5}, {11, 19.5}, {6, 15}, {2, 15}}));
}

// In the upper part, leaving the lower right corner for a badge.
void keyboard(Canvas& c)
{
    c.stroke(roundedBox(2, 4, 20, 13, 2.5), 1.8);
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 5; ++col)
            c.fill(roundedBox(4.6 + col * 3.2, 6 + row * 3, 1.8, 1.8, 0.4));
    c.fill(roundedBox(7.8, 12, 8.4, 1.8, 0.4));
}

void lockBadge(Canvas& c)
{
    QPainterPath shackle;
    shackle.moveTo(15.8, 16.5);
    shackle.lineTo(15.8, 14.5);
    shackle.arcTo(QRectF(15.8, 11.2, 5.4, 6.4), 180, -180);
    shackle.lineTo(21.2, 16.5);
    const QPainterPath body = roundedBox(14, 16, 9, 7, 1.5);
    c.cut(body.united(roundedBox(15, 11, 7.4, 6, 3)), 1.6);
    c.stroke(shackle, 1.7);
    c.fill(body);
    c.cut(circle({18.5, 19.5}, 1.1), 0);
}

enum class Button { None, Left, Right, Middle };

void mouse(Canvas& c, qreal left, qreal width, Button lit = Button::None)
{
    const QPainterPath body = roundedBox(left, 1.5, width, 21, width / 2);
    const qreal mid = left + width / 2;
    if (lit == Button::Left || lit == Button::Right) {
        QPainterPath half;
        half.addRect(lit == Button::Left ? QRectF(left, 0, width / 2, 10) : QRectF(mid, 0, width / 2, 10));
        c.fill(body.intersected(half));
    }
    c.stroke(body, 1.8);
    c.line({left, 10}, {left + width, 10}, 1.5);
    c.line({mid, 1.5}, {mid, 10}, 1.5);
    if (lit == Button::Middle)
        c.fill(roundedBox(mid - 1.6, 3.5, 3.2, 5.5, 1.4));
}

void arrow(Canvas& c, qreal angle)
{
    // Pointing right before the turn.
    c.p.save();
    c.p.translate(12, 12);
    c.p.rotate(angle);
    c.fill(polygon({{-8, -2.6}, {1, -2.6}, {1, -7.5}, {9, 0}, {1, 7.5}, {1, 2.6}, {-8, 2.6}}));
    c.p.restore();
}

void circledArrow(Canvas& c, bool forward)
{
    c.stroke(circle({12, 12}, 9.5), 1.8);
    const qreal d = forward ? 1 : -1;
    c.line({12 - 4.5 * d, 12}, {12 + 4.5 * d, 12}, 2.2);
    c.stroke(polyline({{12 + 0.8 * d, 7.8}, {12 + 4.8 * d, 12}, {12 + 0.8 * d, 16.2}}), 2.2);
}

void sun(Canvas& c, QPointF centre, qreal core, qreal rayFrom, qreal rayTo)
{
    c.fill(circle(centre, core));
    for (int i = 0; i < 8; ++i) {
        const qreal a = i * std::numbers::pi / 4;
        const QPointF dir(std::cos(a), std::sin(a));
        c.line(centre + dir * rayFrom, centre + dir * rayTo, 1.8);
    }
}

// --- multimedia ---------------------------------------------------------

void mediaSelect(Canvas& c)
{
    // Two beamed notes.
    QTransform tilt;
    tilt.rotate(-20);
    for (const QPointF head : {QPointF(7, 18.5), QPointF(17.5, 16.5)}) {
        QPainterPath note;
        note.addEllipse(QPointF(0, 0), 3.3, 2.4);
        c.fill(tilt.map(note).translated(head));
        c.line(head + QPointF(2.8, -0.8), head + QPointF(2.8, -13), 1.8);
    }
    c.fill(polygon({{8.9, 4.2}, {19.4, 2}, {19.4, 5.4}, {8.9, 7.6}}));
}

void playPause(Canvas& c)
{
    c.fill(polygon({{2.5, 5}, {2.5, 19}, {12.5, 12}}));
    c.fill(roundedBox(15, 5, 2.8, 14, 0.8));
    c.fill(roundedBox(19.6, 5, 2.8, 14, 0.8));
}

void stop(Canvas& c) { c.fill(roundedBox(5.5, 5.5, 13, 13, 2)); }

void nextTrack(Canvas& c)
{
    c.fill(polygon({{2.5, 6}, {2.5, 18}, {10.5, 12}}));
    c.fill(polygon({{10.5, 6}, {10.5, 18}, {18.5, 12}}));
    c.fill(roundedBox(18.8, 6, 2.7, 12, 0.8));
}

void previousTrack(Canvas& c)
{
    c.fill(polygon({{21.5, 6}, {21.5, 18}, {13.5, 12}}));
    c.fill(polygon({{13.5, 6}, {13.5, 18}, {5.5, 12}}));
    c.fill(roundedBox(2.5, 6, 2.7, 12, 0.8));
}

void volumeDown(Canvas& c)
{
    speaker(c);
    sign(c, false);
}

void volumeUp(Canvas& c)
{
    speaker(c);
    sign(c, true);
}

void mute(Canvas& c)
{
    speaker(c);
    c.line({15.5, 9}, {21.5, 15}, 2.2);
    c.line({21.5, 9}, {15.5, 15}, 2.2);
}

// --- browser and applications -------------------------------------------

void back(Canvas& c) { circledArrow(c, false); }
void forward(Canvas& c) { circledArrow(c, true); }

void browserStop(Canvas& c)
{
    c.stroke(circle({12, 12}, 9.5), 1.8);
    c.line({8.5, 8.5}, {15.5, 15.5}, 2.2);
    c.line({15.5, 8.5}, {8.5, 15.5}, 2.2);
}

void refresh(Canvas& c)
{
    QPainterPath arc;
    arc.arcMoveTo(QRectF(4, 4, 16, 16), 75);
    arc.arcTo(QRectF(4, 4, 16, 16), 75, 280);
    c.stroke(arc, 2.2);
    // Arrow head where the arc ends on the right, pointing on round.
    c.fill(polygon({{20.2, 5.5}, {16, 12}, {24, 12}}));
}

void favourites(Canvas& c)
{
    QPainterPath star;
    for (int i = 0; i < 10; ++i) {
        const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const qreal r = i % 2 ? 4.4 : 10;
        const QPointF pt(12 + r * std::cos(a), 13 + r * std::sin(a));
        i == 0 ? star.moveTo(pt) : star.lineTo(pt);
    }
    star.closeSubpath();
    c.stroke(star, 1.8);
}

void search(Canvas& c)
{
    c.stroke(circle({10, 10}, 6.2), 2.2);
    c.line({14.8, 14.8}, {20.5, 20.5}, 3.2);
}

void mail(Canvas& c)
{
    c.stroke(roundedBox(2.5, 5.5, 19, 13, 1.5), 1.8);
    c.stroke(polyline({{3, 6.5}, {12, 13}, {21, 6.5}}), 1.8);
}

void home(Canvas& c)
{
    c.stroke(polyline({{2.5, 12}, {12, 3.5}, {21.5, 12}}), 2);
    c.stroke(polyline({{5.5, 10}, {5.5, 20.5}, {18.5, 20.5}, {18.5, 10}}), 1.8);
    c.fill(roundedBox(10.2, 14, 3.6, 6.5, 0.6));
}

void computer(Canvas& c)
{
    c.stroke(roundedBox(2.5, 3.5, 19, 13, 1.5), 1.8);
    c.fill(roundedBox(5, 6, 14, 8, 0.6).subtracted(roundedBox(6, 7, 12, 6, 0)));
    c.line({12, 16.5}, {12, 19.5}, 2);
    c.line({7.5, 20.5}, {16.5, 20.5}, 2);
}

void calculator(Canvas& c)
{
    c.stroke(roundedBox(5, 2.5, 14, 19, 2), 1.8);
    c.fill(roundedBox(7.5, 5, 9, 3.5, 0.6));
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            c.fill(roundedBox(7.4 + col * 3.3, 11 + row * 3.3, 2.3, 2.3, 0.5));
}

// --- keyboard functions -------------------------------------------------

void rollover(Canvas& c)
{
    c.text(QStringLiteral("6"), {6, 8.5}, 11);
    c.text(QStringLiteral("N"), {18, 8.5}, 11);
    c.line({12.8, 4.5}, {11.2, 12.5}, 1.4);
    // Two-way arrows: the key counts switch back and forth.
    c.line({4, 17}, {19, 17}, 1.6);
    c.stroke(polyline({{17, 15}, {20, 17}, {17, 19}}), 1.6);
    c.line({5, 21.5}, {20, 21.5}, 1.6);
    c.stroke(polyline({{7, 19.5}, {4, 21.5}, {7, 23.5}}), 1.6);
}

void keyboardLock(Canvas& c)
{
    keyboard(c);
    lockBadge(c);
}

void keyResponse(Canvas& c)
{
    // A key cap with a lightning bolt: how fast a press is taken.
    c.stroke(roundedBox(2, 7, 14, 14, 2.5), 1.8);
    c.stroke(roundedBox(4.5, 9, 9, 8, 1.5), 1.2);
    const QPainterPath bolt = polygon({{18.5, 1.5}, {12.5, 12.5}, {16.8, 12.5}, {14.5, 22.5}, {22, 9.5}, {17.6, 9.5}, {21, 1.5}});
    c.cut(bolt, 1.4);
    c.fill(bolt);
}

void ctrlCapsSwap(Canvas& c)
{
    c.stroke(roundedBox(1.5, 12, 9.5, 10, 2), 1.6);
    c.stroke(roundedBox(13, 12, 9.5, 10, 2), 1.6);
    // Ctrl's caret and Caps Lock's hollow arrow.
    c.stroke(polyline({{3.8, 18.2}, {6.25, 15.6}, {8.7, 18.2}}), 1.5);
    c.stroke(polygon({{17.75, 14.2}, {20.4, 17}, {19, 17}, {19, 18.5}, {16.5, 18.5}, {16.5, 17}, {15.1, 17}}), 1.1);
    c.line({16.5, 20.3}, {19, 20.3}, 1.1);
    // The two trade places.
    QPainterPath swap;
    swap.moveTo(6.25, 9.5);
    swap.cubicTo(7, 3, 17, 3, 17.75, 9.5);
    c.stroke(swap, 1.6);
    c.stroke(polyline({{4.3, 7.3}, {6.25, 9.8}, {8.4, 7.6}}), 1.6);
    c.stroke(polyline({{15.6, 7.6}, {17.75, 9.8}, {19.7, 7.3}}), 1.6);
}

void winLock(Canvas& c)
{
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            c.fill(roundedBox(2.5 + col * 8, 2.5 + row * 8, 7, 7, 1));
    lockBadge(c);
}

void scanDelay(Canvas& c)
{
    c.stroke(circle({12, 13.5}, 8.3), 1.8);
    c.fill(roundedBox(10, 1.5, 4, 2.5, 0.8));
    c.line({12, 4}, {12, 5.2}, 1.8);
    c.line({18.3, 6.8}, {19.6, 5.5}, 1.8);
    c.line({12, 13.5}, {12, 8.5}, 1.8);
    c.line({12, 13.5}, {15.5, 15.5}, 1.8);
}

void reportRate(Canvas& c)
{
    c.stroke(polyline({{1.5, 13}, {4.5, 13}, {4.5, 4}, {8.5, 4}, {8.5, 13}, {12, 13}, {12, 4}, {16, 4}, {16, 13}, {19.5, 13}, {19.5, 4}, {22.5, 4}}), 1.7);
    c.text(QStringLiteral("Hz"), {12, 19.5}, 8.5);
}

void dpiDown(Canvas& c)
{
    mouse(c, 2, 12);
    sign(c, false);
}

void dpiUp(Canvas& c)
{
    mouse(c, 2, 12);
    sign(c, true);
}

void fn(Canvas& c)
{
    c.stroke(roundedBox(2.5, 2.5, 19, 19, 3.5), 1.8);
    c.text(QStringLiteral("Fn"), {12, 12}, 10);
}

void programmable(Canvas& c)
{
    keyboard(c);
    // A gear: the keyboard runs what it is given.
    QPainterPath gear;
    for (int i = 0; i < 16; ++i) {
        const qreal a = i * std::numbers::pi / 8;
        const qreal r = (i / 2) % 2 ? 3.4 : 5.0;
        const QPointF pt(18 + r * std::cos(a + 0.2), 18 + r * std::sin(a + 0.2));
        i == 0 ? gear.moveTo(pt) : gear.lineTo(pt);
    }
    gear.closeSubpath();
    c.cut(gear, 1.5);
    c.fill(gear);
    c.cut(circle({18, 18}, 1.5), 0);
}

// --- backlight ----------------------------------------------------------

void demonstrate(Canvas& c)
{
    // Keys lighting up one after the other, and "play".
    const int alpha[] = {255, 200, 140, 90, 60, 40};
    for (int i = 0; i < 6; ++i) {
        QColor ink = c.ink;
        ink.setAlphaF(alpha[i] / 255.0);
        c.p.setPen(Qt::NoPen);
        c.p.setBrush(ink);
        c.p.drawPath(roundedBox(2 + (i % 3) * 7, 3 + (i / 3) * 7, 5.5, 5.5, 1.2));
    }
    const QPainterPath play = polygon({{13, 12.5}, {13, 23}, {22.5, 17.75}});
    c.cut(play, 1.5);
    c.fill(play);
}

void starShower(Canvas& c)
{
    // Falling stars with fading tails.
    const std::pair<QPointF, qreal> stars[] = {{{7.5, 16.5}, 4.6}, {{17.5, 19.5}, 2.8}, {{8, 5.5}, 2.6}};
    for (const auto& [head, r] : stars) {
        const QPointF tailEnd = head + QPointF(r * 2.4, -r * 2.4);
        QLinearGradient tail(tailEnd, head);
        QColor faint = c.ink;
        faint.setAlpha(0);
        tail.setColorAt(0, faint);
        tail.setColorAt(1, c.ink);
        c.p.setPen(QPen(QBrush(tail), r * 0.55, Qt::SolidLine, Qt::RoundCap));
        c.p.drawLine(tailEnd, head);
        QPainterPath star;
        for (int i = 0; i < 10; ++i) {
            const qreal a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
            const QPointF pt = head + QPointF(std::cos(a), std::sin(a)) * (i % 2 ? r * 0.45 : r);
            i == 0 ? star.moveTo(pt) : star.lineTo(pt);
        }
        star.closeSubpath();
        c.fill(star);
    }
}

void ripple(Canvas& c)
{
    c.fill(circle({12, 12}, 2.4));
    const qreal radii[] = {6, 10};
    const int alpha[] = {230, 130};
    for (int i = 0; i < 2; ++i) {
        QColor ink = c.ink;
        ink.setAlpha(alpha[i]);
        c.p.setPen(QPen(ink, 1.8));
        c.p.setBrush(Qt::NoBrush);
        c.p.drawEllipse(QPointF(12, 12), radii[i], radii[i]);
    }
}

void brightnessDown(Canvas& c)
{
    sun(c, {8.5, 12}, 2.8, 4.8, 6.3);
    sign(c, false);
}

void brightnessUp(Canvas& c)
{
    sun(c, {8.5, 12}, 3.2, 5, 7.8);
    sign(c, true);
}

void backlightSwitch(Canvas& c)
{
    // A bulb.
    QPainterPath bulb;
    bulb.moveTo(9.2, 15.5);
    bulb.arcTo(QRectF(5, 2, 14, 14), 235, -290);
    bulb.lineTo(14.8, 15.5);
    bulb.lineTo(14.8, 17.5);
    bulb.lineTo(9.2, 17.5);
    bulb.closeSubpath();
    c.stroke(bulb, 1.8);
    c.line({9.7, 20}, {14.3, 20}, 1.8);
    c.line({10.8, 22.3}, {13.2, 22.3}, 1.8);
    c.stroke(polyline({{10.2, 10}, {12, 12}, {13.8, 10}}), 1.3);
}

void breathe(Canvas& c)
{
    // A slow rise and fall of light.
    QPainterPath area = wave(2, 22, 12, 6, 1);
    area.lineTo(22, 21);
    area.lineTo(2, 21);
    area.closeSubpath();
    QColor soft = c.ink;
    soft.setAlpha(70);
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(soft);
    c.p.drawPath(area);
    c.stroke(wave(2, 22, 12, 6, 1), 2);
}

void breatheFaster(Canvas& c)
{
    c.stroke(wave(1.5, 15, 12, 5, 2), 1.8);
    sign(c, true);
}

void breatheSlower(Canvas& c)
{
    c.stroke(wave(1.5, 15, 12, 5, 0.75), 1.8);
    sign(c, false);
}

void backlightMacro(Canvas& c)
{
    // Keys of one's own colours, set by hand.
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 2; ++col)
            c.fill(roundedBox(2 + col * 6.5, 10 + row * 6.5, 5, 5, 1.1));
    QPainterPath pencil = polygon({{13, 13.5}, {20, 3}, {23, 5}, {16, 15.5}, {12.6, 17.4}});
    c.cut(pencil, 1.4);
    c.fill(pencil.subtracted(polygon({{18.4, 5.4}, {21.4, 7.4}, {21.9, 6.6}, {18.9, 4.6}})));
}

void sunset(Canvas& c)
{
    QPainterPath half;
    half.moveTo(6, 16);
    half.arcTo(QRectF(6, 10, 12, 12), 180, -180);
    half.closeSubpath();
    c.fill(half);
    for (int i = 0; i < 5; ++i) {
        const qreal a = std::numbers::pi * (1 + i / 4.0);
        const QPointF dir(std::cos(a), std::sin(a));
        c.line(QPointF(12, 16) + dir * 8.3, QPointF(12, 16) + dir * 10.3, 1.8);
    }
    c.line({2, 16}, {22, 16}, 1.8);
    c.line({6.5, 19.5}, {17.5, 19.5}, 1.6);
    c.line({9.5, 22.5}, {14.5, 22.5}, 1.6);
}

void allColours(Canvas& c)
{
    QConicalGradient hues(12, 12, 90);
    for (int i = 0; i <= 6; ++i)
        hues.setColorAt(i / 6.0, QColor::fromHsv((i * 60) % 360, 230, 255));
    QPainterPath ring = circle({12, 12}, 10).subtracted(circle({12, 12}, 4.2));
    c.p.setPen(Qt::NoPen);
    c.p.setBrush(hues);
    c.p.drawPath(ring);
    c.p.setPen(QPen(c.ink, 1.2));
    c.p.setBrush(Qt::NoBrush);
    c.p.drawEllipse(QPointF(12, 12), 10, 10);
    c.p.drawEllipse(QPointF(12, 12), 4.2, 4.2);
}

// --- power --------------------------------------------------------------

void wake(Canvas& c) { sun(c, {12, 12}, 4.2, 7, 10); }

void sleep(Canvas& c)
{
    const QPainterPath moon = circle({11, 13}, 9).subtracted(circle({16.5, 8.5}, 7.5));
    c.fill(moon);
    c.fill(polygon({{18, 14.5}, {19, 16.5}, {21, 17.5}, {19, 18.5}, {18, 20.5}, {17, 18.5}, {15, 17.5}, {17, 16.5}}));
}

void power(Canvas& c)
{
    QPainterPath arc;
    // Open at the top, where the bar stands.
    arc.arcMoveTo(QRectF(3.5, 4.5, 17, 17), 125);
    arc.arcTo(QRectF(3.5, 4.5, 17, 17), 125, 290);
    c.stroke(arc, 2.2);
    c.line({12, 2.5}, {12, 11.5}, 2.2);
}

// --- mouse rows ---------------------------------------------------------

void moveLeft(Canvas& c) { arrow(c, 180); }
void moveRight(Canvas& c) { arrow(c, 0); }
void moveUp(Canvas& c) { arrow(c, -90); }
void moveDown(Canvas& c) { arrow(c, 90); }
void leftClick(Canvas& c) { mouse(c, 4.5, 15, Button::Left); }
void rightClick(Canvas& c) { mouse(c, 4.5, 15, Button::Right); }
void middleClick(Canvas& c) { mouse(c, 4.5, 15, Button::Middle); }

void wheel(Canvas& c, bool up)
{
    mouse(c, 0.5, 14, Button::Middle);
    const qreal d = up ? -1 : 1;
    c.fill(polygon({{19.5, 12 + 9 * d}, {24, 12 + 3 * d}, {15, 12 + 3 * d}}));
    c.line({19.5, 12 + 4 * d}, {19.5, 12 - 7 * d}, 2.6);
}

void wheelUp(Canvas& c) { wheel(c, true); }
void wheelDown(Canvas& c) { wheel(c, false); }

void doubleClick(Canvas& c)
{
    mouse(c, 0.5, 14, Button::Left);
    c.text(QStringLiteral("2"), {20, 14}, 13);
}

struct Entry {
    int hwCode;
    void (*draw)(Canvas&);
};

constexpr Entry entries[] = {
    {115, mediaSelect}, {111, playPause}, {110, stop}, {108, nextTrack}, {109, previousTrack},
    {114, volumeDown}, {113, volumeUp}, {112, mute}, {121, back}, {122, forward},
    {123, browserStop}, {124, refresh}, {125, favourites}, {119, search}, {116, mail},
    {120, home}, {118, computer}, {117, calculator},
    {149, rollover}, {150, keyboardLock}, {151, keyResponse}, {152, ctrlCapsSwap}, {153, winLock},
    {154, scanDelay}, {155, reportRate}, {158, dpiDown}, {157, dpiUp}, {156, fn},
    {159, programmable}, {137, demonstrate}, {138, starShower}, {139, ripple}, {145, brightnessDown},
    {144, brightnessUp}, {135, backlightSwitch}, {141, breathe}, {136, backlightMacro},
    {143, breatheFaster}, {142, breatheSlower}, {146, sunset}, {148, allColours},
    {75, wake}, {76, sleep}, {77, power},
    {126, moveLeft}, {127, moveRight}, {128, moveUp}, {129, moveDown}, {130, leftClick},
    {131, rightClick}, {132, middleClick}, {133, wheelUp}, {134, wheelDown}, {199, doubleClick},
};

}  // namespace

bool Pictograms::draw(QPainter& painter, int hwCode, const QRectF& box, const QColor& ink)
{
    const Entry* entry = std::find_if(std::begin(entries), std::end(entries), [&](const Entry& e) { return e.hwCode == hwCode; });
    if (entry == std::end(entries))
        return false;
    // Drawn at four times the size and scaled down: thin strokes stay crisp
    // and evenly weighted at icon size.
    // The finished icon has the target's pixels, which on a 2x canvas are
    // twice as many as the box's logical size.
    constexpr int oversample = 4;
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    const int width = qCeil(box.width() * ratio);
    const int height = qCeil(box.height() * ratio);
    QImage layer(width * oversample, height * oversample, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    {
        QPainter p(&layer);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(layer.width() / grid, layer.height() / grid);
        Canvas canvas(p, ink);
        entry->draw(canvas);
    }
    painter.drawImage(box, layer.scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    return true;
}

}  // namespace skingen
