// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The scroll-bar skin: 9 x 3 square cells. Columns 0-3 serve a vertical bar
// (first arrow, second arrow, thumb, track), 4-7 a horizontal one, 8 is spare;
// rows are the normal, hovered and pressed looks.
#pragma once

#include <QImage>

namespace skingen {

class ScrollBarSheet {
public:
    explicit ScrollBarSheet(int cell);
    // The sheet drawn at `scale` times its size; cells keep their logical size.
    QImage render(int scale) const;

private:
    void paintCell(QImage& sheet, int column, int row) const;

    int cell_;
};

}  // namespace skingen
