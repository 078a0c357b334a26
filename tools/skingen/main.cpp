// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// skingen: renders the windows' artwork into a folder as <number>.png and, at
// twice the size, <number>@2x.png: the names under which the program looks the
// bitmaps up.
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTextStream>

#include "IconTheme.h"
#include "SkinGenerator.h"

int main(int argc, char** argv)
{
    // Text needs a platform's font database; no display is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QTextStream err(stderr);
    const QStringList args = QGuiApplication::arguments();
    // skingen --icons <folder> <size>...: the program's icon theme instead.
    if (args.size() > 3 && args[1] == QLatin1String("--icons"))
        return skingen::writeIconTheme(args[2], args.mid(3), err) ? 0 : 1;
    if (args.size() != 2) {
        err << "usage: skingen <output folder>\n";
        return 2;
    }
    const QDir folder(args[1]);
    if (!QDir().mkpath(folder.path())) {
        err << "skingen: cannot create " << folder.path() << "\n";
        return 1;
    }
    // <number>.png and <number>@2x.png: Qt's naming of a high-density variant.
    QElapsedTimer clock;
    clock.start();
    qint64 bytes = 0;
    int count = 0;
    for (const int scale : {1, 2}) {
        const QString suffix = scale == 1 ? QStringLiteral(".png") : QStringLiteral("@%1x.png").arg(scale);
        for (const skingen::Bitmap& bitmap : skingen::SkinGenerator().renderAll(scale)) {
            const QString path = folder.filePath(QString::number(bitmap.number) + suffix);
            if (!bitmap.image.save(path, "PNG")) {
                err << "skingen: cannot write " << path << "\n";
                return 1;
            }
            bytes += QFileInfo(path).size();
            ++count;
        }
    }
    // The build log shows what the artwork costs in time and size.
    QTextStream(stdout) << "skingen: " << count << " bitmaps at 1x and 2x, " << bytes / 1024 << " KiB, "
                        << clock.elapsed() << " ms\n";
    return 0;
}
