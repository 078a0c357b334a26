// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/ProgramIcon.h"

#include <QPainter>
#include <QPixmap>

QImage ProgramIcon::render(int size) {
    QImage picture(size, size, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    // Drawn on a 64-unit grid: a dark body with three rows of orange keys.
    painter.scale(size / 64.0, size / 64.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 20));
    painter.drawRoundedRect(QRectF(2, 14, 60, 36), 6, 6);
    painter.setBrush(QColor(255, 111, 0));
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 6; ++column)
            painter.drawRect(QRectF(7 + column * 9, 19 + row * 9, 6, 6));
    painter.end();
    return picture;
}

QIcon ProgramIcon::icon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(QPixmap::fromImage(render(size)));
    return icon;
}
