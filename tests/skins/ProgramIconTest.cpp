// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program's icon in the desktop's theme, as the build leaves it.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>

#include "shell/ProgramIcon.h"

namespace {

// Every size is a square of its size, the keyboard opaque in the middle and
// the corners see-through, drawn exactly as the window's own icon.
TEST(ProgramIconTheme, EverySizeIsTheWindowsIconOnATransparentSquare)
{
    const QDir theme(QStringLiteral(ICON_THEME_DIR));
    const QStringList sizes = theme.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    EXPECT_TRUE(sizes.contains(QStringLiteral("48x48")));  // the size every desktop looks for
    EXPECT_TRUE(sizes.contains(QStringLiteral("256x256")));
    for (const QString& folder : sizes) {
        SCOPED_TRACE(folder.toStdString());
        const int size = folder.section(QLatin1Char('x'), 0, 0).toInt();
        const QImage image(theme.filePath(folder + QStringLiteral("/apps/velkorondrix.png")));
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.size(), QSize(size, size));
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
        EXPECT_EQ(image.convertToFormat(QImage::Format_ARGB32),
                  ProgramIcon::render(size).convertToFormat(QImage::Format_ARGB32));
    }
}

}  // namespace
