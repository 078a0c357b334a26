// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "shell/QtControlTimer.h"

QtControlTimer::QtControlTimer() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (timer_.isSingleShot())
            timer_.stop();
        // Copied: the handler may restart the timer with a new callback.
        const auto handler = onTimeout_;
        if (handler)
            handler();
    });
}

void QtControlTimer::start(int intervalMs, bool repeating, std::function<void()> onTimeout) {
    onTimeout_ = std::move(onTimeout);
    timer_.setSingleShot(!repeating);
    timer_.start(intervalMs);
}

void QtControlTimer::stop() {
    timer_.stop();
}

bool QtControlTimer::isActive() const {
    return timer_.isActive();
}

std::unique_ptr<ControlTimer> ControlTimer::createQtTimer() {
    return std::make_unique<QtControlTimer>();
}
