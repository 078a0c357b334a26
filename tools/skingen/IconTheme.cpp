// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "IconTheme.h"

#include <QDir>

#include "shell/ProgramIcon.h"

namespace skingen {

bool writeIconTheme(const QString& folder, const QStringList& sizes, QTextStream& err)
{
    for (const QString& text : sizes) {
        bool isNumber = false;
        const int size = text.toInt(&isNumber);
        if (!isNumber || size <= 0 || size > 1024) {
            err << "skingen: not an icon size: " << text << "\n";
            return false;
        }
        const QDir apps(QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size));
        const QString path = apps.filePath(QStringLiteral("velkorondrix.png"));
        if (!QDir().mkpath(apps.path()) || !ProgramIcon::render(size).save(path, "PNG")) {
            err << "skingen: cannot write " << path << "\n";
            return false;
        }
    }
    return true;
}

}  // namespace skingen
