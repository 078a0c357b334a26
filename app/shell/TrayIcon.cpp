// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/TrayIcon.h"

#include <velkorondrix/VelkorOndrix_HWI.h>

TrayIcon::TrayIcon(MessageWindow& owner, QIcon icon, QObject* parent)
    : QObject(parent),
      owner_(owner),
      icon_(std::move(icon)),
      available_(QSystemTrayIcon::isSystemTrayAvailable()) {}

TrayIcon::~TrayIcon() {
    remove();
}

void TrayIcon::add() {
    if (shown_ || !available_)
        return;
    shown_ = std::make_unique<QSystemTrayIcon>(icon_);
    shown_->setToolTip(toolTip());
    connect(shown_.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        owner_.postMessage(hwi_msg::kTrayCallback, kIconId, mouseMessageFor(reason));
    });
    shown_->show();
}

void TrayIcon::remove() {
    if (!shown_)
        return;
    shown_->hide();
    shown_.reset();
}

unsigned TrayIcon::mouseMessageFor(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::DoubleClick:
        return kLeftButtonDoubleClick;
    case QSystemTrayIcon::Context:
        return kRightButtonUp;
    case QSystemTrayIcon::MiddleClick:
        return kMiddleButtonUp;
    case QSystemTrayIcon::Trigger:
    case QSystemTrayIcon::Unknown:
        break;
    }
    return kLeftButtonUp;
}
