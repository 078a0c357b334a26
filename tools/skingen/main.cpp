// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// skingen: renders the windows' artwork into a folder as <number>.png, the
// names under which the program looks the bitmaps up.
#include <QDir>
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
    for (const skingen::Bitmap& bitmap : skingen::SkinGenerator().renderAll()) {
        const QString path = folder.filePath(QString::number(bitmap.number) + QStringLiteral(".png"));
        if (!bitmap.image.save(path, "PNG")) {
            err << "skingen: cannot write " << path << "\n";
            return 1;
        }
    }
    return 0;
}
