// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/CTarnDialogBkLightSettings.h"

#include <QKeyEvent>
#include <QPainter>

#include "jobs/CTarnDialogProgress.h"
#include "jobs/KeyboardBackup.h"
#include "shell/BacklightWindowLayout.h"
#include "shell/SystemDialogs.h"

namespace {

constexpr int kLightJob = 4;  // write the lights to the keyboard

QColor toColor(const LightArea& light) {
    return QColor(light.red, light.green, light.blue);
}

LightArea toLight(const QColor& color) {
    return {color.red(), color.green(), color.blue()};
}

}  // namespace

CTarnDialogBkLightSettings::CTarnDialogBkLightSettings(KeyboardProfile& profile, SystemDialogs& dialogs,
                                                       QWidget* parent)
    : CSkinDialog(layout::backlightWindow, profile.language, parent),
      profile_(profile),
      dialogs_(dialogs),
      working_(profile.lightAreas) {}

void CTarnDialogBkLightSettings::controlClicked(SkinControl& control) {
    if (control.keyId > 0) {
        chooseKeyColour(control.keyId);
        return;
    }
    switch (control.id) {
    case kSetAll:
        setAllColours();
        break;
    case kDefault:
        working_.fill(LightArea{});
        update();
        break;
    case kOk:
        profile_.lightAreas = working_;
        accept();
        break;
    case kProgram:
        programKeyboard();
        break;
    case kClose:
    case kCancel:
        reject();
        break;
    default:
        break;
    }
}

void CTarnDialogBkLightSettings::chooseKeyColour(int keyId) {
    LightArea& light = working_[static_cast<std::size_t>(keyId)];
    const std::optional<QColor> chosen = dialogs_.chooseColor(this, toColor(light));
    // Confirming the colour the key already has is no change: no repaint.
    if (!chosen || toLight(*chosen) == light)
        return;
    light = toLight(*chosen);
    update();
}

void CTarnDialogBkLightSettings::setAllColours() {
    const std::optional<QColor> chosen = dialogs_.chooseColor(this, Qt::black);
    if (!chosen)
        return;
    working_.fill(toLight(*chosen));
    update();
}

void CTarnDialogBkLightSettings::programKeyboard() {
    profile_.lightAreas = working_;
    // Nothing is sent unless what the keyboard held is kept.
    KeyboardBackup backup;
    int result = CTarnDialogProgress::keepKeyboardContents(profile_, dialogs_, this, backup, waits_);
    int job = DeviceJob::ReadBackup;
    int differences = 0;
    if (result == CTarnDialogProgress::Succeeded) {
        CTarnDialogProgress progress(profile_, dialogs_, kLightJob, this);
        progress.setWaits(waits_);
        result = progress.exec();
        job = kLightJob;
        differences = progress.differences();
    }
    if (result == CTarnDialogProgress::Succeeded) {
        dialogs_.messageBox(this, L"OK!", SystemDialogs::Buttons::Ok, SystemDialogs::Icon::Information);
    } else if (result != CTarnDialogProgress::Cancelled) {
        const std::wstring text = CTarnDialogProgress::failureText(profile_, result, job, differences);
        if (!text.empty())
            dialogs_.messageBox(this, text, SystemDialogs::Buttons::Ok, SystemDialogs::Icon::Exclamation);
    }
    // The colours are the profile's now, whatever the keyboard made of them.
    accept();
}

void CTarnDialogBkLightSettings::paintWindow(QPainter& painter) {
    paintControls(painter);
    for (const SkinControl& control : controls()) {
        if (!control.isLive() || control.keyId <= 0)
            continue;
        const QColor color = toColor(working_[static_cast<std::size_t>(control.keyId)]);
        const layout::Rect& r = control.rect;
        constexpr int w = kFrameWidth;
        // Left and right bars cover the corners; top and bottom span the key.
        painter.fillRect(r.left - w, r.top - w, w, r.height() + 2 * w, color);
        painter.fillRect(r.right, r.top - w, w, r.height() + 2 * w, color);
        painter.fillRect(r.left, r.top - w, r.width(), w, color);
        painter.fillRect(r.left, r.bottom, r.width(), w, color);
    }
}

void CTarnDialogBkLightSettings::keyPressEvent(QKeyEvent* event) {
    // Enter and Esc end the window the standard way; neither keeps the
    // working colours (Esc is QDialog's reject already).
    if ((event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier
        && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        accept();
        return;
    }
    CSkinDialog::keyPressEvent(event);
}
