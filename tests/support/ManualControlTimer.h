// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// A ControlTimer on a clock the test moves by hand: advance(ms) fires every
// timeout that falls due, in order, as the real timer would.
#pragma once

#include "shell/ControlTimer.h"

class ManualControlTimer : public ControlTimer {
public:
    void start(int intervalMs, bool repeating, std::function<void()> onTimeout) override;
    void stop() override;
    bool isActive() const override { return active_; }

    void advance(int ms);
    int now() const { return now_; }
    int interval() const { return interval_; }
    bool repeating() const { return repeating_; }

private:
    int now_ = 0;
    int due_ = 0;
    int interval_ = 0;
    bool repeating_ = false;
    bool active_ = false;
    std::function<void()> onTimeout_;
};
