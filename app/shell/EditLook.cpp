// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/EditLook.h"

#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>

#include "shell/AppResources.h"

namespace EditLook {

void apply(QWidget& edit) {
    const AppResources& resources = AppResources::current();
    edit.setFont(resources.fontTable[kFontIndex]);
    const QBrush dark = resources.darkBrush.style() == Qt::NoBrush ? QBrush(QColor(20, 20, 20)) : resources.darkBrush;
    QPalette palette = edit.palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setBrush(group, QPalette::Base, dark);
        palette.setBrush(group, QPalette::Window, dark);
        palette.setColor(group, QPalette::Text, QColor(255, 111, 0));
    }
    edit.setPalette(palette);
}

void apply(QLineEdit& edit) {
    apply(static_cast<QWidget&>(edit));
    edit.setFrame(false);
}

void apply(QPlainTextEdit& edit) {
    apply(static_cast<QWidget&>(edit));
    edit.setFrameShape(QFrame::NoFrame);
}

}  // namespace EditLook
