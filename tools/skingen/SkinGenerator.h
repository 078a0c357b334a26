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
    QImage image;
};

class SkinGenerator {
public:
    std::vector<Bitmap> renderAll() const;

    using Base = std::function<void(SkinPainter&, Look)>;
    using Control = std::function<void(SkinPainter&, const layout::Row&, Look)>;

    // Background, hover and active image under the window's numbers.
    static void addSet(std::vector<Bitmap>& out, const layout::Window& window, const Base& base, const Control& control);

private:
    // The window in one look: base drawing, then every non-label row.
    static QImage paint(const layout::Window& window, Look look, const Base& base, const Control& control);
    static void mainWindow(std::vector<Bitmap>& out);
    static void backlightWindow(std::vector<Bitmap>& out);
    static void progressWindow(std::vector<Bitmap>& out);
    static void firmwareWindow(std::vector<Bitmap>& out);
};

}  // namespace skingen
