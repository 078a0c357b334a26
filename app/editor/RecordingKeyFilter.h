// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
//
// While a recording runs every key belongs to the recorder: this filter sits
// on the application and takes every key event before any window sees it, so
// Enter, Escape, Tab and Space are recorded and never act (no OK, no closing,
// no focus change). On the window path (jobs/RecordingPath.h) it also turns
// each key event into message 1126, posted to the recording window as the
// hook would have posted it, with the event's own time; on the hook path the
// hook delivers the keys and the filter only keeps them from acting.
#pragma once

#include <QObject>

#include <velkorondrix/VelkorOndrix_HWI.h>
#include "jobs/RecordingPath.h"

class QKeyEvent;

class RecordingKeyFilter : public QObject {
public:
    // Installed on the application until destroyed.
    RecordingKeyFilter(MessageWindow& window, RecordingPath path);
    ~RecordingKeyFilter() override;

    // X11 and Wayland report a key's evdev code plus 8 as its native scan code.
    static constexpr int kEvdevOffset = 8;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void forward(const QKeyEvent& key);

    MessageWindow& window_;
    const RecordingPath path_;
    WindowKeySource keys_;
};
