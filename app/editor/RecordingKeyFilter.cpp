// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "editor/RecordingKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>

namespace {

// The keypad's digits and point report themselves as digits only with
// NumLock on; the platforms disagree on how they carry the lock itself.
bool numLockOn(const QKeyEvent& key) {
    const int k = key.key();
    return (k >= Qt::Key_0 && k <= Qt::Key_9) || k == Qt::Key_Period || k == Qt::Key_Comma;
}

}  // namespace

RecordingKeyFilter::RecordingKeyFilter(MessageWindow& window, RecordingPath path) : window_(window), path_(path) {
    QCoreApplication::instance()->installEventFilter(this);
}

RecordingKeyFilter::~RecordingKeyFilter() {
    if (QCoreApplication* application = QCoreApplication::instance())
        application->removeEventFilter(this);
}

bool RecordingKeyFilter::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
        if (path_ == RecordingPath::Window)
            forward(*static_cast<QKeyEvent*>(event));
        [[fallthrough]];
    case QEvent::ShortcutOverride:  // accepted: no shortcut fires either
        event->accept();
        return true;
    default:
        return false;
    }
}

void RecordingKeyFilter::forward(const QKeyEvent& key) {
    const bool pressed = key.type() == QEvent::KeyPress;
    // A held key repeats as presses, the way the hook reports it.
    if (!pressed && key.isAutoRepeat())
        return;
    const int evdevCode = static_cast<int>(key.nativeScanCode()) - kEvdevOffset;
    if (evdevCode <= 0)
        return;  // a synthesised event names no physical key
    keys_.post(window_, evdevCode, pressed, numLockOn(key), static_cast<std::uint32_t>(key.timestamp()));
}
