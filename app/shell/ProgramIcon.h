// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The program's icon, a small keyboard: the window and tray icon, and the
// desktop's icon in the hicolor theme, which skingen renders from the same
// drawing at build time. Needs Qt GUI only, no widgets.
#pragma once

#include <QIcon>
#include <QImage>

class ProgramIcon {
public:
    // The icon as a size x size picture, transparent around the keyboard.
    static QImage render(int size);
    // The picture at the sizes window managers and trays ask for.
    static QIcon icon();
};
