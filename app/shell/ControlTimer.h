// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// The one timer a skinned control runs at a time (the scroll bar's press
// delay and repeat). An interface so tests can drive time by hand.
#pragma once

#include <functional>
#include <memory>

class ControlTimer {
public:
    virtual ~ControlTimer() = default;

    // (Re)starts the timer; a running one is replaced. onTimeout runs on the
    // GUI thread after intervalMs, then every intervalMs while repeating.
    virtual void start(int intervalMs, bool repeating, std::function<void()> onTimeout) = 0;
    virtual void stop() = 0;
    virtual bool isActive() const = 0;

    // The real timer, on the Qt event loop.
    static std::unique_ptr<ControlTimer> createQtTimer();
};
