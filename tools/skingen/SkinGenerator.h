// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Paints every window's artwork from the windows' layout tables, so each hit
// rectangle has its picture exactly where the window expects it.
#pragma once

#include <QImage>

#include <functional>
#include <vector>

#include "SkinPainter.h"

namespace skingen {

struct Bitmap {
    int number = 0;  // resource number the program loads it by
    QImage image;    // its device pixel ratio is the scale it was drawn at
};

class SkinGenerator {
public:
    // Every bitmap drawn at `scale` times its size (1, or 2 for the @2x set),
    // from the same tables: the logical geometry never changes.
    std::vector<Bitmap> renderAll(int scale) const;

    using Base = std::function<void(SkinPainter&, Look)>;
    using Control = std::function<void(SkinPainter&, const layout::Row&, Look)>;

    // Background, hover and active image under the window's numbers.
    static void addSet(std::vector<Bitmap>& out, int scale, const layout::Window& window, const Base& base, const Control& control);

private:
    // The window in one look: base drawing, then every non-label row.
    static QImage paint(const layout::Window& window, int scale, Look look, const Base& base, const Control& control);
    static void mainWindow(std::vector<Bitmap>& out, int scale);
    static void backlightWindow(std::vector<Bitmap>& out, int scale);
    static void progressWindow(std::vector<Bitmap>& out, int scale);
    static void firmwareWindow(std::vector<Bitmap>& out, int scale);
};

}  // namespace skingen
