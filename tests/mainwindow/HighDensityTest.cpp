// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT

// The windows on a screen of device pixel ratio 2 (this test runs with
// QT_SCALE_FACTOR=2): the artwork comes from the @2x set, so its legends and
// icons carry detail finer than the 1x artwork blown up pixel by pixel.
#include <cstdlib>

#include <QPainter>

#include "MainWindowFixture.h"
#include "editor/CTarnDialogKeyMapSettings.h"
#include "editor/KeyMapWindowLayout.h"
#include "shell/AppResources.h"
#include "shell/MainWindowLayout.h"

namespace {

// Mean distance of each pixel from the mean of its 2x2 block, over a rectangle
// in logical coordinates: 0 for a picture doubled pixel by pixel.
double detailWithinBlocks(const QImage& shot, const layout::Rect& r) {
    double sum = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) {
            const int g[4] = {qGray(shot.pixel(2 * x, 2 * y)), qGray(shot.pixel(2 * x + 1, 2 * y)),
                              qGray(shot.pixel(2 * x, 2 * y + 1)), qGray(shot.pixel(2 * x + 1, 2 * y + 1))};
            const double mean = (g[0] + g[1] + g[2] + g[3]) / 4.0;
            for (int v : g)
                sum += std::abs(v - mean) / 4;
        }
    return sum / (r.width() * r.height());
}

class HighDensityTest : public MainWindowFixture {
protected:
    // The artwork's detail within 2x2 blocks, averaged over the main window's
    // key legends and over the key editor's multimedia icons: the lesser.
    double detail() {
        auto window = openWindow();
        const QImage main = window->grab().toImage();
        EXPECT_EQ(main.size(), window->size() * 2);
        CTarnDialogKeyMapSettings editor(*profile, dialogs);
        editor.switchPage(layout::keymap::PageMultimedia);
        const QImage icons = editor.grab().toImage();
        EXPECT_EQ(icons.size(), editor.size() * 2);
        double keys[2] = {0, 0};  // sum, count
        double tiles[2] = {0, 0};
        for (const layout::Row& row : layout::mainWindow.rows)
            if (row.kind == layout::Kind::Key)
                keys[0] += detailWithinBlocks(main, row.rect), ++keys[1];
        for (const layout::Row& row : layout::keyMapWindow.rows)
            if (row.id / 100 == layout::keymap::PageMultimedia && row.auxIndex >= 0)
                tiles[0] += detailWithinBlocks(icons, row.rect), ++tiles[1];
        EXPECT_EQ(tiles[1], 18);
        return std::min(keys[0] / keys[1], tiles[0] / tiles[1]);
    }
};

TEST_F(HighDensityTest, ArtworkIsDrawnFromTheDoubleSizeSetAtEveryRatio) {
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    AppResources resources;
    ASSERT_TRUE(resources.loadResourceFile(QStringLiteral(RESOURCE_FILE)));
    ASSERT_EQ(resources.loadBitmaps(), int(AppResources::kBitmapNumbers.size()));
    resources.createDrawingObjects();
    AppResources::install(&resources);
    for (int number : AppResources::kBitmapNumbers)
        EXPECT_EQ(resources.skinImage(number).doubled().size(), resources.bitmap(number).size() * 2) << number;
    EXPECT_GT(detail(), 1.5);

    // The 1x pixels at 1.5: scaled down from the 2x set, not up from the 1x one.
    const SkinImage& key = resources.skinImage(101);
    QImage canvas(key.size() * 3 / 2, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(1.5);
    {
        QPainter painter(&canvas);
        key.draw(painter, QPointF(0, 0));
    }
    const QSize size = canvas.size();
    const QImage fromDoubled = key.doubled().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage fromSingle = key.image().scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    auto distance = [&](const QImage& other) {
        double sum = 0;
        for (int y = 0; y < size.height(); y += 3)
            for (int x = 0; x < size.width(); x += 3)
                sum += std::abs(qGray(canvas.pixel(x, y)) - qGray(other.pixel(x, y)));
        return sum;
    };
    EXPECT_LT(distance(fromDoubled) * 3, distance(fromSingle));

    // What the windows drew before there was a 2x set: pixels doubled.
    for (int number : AppResources::kBitmapNumbers)
        resources.setBitmap(number, resources.bitmap(number));
    EXPECT_LT(detail(), 0.1);
    AppResources::install(nullptr);
}

}  // namespace
