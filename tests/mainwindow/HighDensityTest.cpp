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

// Mean distance of each pixel from the mean of its 2x2 block, over the rows
// of the window's table that `pick` names: 0 for a picture doubled pixel by pixel.
template <typename Pick>
double detailWithinBlocks(QWidget& window, const layout::Window& table, Pick pick) {
    const QImage shot = window.grab().toImage();
    EXPECT_EQ(shot.size(), window.size() * 2);
    double sum = 0;
    int pixels = 0;
    for (const layout::Row& row : table.rows)
        for (int y = row.rect.top; pick(row) && y < row.rect.bottom; ++y)
            for (int x = row.rect.left; x < row.rect.right; ++x, ++pixels) {
                const int g[4] = {qGray(shot.pixel(2 * x, 2 * y)), qGray(shot.pixel(2 * x + 1, 2 * y)),
                                  qGray(shot.pixel(2 * x, 2 * y + 1)), qGray(shot.pixel(2 * x + 1, 2 * y + 1))};
                const double mean = (g[0] + g[1] + g[2] + g[3]) / 4.0;
                for (int v : g)
                    sum += std::abs(v - mean) / 4;
            }
    return sum / pixels;
}

class HighDensityTest : public MainWindowFixture {
protected:
    // The lesser detail of the main window's key legends and of the key
    // editor's multimedia icons.
    double detail() {
        auto window = openWindow();
        CTarnDialogKeyMapSettings editor(*profile, dialogs);
        editor.switchPage(layout::keymap::PageMultimedia);
        return std::min(
            detailWithinBlocks(*window, layout::mainWindow, [](const layout::Row& r) { return r.kind == layout::Kind::Key; }),
            detailWithinBlocks(editor, layout::keyMapWindow, [](const layout::Row& r) {
                return r.id / 100 == layout::keymap::PageMultimedia && r.auxIndex >= 0;
            }));
    }
};

TEST_F(HighDensityTest, ArtworkIsDrawnFromTheDoubleSizeSetAtEveryRatio) {
    ASSERT_DOUBLE_EQ(qApp->devicePixelRatio(), 2.0);
    AppResources resources;
    ASSERT_TRUE(resources.loadResourceFile(QStringLiteral(RESOURCE_FILE)));
    ASSERT_EQ(resources.loadBitmaps(), int(AppResources::kBitmapNumbers.size()));
    resources.createDrawingObjects();
    AppResources::install(&resources);
    EXPECT_GT(detail(), 1.5);

    // At ratio 1.5 a picture is the 2x set scaled down, not the 1x one scaled up.
    const SkinImage& picture = resources.skinImage(101);
    QImage canvas(picture.size() * 3 / 2, QImage::Format_RGB32);
    canvas.setDevicePixelRatio(1.5);
    QPainter painter(&canvas);
    picture.draw(painter, QPointF(0, 0));
    painter.end();
    const auto distance = [&canvas](const QImage& from) {
        const QImage other = from.scaled(canvas.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        double sum = 0;
        for (int y = 0; y < canvas.height(); y += 3)
            for (int x = 0; x < canvas.width(); x += 3)
                sum += std::abs(qGray(canvas.pixel(x, y)) - qGray(other.pixel(x, y)));
        return sum;
    };
    EXPECT_LT(distance(picture.doubled()) * 3, distance(picture.image()));

    // What the windows drew before there was a 2x set: pixels doubled.
    for (int number : AppResources::kBitmapNumbers)
        resources.setBitmap(number, resources.bitmap(number));
    EXPECT_LT(detail(), 0.1);
    AppResources::install(nullptr);
}

}  // namespace
