// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// The keyboard focus ring of the skinned windows and their child controls:
// a frame in the skin's accent colour just inside an area, drawn with a pen
// of logical pixels, so it is two device pixels wide at 1x and four at 2x,
// never a hairline.
#pragma once

#include <QPainter>
#include <QPen>
#include <QRect>

#include "shell/SkinColours.h"

inline constexpr int kFocusRingWidth = 2;

inline void drawFocusRing(QPainter& painter, const QRect& area) {
    painter.save();
    QPen pen(QColor(skin::accent.r, skin::accent.g, skin::accent.b), kFocusRingWidth);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const qreal inset = kFocusRingWidth / 2.0;
    painter.drawRect(QRectF(area).adjusted(inset, inset, -inset, -inset));
    painter.restore();
}
