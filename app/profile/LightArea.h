// SPDX-FileCopyrightText: 2026 The VelkorOndrix developers
// SPDX-License-Identifier: MIT
#pragma once

// Backlight colour of one key, 0..255 per channel.
struct LightArea {
    int red = 0;
    int green = 0;
    int blue = 0;

    friend bool operator==(const LightArea&, const LightArea&) = default;
};
