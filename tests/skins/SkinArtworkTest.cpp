// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The bitmaps skingen writes at build time and the resource file packing them:
// every set complete and window-sized, see-through only outside the outline,
// and each look visibly different where the window copies it from.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QResource>

#include <algorithm>

#include "editor/KeyMapWindowLayout.h"
#include "jobs/FirmwareWindowLayout.h"
#include "jobs/ProgressWindowLayout.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/MainWindowLayout.h"
#include "shell/ScrollBarSkin.h"

namespace {

// The key editor as seven windows, one per page and skin set.
const std::vector<layout::Window>& keyMapPages()
{
    static const std::vector<layout::Window> pages = [] {
        std::vector<layout::Window> all;
        for (int page = 1; page <= layout::keymap::kTabCount; ++page) {
            layout::Window window = layout::keyMapWindow;
            window.background = layout::keymap::pageBackground(page);
            window.hover = window.background + 1;
            window.active = window.background + 2;
            all.push_back(window);
        }
        return all;
    }();
    return pages;
}

std::vector<const layout::Window*> allWindows()
{
    std::vector<const layout::Window*> all{&layout::mainWindow, &layout::backlightWindow, &layout::progressWindow,
                                           &layout::firmwareWindow};
    for (const layout::Window& page : keyMapPages())
        all.push_back(&page);
    return all;
}

QImage bitmap(int number)
{
    return QImage(QStringLiteral(SKIN_DIR "/%1.png").arg(number));
}

QRgb keyOf(const layout::Window& window)
{
    return qRgb(window.transparent.r, window.transparent.g, window.transparent.b);
}

bool isText(const layout::Row& row)
{
    return row.kind == layout::Kind::Label || row.kind == layout::Kind::Title;
}

std::vector<int> setOf(const layout::Window& window)
{
    std::vector<int> numbers{window.background};
    for (int n : {window.hover, window.active})
        if (n > 0)
            numbers.push_back(n);
    return numbers;
}

// Number of pixels that differ between two images inside a rectangle.
int differing(const QImage& a, const QImage& b, layout::Rect r)
{
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}

TEST(SkinArtwork, EverySetExistsWithTheWindowsSize)
{
    for (const layout::Window* window : allWindows()) {
        SCOPED_TRACE(window->name);
        for (int number : setOf(*window)) {
            SCOPED_TRACE(number);
            const QImage image = bitmap(number);
            ASSERT_FALSE(image.isNull());
            EXPECT_EQ(image.width(), window->fallbackWidth);
            EXPECT_EQ(image.height(), window->fallbackHeight);
        }
    }
}

TEST(SkinArtwork, ColourKeyOnlyOutsideTheOutline)
{
    for (const layout::Window* window : allWindows()) {
        SCOPED_TRACE(window->name);
        const QRgb key = keyOf(*window);
        for (int number : setOf(*window)) {
            SCOPED_TRACE(number);
            const QImage image = bitmap(number);
            ASSERT_FALSE(image.isNull());
            const int w = image.width(), h = image.height();
            // The rounded corners are cut away...
            for (auto [x, y] : {std::pair{0, 0}, {w - 1, 0}, {0, h - 1}, {w - 1, h - 1}, {2, 2}, {w - 3, h - 3}})
                EXPECT_EQ(image.pixel(x, y), key) << x << "," << y;
            // ...the straight edges and the middle are not.
            for (auto [x, y] : {std::pair{w / 2, 0}, {0, h / 2}, {w - 1, h / 2}, {w / 2, h - 1}, {w / 2, h / 2}})
                EXPECT_NE(image.pixel(x, y), key) << x << "," << y;
            // No control, label or key lets the desktop show through.
            for (const layout::Row& row : window->rows) {
                int holes = 0;
                for (int y = row.rect.top; y < row.rect.bottom; ++y)
                    for (int x = row.rect.left; x < row.rect.right; ++x)
                        holes += image.pixel(x, y) == key;
                EXPECT_EQ(holes, 0) << "control " << row.id;
            }
        }
    }
}

TEST(SkinArtwork, HoverAndActiveLooksDifferInEveryControl)
{
    for (const layout::Window* window : {&layout::mainWindow, &layout::progressWindow, &layout::firmwareWindow}) {
        SCOPED_TRACE(window->name);
        const QImage background = bitmap(window->background);
        const QImage hover = bitmap(window->hover);
        const QImage active = bitmap(window->active);
        for (const layout::Row& row : window->rows) {
            if (isText(row))
                continue;
            const int area = row.rect.width() * row.rect.height();
            // A tenth of the area at least: a look one can see, not noise.
            EXPECT_GT(differing(background, hover, row.rect), area / 10) << "hover " << row.id;
            EXPECT_GT(differing(background, active, row.rect), area / 10) << "active " << row.id;
            EXPECT_GT(differing(hover, active, row.rect), area / 10) << "hover vs active " << row.id;
        }
    }
}

// Records below 100 are on every page, the others on page id / 100; the
// faces behind captions and the rows under the combo's key box do nothing,
// so they keep one look.
TEST(SkinArtwork, KeyMapPagesLightTheirControlsAndTheirOwnTab)
{
    for (int page = 1; page <= layout::keymap::kTabCount; ++page) {
        SCOPED_TRACE(page);
        const layout::Window& window = keyMapPages()[static_cast<std::size_t>(page - 1)];
        const QImage background = bitmap(window.background);
        const QImage hover = bitmap(window.hover);
        const QImage active = bitmap(window.active);
        for (const layout::Row& row : window.rows) {
            if (isText(row) || (row.id >= 100 && row.id / 100 != page))
                continue;
            const int area = row.rect.width() * row.rect.height();
            const bool inert = row.id == 103 || row.id == 301 || (row.id >= 141 && row.id <= 146);
            EXPECT_EQ(differing(background, hover, row.rect) > area / 10, !inert) << "hover " << row.id;
            EXPECT_EQ(differing(background, active, row.rect) > area / 10, !inert) << "active " << row.id;
        }
        // Only the current page's tab is lit: the other tabs look alike on
        // every page, and this tab looks different on the next page.
        const QImage next = bitmap(keyMapPages()[static_cast<std::size_t>(page % layout::keymap::kTabCount)].background);
        for (int tab = 1; tab <= layout::keymap::kTabCount; ++tab) {
            const auto row = std::find_if(window.rows.begin(), window.rows.end(),
                                          [tab](const layout::Row& r) { return r.id == 89 + tab; });
            ASSERT_NE(row, window.rows.end());
            const layout::Rect rect = row->rect;
            const bool lit = tab == page || tab == page % layout::keymap::kTabCount + 1;
            EXPECT_EQ(differing(background, next, rect) > rect.width() * rect.height() / 10, lit) << "tab " << tab;
        }
    }
}

TEST(SkinArtwork, BarIsEmptyInTheBackgroundAndFullInTheActiveImage)
{
    const std::pair<const layout::Window*, layout::Rect> bars[] = {{&layout::progressWindow, layout::progressBar},
                                                                    {&layout::firmwareWindow, layout::firmwareBar}};
    for (const auto& [window, bar] : bars) {
        SCOPED_TRACE(window->name);
        const QImage background = bitmap(window->background);
        const QImage hover = bitmap(window->hover);
        const QImage active = bitmap(window->active);
        EXPECT_EQ(differing(background, hover, bar), 0);
        // The fill reaches both ends: any width copied from the left shows it.
        for (int x : {bar.left + 2, (bar.left + bar.right) / 2, bar.right - 3}) {
            const QColor empty = background.pixelColor(x, (bar.top + bar.bottom) / 2);
            const QColor full = active.pixelColor(x, (bar.top + bar.bottom) / 2);
            EXPECT_GT(full.lightness(), empty.lightness() + 60) << x;
        }
    }
}

TEST(SkinArtwork, ScrollBarSheetHasNineByThreeCellsWithDistinctLooks)
{
    const QImage sheet = bitmap(138);
    ASSERT_FALSE(sheet.isNull());
    const int s = layout::scrollBarCell;
    ASSERT_EQ(sheet.width(), layout::scrollBarColumns * s);
    ASSERT_EQ(sheet.height(), layout::scrollBarRows * s);
    // Arrows and thumbs (columns 0-2 and 4-6) change between normal, hover and pressed.
    for (int column : {0, 1, 2, 4, 5, 6})
        for (int row = 1; row < 3; ++row) {
            const layout::Rect cell{column * s, row * s, column * s + s, row * s + s};
            const layout::Rect above{cell.left, cell.top - s, cell.right, cell.bottom - s};
            int changed = 0;
            for (int y = 0; y < s; ++y)
                for (int x = 0; x < s; ++x)
                    changed += sheet.pixel(cell.left + x, cell.top + y) != sheet.pixel(above.left + x, above.top + y);
            EXPECT_GT(changed, s * s / 4) << "column " << column << " row " << row;
        }
    // The thumb's middle is tiled along the bar, so it must not change along it.
    for (int row = 0; row < 3; ++row)
        for (int y = 3; y < s - 3; ++y)
            for (int x = 0; x < s; ++x)
                EXPECT_EQ(sheet.pixel(2 * s + x, row * s + y), sheet.pixel(2 * s + x, row * s + 3)) << x << "," << y;
}

TEST(SkinArtwork, ResourceFileServesEveryBitmapUnderItsNumber)
{
    ASSERT_TRUE(QFile::exists(QStringLiteral(RESOURCE_FILE)));
    ASSERT_TRUE(QResource::registerResource(QStringLiteral(RESOURCE_FILE)));
    std::vector<int> numbers{138};
    for (const layout::Window* window : allWindows())
        for (int n : setOf(*window))
            numbers.push_back(n);
    for (int number : numbers) {
        const QImage packed(QStringLiteral(":/skins/%1.png").arg(number));
        const QImage file = bitmap(number);
        ASSERT_FALSE(packed.isNull()) << number;
        EXPECT_EQ(packed.convertToFormat(QImage::Format_RGB32), file.convertToFormat(QImage::Format_RGB32)) << number;
        // The high-density rendering of the same picture beside it.
        const QImage doubled(QStringLiteral(":/skins/%1@2x.png").arg(number));
        EXPECT_EQ(doubled.size(), file.size() * 2) << number;
    }
    QResource::unregisterResource(QStringLiteral(RESOURCE_FILE));
}

}  // namespace

int main(int argc, char** argv)
{
    // Fonts need a platform; no display is needed.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
