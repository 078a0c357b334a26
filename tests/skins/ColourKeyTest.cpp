// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Finishing the artwork for a colour-keyed window.
#include <gtest/gtest.h>

#include <QImage>

#include "ColourKey.h"

namespace {

TEST(ColourKey, TransparentBecomesKeyAndOpaqueKeepsItsColour)
{
    QImage art(4, 1, QImage::Format_ARGB32_Premultiplied);
    art.setPixel(0, 0, qRgba(0, 0, 0, 0));        // outside the outline
    art.setPixel(1, 0, qRgba(30, 30, 30, 100));   // mostly outside: an edge pixel
    art.setPixel(2, 0, qRgba(10, 200, 30, 255));  // inside
    art.setPixel(3, 0, qRgba(100, 60, 20, 200));  // mostly inside, premultiplied
    const QImage out = skingen::applyColourKey(art, {0, 0, 255});
    EXPECT_EQ(out.pixel(0, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(out.pixel(2, 0), qRgb(10, 200, 30));
    // Blended onto dark grey, never onto the key colour.
    const QRgb edge = out.pixel(3, 0);
    EXPECT_GE(qRed(edge), 100);
    EXPECT_LT(qBlue(edge), 60);
}

TEST(ColourKey, ArtworkThatHappensToMatchTheKeyStaysOpaque)
{
    QImage art(2, 1, QImage::Format_ARGB32_Premultiplied);
    art.setPixel(0, 0, qRgba(255, 0, 0, 255));
    art.setPixel(1, 0, qRgba(1, 2, 254, 255));
    const QImage red = skingen::applyColourKey(art, {255, 0, 0});
    EXPECT_NE(red.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(red.pixel(1, 0), qRgb(1, 2, 254));
    const QImage odd = skingen::applyColourKey(art, {1, 2, 254});
    EXPECT_NE(odd.pixel(1, 0), qRgb(1, 2, 254));
    EXPECT_EQ(odd.pixel(0, 0), qRgb(255, 0, 0));
}

}  // namespace
