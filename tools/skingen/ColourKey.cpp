// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "ColourKey.h"

namespace skingen {

QImage applyColourKey(const QImage& art, layout::Rgb key)
{
    const QImage source = art.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QImage out(source.size(), QImage::Format_RGB32);
    out.setDevicePixelRatio(source.devicePixelRatio());
    // Half-covered edge pixels are blended onto a dark grey rather than onto
    // the key colour, which would leave a tinted fringe on the desktop.
    constexpr int edgeGrey = 0x14;
    const QRgb keyPixel = qRgb(key.r, key.g, key.b);
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb p = in[x];
            const int a = qAlpha(p);
            if (a < 128) {
                line[x] = keyPixel;
                continue;
            }
            const int rest = 255 - a;
            int r = qRed(p) + edgeGrey * rest / 255;
            int g = qGreen(p) + edgeGrey * rest / 255;
            int b = qBlue(p) + edgeGrey * rest / 255;
            if (qRgb(r, g, b) == keyPixel)
                b += b > 0 ? -1 : 1;  // invisible change, keeps the pixel opaque
            line[x] = qRgb(r, g, b);
        }
    }
    return out;
}

}  // namespace skingen
