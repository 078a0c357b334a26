// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "ScrollBarSheet.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QTransform>

#include "shell/ScrollBarSkin.h"

namespace skingen {

namespace {

enum Column { FirstArrow, SecondArrow, Thumb, Track };

}  // namespace

ScrollBarSheet::ScrollBarSheet(int cell) : cell_(cell) {}

QImage ScrollBarSheet::render(int scale) const
{
    QImage sheet(cell_ * layout::scrollBarColumns * scale, cell_ * layout::scrollBarRows * scale, QImage::Format_RGB32);
    sheet.setDevicePixelRatio(scale);
    sheet.fill(QColor(0x14, 0x16, 0x1a));
    for (int row = 0; row < layout::scrollBarRows; ++row)
        for (int column = 0; column < layout::scrollBarColumns; ++column)
            paintCell(sheet, column, row);
    return sheet;
}

void ScrollBarSheet::paintCell(QImage& sheet, int column, int row) const
{
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = cell_;
    // Every cell is drawn as the vertical part; the horizontal columns are the
    // same drawing turned a quarter so both bars look alike.
    const bool horizontal = column >= 4 && column < 8;
    const int role = column == 8 ? Track : column % 4;
    QTransform place;
    place.translate(column * s, row * s);
    if (horizontal) {
        place.translate(0, s);
        place.rotate(-90);
    }
    painter.setTransform(place);
    painter.setClipRect(QRectF(0, 0, s, s));

    // Track: a groove, uniform along the bar so it can be tiled.
    QLinearGradient groove(0, 0, s, 0);
    groove.setColorAt(0, QColor(0x0a, 0x0b, 0x0d));
    groove.setColorAt(0.5, QColor(0x13, 0x15, 0x18));
    groove.setColorAt(1, QColor(0x0a, 0x0b, 0x0d));
    painter.fillRect(QRectF(0, 0, s, s), groove);
    if (role == Track) {
        if (row == 2 && column != 8)  // a pressed track part glows faintly
            painter.fillRect(QRectF(s / 2 - 1, 0, 2, s), QColor(0xff, 0x6f, 0x00, 90));
        return;
    }

    const QColor face[] = {QColor(0x3c, 0x40, 0x48), QColor(0x56, 0x5c, 0x67), QColor(0xe0, 0x62, 0x00)};
    const QColor rim[] = {QColor(0x4c, 0x52, 0x5c), QColor(0x80, 0x88, 0x95), QColor(0xff, 0x9a, 0x40)};
    if (role == Thumb) {
        // The first and last 3 pixels are the caps; the middle is tiled, so
        // it must not change along the bar: the corners stay inside the caps.
        const QRectF body(3, 0.5, s - 6, s - 1);
        QLinearGradient across(body.topLeft(), body.topRight());
        across.setColorAt(0, face[row].lighter(115));
        across.setColorAt(1, face[row].darker(115));
        painter.setPen(QPen(rim[row], 1));
        painter.setBrush(across);
        painter.drawRoundedRect(body, 2.5, 2.5);
        return;
    }

    // Arrow button: a rounded square with a chevron pointing outwards.
    const QRectF box(1.5, 1.5, s - 3, s - 3);
    painter.setPen(QPen(rim[row], 1));
    painter.setBrush(face[row]);
    painter.drawRoundedRect(box, 3, 3);
    const qreal c = s / 2, w = s * 0.22, h = s * 0.13;
    const qreal dir = role == FirstArrow ? -1 : 1;
    QPainterPath chevron;
    chevron.moveTo(c - w, c - dir * h);
    chevron.lineTo(c, c + dir * h);
    chevron.lineTo(c + w, c - dir * h);
    painter.setPen(QPen(row == 2 ? QColor(0x1a, 0x0d, 0x02) : QColor(0xe4, 0xe7, 0xec), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(chevron);
}

}  // namespace skingen
