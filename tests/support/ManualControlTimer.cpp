// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#include "support/ManualControlTimer.h"

void ManualControlTimer::start(int intervalMs, bool repeating, std::function<void()> onTimeout) {
    interval_ = intervalMs;
    repeating_ = repeating;
    onTimeout_ = std::move(onTimeout);
    due_ = now_ + intervalMs;
    active_ = true;
}

void ManualControlTimer::stop() {
    active_ = false;
}

void ManualControlTimer::advance(int ms) {
    const int end = now_ + ms;
    while (active_ && due_ <= end) {
        now_ = due_;
        if (repeating_)
            due_ += interval_ > 0 ? interval_ : 1;
        else
            active_ = false;
        // Copied: the handler may restart the timer with another one.
        const auto handler = onTimeout_;
        if (handler)
            handler();
    }
    now_ = end;
}
