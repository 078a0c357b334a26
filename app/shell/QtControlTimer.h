// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// ControlTimer on a QTimer.
#pragma once

#include <QTimer>

#include "shell/ControlTimer.h"

class QtControlTimer : public ControlTimer {
public:
    QtControlTimer();
    void start(int intervalMs, bool repeating, std::function<void()> onTimeout) override;
    void stop() override;
    bool isActive() const override;

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
};
