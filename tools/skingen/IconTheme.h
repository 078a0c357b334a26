// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program's icon for the desktop's icon theme: one
// <folder>/<n>x<n>/apps/velkorondrix.png per size, drawn by ProgramIcon as
// the window's own icon is.
#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

namespace skingen {

// False, with the reason on err, when a size is not a positive number or a
// file cannot be written.
bool writeIconTheme(const QString& folder, const QStringList& sizes, QTextStream& err);

}  // namespace skingen
