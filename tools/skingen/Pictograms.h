// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The pictograms of the key editor's function icons, power buttons and mouse
// rows, looked up by the HW code the control assigns, so a picture always
// shows what its icon does. Each is drawn on a 24-unit grid scaled into the
// box, in one ink (a few carry their own colours, like the colour wheel).
#pragma once

#include <QColor>
#include <QPainter>
#include <QRectF>

namespace skingen {

class Pictograms {
public:
    // False, and nothing drawn, for a code without a pictogram.
    static bool draw(QPainter& painter, int hwCode, const QRectF& box, const QColor& ink);
};

}  // namespace skingen
