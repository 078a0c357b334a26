// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
// Which Windows virtual-key code, scan code and extended flag the system's
// low-level hook would report for a physical key, looked up by its Linux
// input (evdev) code. X servers using the evdev driver number keys as
// evdev code + 8.
#pragma once

#include <cstdint>

struct EvdevKey {
    std::uint8_t vk = 0;        // 0: the key has no virtual-key code
    std::uint16_t scanCode = 0;  // set-1 make code without the E0 prefix
    bool extended = false;       // the E0-prefixed keys
};

class EvdevKeyMap {
public:
    static constexpr int kCodeCount = 256;

    // The keypad digits and point follow NumLock as on Windows: with it off
    // they report the navigation keys (not extended).
    static EvdevKey lookup(int evdevCode, bool numLockOn);
};
