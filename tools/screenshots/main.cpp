// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Renders every window of the program offscreen, in English and Chinese, to
// PNG files, so the product can be looked at without a display:
//   velkorondrix-screenshots [--scale N] <folder>
// --scale 2 renders at device pixel ratio 2, as on a high-density screen.
// The skins come from VelkorOndrix_RES.rcc beside this program, as for the
// program itself; without it the windows show their plain fallback look.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QDir>

#include "ScreenshotCatalogue.h"
#include "profile/KeyboardProfile.h"
#include "shell/AppResources.h"
#include "shell/CSkinDialog.h"
#include "shell/QtSystemDialogs.h"
#include "support/FakeSystemDialogs.h"

namespace {

// What the colour-key mask hides on screen becomes transparent in the file.
QImage keyedOut(QImage image, QColor key) {
    image = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb keyPixel = key.rgb();
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] == keyPixel)
                line[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --scale N: the screen's device pixel ratio, as on a high-density
    // display; it must be known before the application starts.
    const char* output = argc == 2 ? argv[1] : nullptr;
    if (argc == 4 && std::strcmp(argv[1], "--scale") == 0) {
        const double scale = std::atof(argv[2]);
        if (scale < 1 || scale > 4) {
            std::fprintf(stderr, "--scale takes a ratio from 1 to 4\n");
            return 2;
        }
        qputenv("QT_SCALE_FACTOR", argv[2]);
        output = argv[3];
    }
    QApplication application(argc, argv);
    QtSystemDialogs::useSkinStyle();
    if (!output) {
        std::fprintf(stderr, "usage: %s [--scale N] <output folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(output));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot create %s\n", output);
        return 1;
    }

    AppResources resources;
    if (!resources.loadResourceFile(QDir(QCoreApplication::applicationDirPath())
                                        .filePath(QLatin1String(AppResources::kResourceFileName))))
        std::fprintf(stderr, "no %s beside the program: plain look\n", AppResources::kResourceFileName);
    resources.loadBitmaps();
    resources.createDrawingObjects();
    AppResources::install(&resources);

    KeyboardProfile profile;
    profile.buildNameTables();
    FakeSystemDialogs dialogs;
    ScreenshotContext context{profile, dialogs};

    int failures = 0;
    for (const char* language : {"en-US", "zh-CN"}) {
        profile.language = language;
        for (const ScreenshotEntry& entry : screenshotCatalogue()) {
            const std::unique_ptr<QWidget> window = entry.open(context);
            QImage shot = window->grab().toImage();
            if (const auto* skinned = dynamic_cast<const CSkinDialog*>(window.get());
                skinned && skinned->skinSet().hasBackground())
                shot = keyedOut(std::move(shot), skinned->transparentColor());
            const QString path = folder.filePath(QString::fromStdString(entry.name + "-" + language + ".png"));
            if (shot.save(path)) {
                std::printf("%s\n", qPrintable(path));
            } else {
                std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
                ++failures;
            }
        }
    }
    AppResources::install(nullptr);
    return failures == 0 ? 0 : 1;
}
